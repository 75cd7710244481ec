// The reader is a small tag scanner, not an HTML parser: the format is a flat
// list of tags that browsers write the same way, and anything it does not
// understand is either skipped (unknown tags) or refused (broken structure),
// never guessed at.
#include "BookmarkFile.h"

#include <algorithm>
#include <cctype>

#include "CodePage.h"
#include "Records/ResourceType.h"

namespace {

std::string EscapeHtml(const std::string& text, bool attribute) {
  std::string out;
  out.reserve(text.size());
  for (char c : text) {
    switch (c) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '"': out += attribute ? "&quot;" : "\""; break;
      default: out += c;
    }
  }
  return out;
}

std::string UpperCase(std::string text) {
  for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return text;
}

bool IsSpace(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f';
}

// &amp; &lt; &gt; &quot; &apos; &nbsp; and numeric references; anything else
// stays as it is written.
std::string DecodeEntities(const std::string& text) {
  static const struct {
    const char* name;
    std::uint32_t code;
  } kNamed[] = {{"amp", '&'}, {"lt", '<'}, {"gt", '>'}, {"quot", '"'}, {"apos", '\''}, {"nbsp", 0xA0}};
  // The longest reference read ("&#x10FFFF;") is 10 characters: the search
  // for its ';' looks no further, or a run of '&' would cost quadratic time.
  constexpr std::size_t kLongestReference = 10;
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    std::size_t semicolon = std::string::npos;
    if (text[i] == '&') {
      const std::size_t stop = std::min(text.size(), i + kLongestReference + 1);
      for (std::size_t j = i + 1; j < stop && semicolon == std::string::npos; ++j) {
        if (text[j] == ';') semicolon = j;
      }
    }
    if (semicolon == std::string::npos) {
      out += text[i];
      continue;
    }
    const std::string name = text.substr(i + 1, semicolon - i - 1);
    std::uint32_t code = 0;
    if (name.size() > 1 && name[0] == '#') {
      const bool hex = name[1] == 'x' || name[1] == 'X';
      const std::string digits = name.substr(hex ? 2 : 1);
      const char* allowed = hex ? "0123456789abcdefABCDEF" : "0123456789";
      if (!digits.empty() && digits.size() <= 7 && digits.find_first_not_of(allowed) == std::string::npos)
        code = static_cast<std::uint32_t>(std::stoul(digits, nullptr, hex ? 16 : 10));
      if (code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) code = 0;
    } else {
      for (const auto& entity : kNamed) {
        if (name == entity.name) code = entity.code;
      }
    }
    if (code == 0) {
      out += text[i];
      continue;
    }
    AppendUtf8(out, code);
    i = semicolon;
  }
  return out;
}

// Whitespace runs become one space, none at either end, as a browser shows text.
std::string CollapseSpace(const std::string& text) {
  std::string out;
  bool pendingSpace = false;
  for (char c : text) {
    if (IsSpace(c)) {
      pendingSpace = !out.empty();
      continue;
    }
    if (pendingSpace) out += ' ';
    pendingSpace = false;
    out += c;
  }
  return out;
}

struct Tag {
  std::string name;  // upper-case, "/" in front for a closing tag
  std::vector<std::pair<std::string, std::string>> attributes;  // names upper-case, values decoded
};

class Scanner {
 public:
  explicit Scanner(const std::string& text) : m_text(text) {}

  bool AtEnd() const { return m_pos >= m_text.size(); }
  long Line() const { return m_line; }

  // Text up to the next tag (or the end), raw. A '<' that starts no tag
  // (not followed by a letter, '/' or '!') is text, as browsers take it:
  // "a < b" in a title must not swallow what follows.
  std::string TakeText() {
    std::size_t end = m_pos;
    for (;;) {
      end = m_text.find('<', end);
      if (end == std::string::npos || StartsTag(end)) break;
      ++end;
    }
    if (end == std::string::npos) end = m_text.size();
    std::string text = m_text.substr(m_pos, end - m_pos);
    Advance(end);
    return text;
  }

