// The plain text of rich-text bodies: what a reader sees and nothing of the
// formatting, escapes decoded; hostile bodies end within their limits, fast.
#include <gtest/gtest.h>

#include <chrono>
#include <string>

#include "RtfPlainTextFuzzTarget.h"
#include "SearchTestSupport.h"
#include "Search/RtfPlainText.h"
#include "Search/RtfWordFilter.h"
#include "Search/SearchQuery.h"
#include "Support/CorpusInputs.h"

namespace qmsearch {
namespace {

std::string PlainText(const std::string& rtf, const SearchCodePage& codePage = Cp1252()) {
  std::string text;
  EXPECT_EQ(RtfToPlainText(rtf.data(), rtf.size(), codePage, text), RtfStatus::Ok) << rtf;
  return text;
}

TEST(RtfPlainTextTest, KeepsTheTextAndDropsTablesDestinationsPicturesAndBinaryData) {
  // As the rich edit writes a note, with everything that is not the note's text.
  const std::string note =
      "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fnil\\fcharset0 Tahoma;}{\\f1 Zebrafont;}}\r\n"
      "{\\colortbl ;\\red255\\green0\\blue0;}\r\n{\\stylesheet{\\s1 Zebra style;}}"
      "{\\info{\\title zebra title}{\\author zebra}}"
      "{\\*\\generator Wine Riched20 2.0;}\\viewkind4\\uc1\\pard\\f0\\fs20 Hello {\\b bold}\\par\r\n"
      "second\\tab line{\\pict\\wmetafile8 0123zebra}{\\*\\shppict zebra}"
      "{\\object\\objdata zebra}\\bin5 zebra end\\par\r\n}";
  EXPECT_EQ(PlainText(note), "Hello bold\nsecond line end\n");
}

TEST(RtfPlainTextTest, DecodesHexBytesAndUnicodeWithItsFallbackCharacters) {
  EXPECT_EQ(PlainText("{\\rtf1 caf\\'e9 na\\'EFve}"), "caf\xe9 na\xefve");
  // \u with one fallback character (the default), then \uc2, then \uc0.
  EXPECT_EQ(PlainText("{\\rtf1 \\u8364?5 {\\uc2\\u352\\'8a\\'8aX}\\uc0\\u269 c}"), "\x80" "5 \x8aX?c");
  // Negative N for characters above 32767, and one the code page lacks.
  EXPECT_EQ(PlainText("{\\rtf1 a\\u-3? b\\u20013?c}"), "a? b?c");
  // Cyrillic in code page 1251.
  EXPECT_EQ(PlainText("{\\rtf1 \\u1046?\\u1078?}", Cp1251()), "\xc6\xe6");
  // Escaped braces and backslashes are text.
  EXPECT_EQ(PlainText("{\\rtf1 a\\{b\\}c\\\\d}"), "a{b}c\\d");
}

TEST(RtfPlainTextTest, HostileBodiesEndAtTheirLimitInBoundedTime) {
  const auto started = std::chrono::steady_clock::now();
  std::string text;
  const std::string deep = "{\\rtf1 " + std::string(100000, '{') + "x" + std::string(100000, '}');
  EXPECT_EQ(RtfToPlainText(deep.data(), deep.size(), Cp1252(), text), RtfStatus::TooDeep);
  const std::string longWord = "{\\rtf1 \\" + std::string(1 << 20, 'a') + " x}";
  EXPECT_EQ(RtfToPlainText(longWord.data(), longWord.size(), Cp1252(), text), RtfStatus::WordTooLong);
  const std::string hugeBinary = "{\\rtf1 \\bin4000000000 abc}";
  EXPECT_EQ(RtfToPlainText(hugeBinary.data(), hugeBinary.size(), Cp1252(), text), RtfStatus::BinaryPastEnd);
  const std::string longParameter = "{\\rtf1 \\fs99999999999999 x}";
  EXPECT_EQ(RtfToPlainText(longParameter.data(), longParameter.size(), Cp1252(), text),
            RtfStatus::ParameterTooLong);
  // Cut short anywhere: whatever came before is text, never a crash.
  const std::string note = "{\\rtf1{\\fonttbl{\\f0 Tahoma;}}\\pard zebra \\'e9\\u8364? end\\par}";
  for (std::size_t cut = 0; cut < note.size(); ++cut) {
    RtfToPlainText(note.data(), cut, Cp1252(), text);
    EXPECT_LE(text.size(), cut);
  }
  // A megabyte of ordinary text and controls takes well under a second.
  std::string big = "{\\rtf1 ";
  while (big.size() < (1u << 20)) big += "Lorem {\\b ipsum} dolor\\par ";
  big += "}";
  EXPECT_EQ(PlainText(big).size() > big.size() / 2, true);
  EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(5));
}

bool MayContain(const std::string& rtf, const std::string& word) {
  return RtfWordFilter(word, Cp1252()).MayContain(rtf.data(), rtf.size());
}

bool TextHolds(const std::string& rtf, const std::string& word) {
  std::string folded;
  const std::string text = PlainText(rtf);
  FoldText(text.data(), text.size(), Cp1252(), folded);
  return folded.find(word) != std::string::npos;
}

TEST(RtfPlainTextTest, TheWordFilterTurnsAwayOnlyBodiesThatCannotHoldTheWord) {
  // The word in the text in every way RTF can write it: the filter lets each through.
  const char* const holding[] = {
      "{\\rtf1 the QUAGGA}",                 // in one run, any case
      "{\\rtf1 qua{\\b gga}}",               // split by a group
      "{\\rtf1 qu\\i agga\\i0}",             // split by a control word
      "{\\rtf1 qua\r\ngga}",                 // split by a line end
      "{\\rtf1 qu\\'61gga}",                 // a letter as a hex escape
      "{\\rtf1 \\'51uagga}",                 // the first letter escaped
      "{\\rtf1 \\u113?uagga}",               // the first letter as \uN
      "{\\rtf1 {\\*\\x skipped}quagga}",     // after a skipped destination
      "{\\rtf1 qua\\-gga}",                  // an optional hyphen inside
  };
  for (const char* rtf : holding) {
    ASSERT_TRUE(TextHolds(rtf, "quagga")) << rtf;
    EXPECT_TRUE(MayContain(rtf, "quagga")) << rtf;
  }
  // Bodies whose text cannot hold it are turned away, escapes of other
  // letters and formatting notwithstanding.
  const char* const without[] = {
      "{\\rtf1 the zebra}",
      "{\\rtf1 r\\'e9sum\\'e9 {\\b bold}\\par garden\\tab quag ga}",
      "{\\rtf1 \\u8364? \\ul under\\ulnone}",
      "{\\rtf1\\qc \\quagga0 stripes, a control word's letters}",
  };
  for (const char* rtf : without) {
    ASSERT_FALSE(TextHolds(rtf, "quagga")) << rtf;
    EXPECT_FALSE(MayContain(rtf, "quagga")) << rtf;
  }
  // An escaped backslash is text: the letter after it is no control word.
  EXPECT_TRUE(MayContain("{\\rtf1 a\\\\uagga}", "uagga"));
  EXPECT_TRUE(MayContain("{\\rtf1 \\bin2 \\\\\\'71uagga}", "quagga"));
  // A word with a character that syntax or a lost character makes is always read.
  EXPECT_TRUE(MayContain("{\\rtf1 nothing}", "a?b"));
  EXPECT_TRUE(MayContain("{\\rtf1 nothing}", "{x"));
}

// Bodies put together from pieces that write a word's letters in every way
// RTF can, and pieces that only look like them (\qc, an escaped backslash
// before u, \'e9), at every distance from one another: whatever the reader
// makes of a body, the filter lets through every body whose text holds the
// word, and turns away most that do not.
TEST(RtfPlainTextTest, TheWordFilterAgreesWithTheReaderOverLongBodies) {
  const char* const pieces[] = {"quagga", "qua",     "gga",       "Q",     "u",         "agga",  "\\'71",
                                "\\'51", "\\'e9", "\\u113?", "\\qc ", "\\\\",     "\\\\u", "{",
                                "}",      "\\b ",   "\\par\r\n", "x",     "r\\'e9sum\\'e9 ", "  ",  "\\ul ",
                                "\\uc1 ", "\\'7",  "\\bin2 qu", "garden meeting letter ", "\\'51uagga",
                                "qu\\'61gga", "\\u113?uagga", "\\'71\\'75agga"};
  const char* const words[] = {"quagga", "uagga", "agga"};
  unsigned state = 2463534242u;
  auto next = [&state] {
    state ^= state << 13;
    state ^= state >> 17;
    state ^= state << 5;
    return state;
  };
  int holding = 0, turnedAway = 0, without = 0;
  for (int body = 0; body < 4000; ++body) {
    std::string rtf = "{\\rtf1 ";
    const unsigned count = 1 + next() % 40;
    for (unsigned i = 0; i < count; ++i) {
      // Mostly filler, so that the pieces fall at every place of a 16-byte step.
      const unsigned pick = next() % 64;
      rtf += pick < sizeof pieces / sizeof pieces[0] ? pieces[pick] : std::string(pick % 7, 'z');
    }
    rtf += "}";
    std::string text, folded;
    if (RtfToPlainText(rtf.data(), rtf.size(), Cp1252(), text) != RtfStatus::Ok) continue;
    FoldText(text.data(), text.size(), Cp1252(), folded);
    for (const char* word : words) {
      const bool may = MayContain(rtf, word);
      if (folded.find(word) != std::string::npos) {
        ++holding;
        ASSERT_TRUE(may) << word << " in " << rtf;
      } else {
        ++without;
        if (!may) ++turnedAway;
      }
    }
  }
  EXPECT_GT(holding, 1000);
  EXPECT_GT(turnedAway, without / 3) << without;
}

TEST(RtfPlainTextTest, FuzzSeedsAndFormerFindingsReplay) {
  for (const char* folder : {QM_RTF_FUZZ_CORPUS, QM_SEARCH_FUZZ_REGRESSIONS}) {
    const auto inputs = qmtest::CorpusInputs(folder);
    ASSERT_FALSE(inputs.empty()) << folder;
    for (const auto& input : inputs) {
      const std::vector<std::uint8_t> bytes = qmtest::InputBytes(input);
      QmFuzzRtfPlainText(bytes.data(), bytes.size());
    }
  }
}

}  // namespace
}  // namespace qmsearch
