// One pass over the tokens with a small fixed stack of group states: whether
// the group's text is skipped and how many fallback characters follow \uN.
#include "Search/RtfPlainText.h"

#include <cstring>

namespace {

struct Word {
  const char* text;
  std::size_t length;
};

template <std::size_t N>
constexpr Word W(const char (&text)[N]) {
  return {text, N - 1};
}

// Destinations whose groups hold no text of the note.
constexpr Word kSkippedDestinations[] = {
    W("fonttbl"),  W("colortbl"),  W("stylesheet"), W("info"),      W("pict"),       W("object"),
    W("header"),   W("footer"),    W("headerl"),    W("headerr"),   W("headerf"),    W("footerl"),
    W("footerr"),  W("footerf"),   W("listtable"),  W("listoverridetable"), W("rsidtbl"), W("generator"),
    W("xmlnstbl"), W("themedata"), W("datastore"),  W("latentstyles"), W("filetbl"), W("revtbl"),
    W("fldinst"),  W("pgdsctbl"),  W("colorschememapping"), W("private"), W("nonshppict"), W("bkmkstart"),
    W("bkmkend"),
};

constexpr Word kLineEnds[] = {W("par"), W("line"), W("sect"), W("page"), W("row")};
constexpr Word kBlanks[] = {W("tab"), W("cell"), W("emspace"), W("enspace"), W("qmspace")};

bool WordIs(const RtfToken& token, const Word& word) {
  return word.length == token.length && std::memcmp(token.text, word.text, token.length) == 0;
}

template <std::size_t N>
bool WordIn(const RtfToken& token, const Word (&words)[N]) {
  for (const Word& word : words) {
    if (WordIs(token, word)) return true;
  }
  return false;
}

struct GroupState {
  bool skipped = false;
  int fallbackLength = 1;  // \ucN: characters after \uN that stand in for it
};

class PlainTextReader {
 public:
  PlainTextReader(const SearchCodePage& codePage, std::string& text) : m_codePage(codePage), m_text(text) {}

  void Read(const RtfToken& token) {
    GroupState& group = m_groups[m_depth];
    const bool first = m_groupStart;
    m_groupStart = false;
    switch (token.kind) {
      case RtfTokenKind::GroupOpen:
        if (m_depth + 1 < kDepthLimit) {
          m_groups[m_depth + 1] = group;
          ++m_depth;
        }
        m_groupStart = true;
        m_pendingFallback = 0;
        return;
      case RtfTokenKind::GroupClose:
        if (m_depth > 0) --m_depth;
        m_pendingFallback = 0;
        return;
      case RtfTokenKind::ControlSymbol:
        if (first && token.length == 1 && token.text[0] == '*') group.skipped = true;
        if (token.length == 1 && token.text[0] == '~') Append(' ');
        DropFallback(1);
        return;
      case RtfTokenKind::ControlWord:
        OnWord(token, group, first);
        return;
      case RtfTokenKind::Text:
        OnText(token.text, token.length);
        return;
      case RtfTokenKind::HexByte:
        if (DropFallback(1)) return;
        Append(static_cast<char>(token.parameter & 0xFF));
        return;
      case RtfTokenKind::Unicode: {
        // Negative N writes code points above 32767 as signed 16-bit values.
        std::int64_t code = token.parameter < 0 ? token.parameter + 65536 : token.parameter;
        const int byte = code >= 0 && code <= 0xFFFF ? m_codePage.ByteOf(static_cast<std::uint32_t>(code)) : -1;
        Append(byte >= 0 ? static_cast<char>(byte) : '?');
        m_pendingFallback = group.fallbackLength;
        return;
      }
      case RtfTokenKind::Binary:
        return;
    }
  }

 private:
  static constexpr int kDepthLimit = kRtfMaxDepth + 1;

  void OnWord(const RtfToken& token, GroupState& group, bool first) {
    if (first && WordIn(token, kSkippedDestinations)) {
      group.skipped = true;
      return;
    }
    if (WordIs(token, W("uc"))) {
      group.fallbackLength = token.hasParameter && token.parameter >= 0 && token.parameter < 16
                                 ? static_cast<int>(token.parameter)
                                 : 1;
      return;
    }
    if (WordIn(token, kLineEnds)) {
      Append('\n');
    } else if (WordIn(token, kBlanks)) {
      Append(' ');
    }
  }

  void OnText(const char* text, std::size_t length) {
    if (m_groups[m_depth].skipped) return;
    const std::size_t dropped = m_pendingFallback < static_cast<int>(length) ? m_pendingFallback : length;
    m_pendingFallback -= static_cast<int>(dropped);
    m_text.append(text + dropped, length - dropped);
  }

  // True when a fallback character was due and this one was dropped.
  bool DropFallback(int count) {
    if (m_pendingFallback == 0) return false;
    m_pendingFallback = m_pendingFallback > count ? m_pendingFallback - count : 0;
    return true;
  }

  void Append(char byte) {
    if (!m_groups[m_depth].skipped) m_text.push_back(byte);
  }

  const SearchCodePage& m_codePage;
  std::string& m_text;
  GroupState m_groups[kDepthLimit];
  int m_depth = 0;
  bool m_groupStart = false;
  int m_pendingFallback = 0;
};

}  // namespace

RtfStatus RtfToPlainText(const char* data, std::size_t size, const SearchCodePage& codePage, std::string& text) {
  text.clear();
  text.reserve(size / 2);
  PlainTextReader reader(codePage, text);
  RtfTokenizer tokens(data, size);
  for (RtfToken token; tokens.Next(token);) reader.Read(token);
  return tokens.Status();
}