  // At '<': reads a tag, or skips a comment or declaration (tag.name empty).
  bool TakeTag(Tag& tag, std::string& error) {
    tag = Tag();
    const long line = m_line;
    if (m_text.compare(m_pos, 4, "<!--") == 0) {
      std::size_t end = m_text.find("-->", m_pos + 4);
      if (end == std::string::npos) return Fail(error, line, "unterminated comment");
      Advance(end + 3);
      return true;
    }
    std::size_t pos = m_pos + 1;
    std::size_t nameStart = pos;
    if (pos < m_text.size() && (m_text[pos] == '/' || m_text[pos] == '!')) ++pos;
    while (pos < m_text.size() && !IsSpace(m_text[pos]) && m_text[pos] != '>') ++pos;
    tag.name = UpperCase(m_text.substr(nameStart, pos - nameStart));
    for (;;) {
      while (pos < m_text.size() && IsSpace(m_text[pos])) ++pos;
      if (pos >= m_text.size()) return Fail(error, line, "unterminated tag <" + tag.name);
      if (m_text[pos] == '>') break;
      std::size_t attributeStart = pos;
      while (pos < m_text.size() && !IsSpace(m_text[pos]) && m_text[pos] != '=' && m_text[pos] != '>') ++pos;
      std::string name = UpperCase(m_text.substr(attributeStart, pos - attributeStart));
      std::string value;
      if (pos < m_text.size() && m_text[pos] == '=') {
        ++pos;
        if (pos < m_text.size() && (m_text[pos] == '"' || m_text[pos] == '\'')) {
          std::size_t close = m_text.find(m_text[pos], pos + 1);
          if (close == std::string::npos) return Fail(error, line, "unterminated attribute " + name);
          value = m_text.substr(pos + 1, close - pos - 1);
          pos = close + 1;
        } else {
          std::size_t valueStart = pos;
          while (pos < m_text.size() && !IsSpace(m_text[pos]) && m_text[pos] != '>') ++pos;
          value = m_text.substr(valueStart, pos - valueStart);
        }
      }
      if (name.empty()) {
        ++pos;  // a stray character such as '/' before '>'
        continue;
      }
      tag.attributes.emplace_back(name, DecodeEntities(value));
    }
    Advance(pos + 1);
    if (tag.name.compare(0, 1, "!") == 0) tag.name.clear();  // <!DOCTYPE ...> after the first
    return true;
  }

  // The text up to the closing tag of name (tags inside it are dropped).
  bool TakeTextUntil(const std::string& closing, std::string& text, std::string& error) {
    const long line = m_line;
    text.clear();
    while (!AtEnd()) {
      text += TakeText();
      if (AtEnd()) break;
      Tag tag;
      if (!TakeTag(tag, error)) return false;
      if (tag.name == closing) return true;
    }
    return Fail(error, line, "<" + closing.substr(1) + "> without <" + closing + ">");
  }

 private:
  bool StartsTag(std::size_t at) const {
    const char next = at + 1 < m_text.size() ? m_text[at + 1] : '\0';
    return std::isalpha(static_cast<unsigned char>(next)) || next == '/' || next == '!';
  }

  bool Fail(std::string& error, long line, const std::string& reason) {
    error = "line " + std::to_string(line) + ": " + reason;
    return false;
  }

  void Advance(std::size_t to) {
    for (; m_pos < to && m_pos < m_text.size(); ++m_pos) {
      if (m_text[m_pos] == '\n') ++m_line;
    }
  }

  const std::string& m_text;
  std::size_t m_pos = 0;
  long m_line = 1;
};

std::string Attribute(const Tag& tag, const char* name) {
  for (const auto& attribute : tag.attributes) {
    if (attribute.first == name) return attribute.second;
  }
  return std::string();
}

bool HasAttribute(const Tag& tag, const char* name) {
  for (const auto& attribute : tag.attributes) {
    if (attribute.first == name) return true;
  }
  return false;
}

}  // namespace

