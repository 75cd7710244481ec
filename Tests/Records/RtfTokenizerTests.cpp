// The RTF tokenizer: the tokens of a body such as the rich edit writes, each
// limit at its edge and one past it, bodies cut anywhere, and a replay of the
// fuzz seeds.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Records/RtfTokenizer.h"
#include "RtfFuzzTarget.h"
#include "Support/CorpusInputs.h"

namespace {

// One line per token: kind letter, then what it carries.
std::string Describe(const std::string& body, RtfStatus* status = nullptr) {
  RtfTokenizer tokens(body.data(), body.size());
  std::string out;
  for (RtfToken token; tokens.Next(token);) {
    const std::string text(token.text ? token.text : "", token.length);
    switch (token.kind) {
      case RtfTokenKind::GroupOpen: out += "{"; break;
      case RtfTokenKind::GroupClose: out += "}"; break;
      case RtfTokenKind::ControlWord:
        out += "w:" + text + (token.hasParameter ? "=" + std::to_string(token.parameter) : "");
        break;
      case RtfTokenKind::ControlSymbol: out += "s:" + text; break;
      case RtfTokenKind::Text: out += "t:" + text; break;
      case RtfTokenKind::HexByte: out += "x:" + std::to_string(token.parameter); break;
      case RtfTokenKind::Unicode: out += "u:" + std::to_string(token.parameter); break;
      case RtfTokenKind::Binary: out += "b:" + text; break;
    }
    out += "|";
  }
  if (status) *status = tokens.Status();
  return out;
}

std::string Repeat(const std::string& piece, std::size_t times) {
  std::string out;
  out.reserve(piece.size() * times);
  for (std::size_t i = 0; i < times; ++i) out += piece;
  return out;
}

TEST(RtfTokenizer, YieldsGroupsWordsTextEscapesUnicodeAndBinaryOfARichEditBody) {
  RtfStatus status = RtfStatus::TooDeep;
  const std::string tokens = Describe(
      "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\r\n\\pard\\fs-24 caf\\'e9\\'G1 \\u8364?\\u-4064?\\ul\\uc1"
      "\\\\\\{\\}\\~\\*\\bin3 {x}tail\\par\n}",
      &status);
  EXPECT_EQ(status, RtfStatus::Ok);
  EXPECT_EQ(tokens,
            "{|w:rtf=1|w:ansi|{|w:fonttbl|{|w:f=0|t:Arial;|}|}|w:pard|w:fs=-24|t:caf|x:233|s:'|t:G1 |"
            "u:8364|t:?|u:-4064|t:?|w:ul|w:uc=1|t:\\|t:{|t:}|s:~|s:*|b:{x}|t:tail|w:par|}|");
}

TEST(RtfTokenizer, StopsAtEachLimitOnlyOncePassed) {
  struct Case {
    std::string body;
    RtfStatus expected;
  };
  const std::string word32 = Repeat("a", 32);
  const std::vector<Case> cases = {
      {Repeat("{", 1000) + "x" + Repeat("}", 1000), RtfStatus::Ok},
      {Repeat("{", 1001), RtfStatus::TooDeep},
      {Repeat("{", 100000) + Repeat("}", 100000), RtfStatus::TooDeep},
      {Repeat("{}", 100000), RtfStatus::Ok},
      {"{\\" + word32 + " x}", RtfStatus::Ok},
      {"{\\" + word32 + "b x}", RtfStatus::WordTooLong},
      {"{\\" + Repeat("q", 1 << 20) + "}", RtfStatus::WordTooLong},
      {"{\\li9999999999 x}", RtfStatus::Ok},
      {"{\\li-9999999999 x}", RtfStatus::Ok},
      {"{\\li12345678901 x}", RtfStatus::ParameterTooLong},
      {"{\\bin4 abcd", RtfStatus::Ok},
      {"{\\bin5 abcd", RtfStatus::BinaryPastEnd},
      {"{\\bin-1 abcd}", RtfStatus::BinaryPastEnd},
      {"{\\bin9999999999 }", RtfStatus::BinaryPastEnd},
  };
  for (const Case& each : cases) {
    SCOPED_TRACE(each.body.substr(0, 40));
    std::size_t offset = 12345;
    EXPECT_EQ(CheckRtfBody(each.body.data(), each.body.size(), &offset), each.expected);
    if (each.expected == RtfStatus::TooDeep) {
      EXPECT_EQ(offset, 1000u);
    }
    if (each.expected == RtfStatus::WordTooLong || each.expected == RtfStatus::ParameterTooLong ||
        each.expected == RtfStatus::BinaryPastEnd) {
      EXPECT_EQ(offset, 1u);
    }
  }
  EXPECT_STREQ(RtfStatusText(RtfStatus::TooDeep), "groups nested more than 1000 deep");
}

TEST(RtfTokenizer, EveryCutOfABodyWalksWithinItsBytes) {
  // Cut after every byte (sanitizers catch a read past the cut), and as a
  // separate heap block each time so a read past the end is a real overflow.
  const std::string body =
      "{\\rtf1{\\pict\\bin6 \\'zz}}\\'4\\u-12\\fs24 text\\'e9\\{\\par\r\n}\\";
  for (std::size_t cut = 0; cut <= body.size(); ++cut) {
    std::vector<std::uint8_t> bytes(body.begin(), body.begin() + static_cast<std::ptrdiff_t>(cut));
    SCOPED_TRACE(cut);
    EXPECT_LE(QmFuzzRtfTokenizer(bytes.data(), bytes.size()), cut);
  }
  EXPECT_EQ(Describe("\\bin5 \\'zz}"), "b:\\'zz}|");
  EXPECT_EQ(CheckRtfBody(nullptr, 0), RtfStatus::Ok);
}

TEST(RtfTokenizer, ItsFuzzSeedsWalkCleanly) {
  int replayed = 0;
  for (const std::filesystem::path& input : qmtest::CorpusInputs(QM_RTF_FUZZ_CORPUS)) {
    const std::vector<std::uint8_t> bytes = qmtest::InputBytes(input);
    SCOPED_TRACE(input.string());
    EXPECT_GT(QmFuzzRtfTokenizer(bytes.data(), bytes.size()), 0u);
    EXPECT_EQ(CheckRtfBody(reinterpret_cast<const char*>(bytes.data()), bytes.size()), RtfStatus::Ok);
    ++replayed;
  }
  EXPECT_GE(replayed, 4);
}

}  // namespace