std::string WriteBookmarkFile(const std::vector<Bookmark>& bookmarks) {
  std::string out =
      "<!DOCTYPE NETSCAPE-Bookmark-file-1>\n"
      "<!-- This is an automatically generated file.\n"
      "     It will be read and overwritten.\n"
      "     DO NOT EDIT! -->\n"
      "<META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html; charset=UTF-8\">\n"
      "<TITLE>Bookmarks</TITLE>\n"
      "<H1>Bookmarks</H1>\n"
      "<DL><p>\n";
  for (std::int32_t type = 0; type < kResourceTypeCount; ++type) {
    const std::string folder = ResourceTypeName(type);
    bool opened = false;
    for (const Bookmark& bookmark : bookmarks) {
      if (ResourceTypeName(bookmark.resourceType) != folder) continue;
      if (!opened) {
        out += "    <DT><H3>" + EscapeHtml(folder, false) + "</H3>\n    <DL><p>\n";
        opened = true;
      }
      out += "        <DT><A HREF=\"" + EscapeHtml(bookmark.address, true) + "\">" +
             EscapeHtml(bookmark.title, false) + "</A>\n";
    }
    if (opened) out += "    </DL><p>\n";
  }
  out += "</DL><p>\n";
  return out;
}

bool ReadBookmarkFile(const std::string& text, std::vector<ImportedRecord>& bookmarks, std::string& error) {
  bookmarks.clear();
  if (!CheckUtf8Text(text, error)) return false;
  std::size_t start = text.compare(0, 3, "\xEF\xBB\xBF") == 0 ? 3 : 0;
  while (start < text.size() && IsSpace(text[start])) ++start;
  static const std::string kDoctype = "<!DOCTYPE NETSCAPE-BOOKMARK-FILE-1>";
  if (UpperCase(text.substr(start, kDoctype.size())) != kDoctype) {
    error = "not an HTML bookmarks file (it does not begin with <!DOCTYPE NETSCAPE-Bookmark-file-1>)";
    return false;
  }
  const std::string body = text.substr(start + kDoctype.size());
  Scanner scanner(body);
  std::vector<std::string> folders;  // one entry per open <DL>
  std::string pendingFolder;
  while (!scanner.AtEnd()) {
    scanner.TakeText();
    if (scanner.AtEnd()) break;
    const long line = scanner.Line();
    Tag tag;
    if (!scanner.TakeTag(tag, error)) return false;
    if (tag.name == "H3") {
      std::string name;
      if (!scanner.TakeTextUntil("/H3", name, error)) return false;
      pendingFolder = CollapseSpace(DecodeEntities(name));
    } else if (tag.name == "DL") {
      folders.push_back(pendingFolder);
      pendingFolder.clear();
    } else if (tag.name == "/DL") {
      if (folders.empty()) {
        error = "line " + std::to_string(line) + ": </DL> without <DL>";
        return false;
      }
      folders.pop_back();
    } else if (tag.name == "A") {
      if (!HasAttribute(tag, "HREF")) {
        error = "line " + std::to_string(line) + ": a bookmark (<A>) without HREF";
        return false;
      }
      std::string title;
      if (!scanner.TakeTextUntil("/A", title, error)) return false;
      ImportedRecord record;
      record.lineNumber = line;
      record.SetText("title", CollapseSpace(DecodeEntities(title)));
      record.SetText("address", Attribute(tag, "HREF"));
      const std::string folder = folders.empty() ? std::string() : folders.back();
      record.integers.emplace_back("resource_type", ResourceTypeOfName(folder));
      for (const char* extra : {"TAGS", "SHORTCUTURL"}) {
        if (!Attribute(tag, extra).empty())
          record.notes.push_back(std::string(extra) + " \"" + Attribute(tag, extra) + "\" not stored");
      }
      bookmarks.push_back(std::move(record));
    } else if (tag.name == "DD" && !bookmarks.empty() && bookmarks.back().lineNumber > 0) {
      const std::string description = CollapseSpace(DecodeEntities(scanner.TakeText()));
      if (!description.empty()) bookmarks.back().notes.push_back("description \"" + description + "\" not stored");
    }
  }
  if (!folders.empty()) {
    error = "the file ends inside a folder (a <DL> has no </DL>)";
    return false;
  }
  return true;
}
