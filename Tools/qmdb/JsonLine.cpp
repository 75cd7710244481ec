// Recursive descent over one flat object; the parser never reads past the
// end of the line and bounds every number.
#include "JsonLine.h"

#include "CodePage.h"

#include <cstdio>

namespace {

class Parser {
 public:
  explicit Parser(const std::string& text) : m_text(text) {}

  bool ParseObject(JsonMembers& members, std::string& error) {
    SkipSpace();
    if (!Take('{')) return Fail(error, "expected '{'");
    SkipSpace();
    if (Take('}')) return AtEnd(error);
    for (;;) {
      SkipSpace();
      std::string name;
      if (!ParseString(name, error)) return false;
      for (const auto& member : members) {
        if (member.first == name) return Fail(error, "duplicate name \"" + name + "\"");
      }
      SkipSpace();
      if (!Take(':')) return Fail(error, "expected ':'");
      SkipSpace();
      JsonValue value;
      if (!ParseValue(value, error)) return false;
      members.emplace_back(std::move(name), std::move(value));
      SkipSpace();
      if (Take('}')) return AtEnd(error);
      if (!Take(',')) return Fail(error, "expected ',' or '}'");
    }
  }

 private:
  bool Fail(std::string& error, const std::string& reason) {
    error = reason + " at column " + std::to_string(m_pos + 1);
    return false;
  }

  bool AtEnd(std::string& error) {
    SkipSpace();
    return m_pos == m_text.size() || Fail(error, "text after the object");
  }

  void SkipSpace() {
    while (m_pos < m_text.size() &&
           (m_text[m_pos] == ' ' || m_text[m_pos] == '\t' || m_text[m_pos] == '\r' || m_text[m_pos] == '\n'))
      ++m_pos;
  }

  bool Take(char c) {
    if (m_pos < m_text.size() && m_text[m_pos] == c) {
      ++m_pos;
      return true;
    }
    return false;
  }

  bool TakeWord(const char* word) {
    std::string w(word);
    if (m_text.compare(m_pos, w.size(), w) != 0) return false;
    m_pos += w.size();
    return true;
  }

  bool ParseValue(JsonValue& value, std::string& error) {
    if (m_pos >= m_text.size()) return Fail(error, "missing value");
    char c = m_text[m_pos];
    if (c == '"') {
      value.type = JsonValue::Type::String;
      return ParseString(value.text, error);
    }
    if (c == '-' || (c >= '0' && c <= '9')) {
      value.type = JsonValue::Type::Integer;
      return ParseInteger(value.integer, error);
    }
    if (TakeWord("true")) {
      value.type = JsonValue::Type::Boolean;
      value.boolean = true;
      return true;
    }
    if (TakeWord("false")) {
      value.type = JsonValue::Type::Boolean;
      return true;
    }
    if (TakeWord("null")) return true;
    if (c == '{' || c == '[') return Fail(error, "nested values are not supported");
    return Fail(error, "invalid value");
  }

  bool ParseInteger(std::int64_t& value, std::string& error) {
    bool negative = Take('-');
    std::size_t start = m_pos;
    value = 0;
    while (m_pos < m_text.size() && m_text[m_pos] >= '0' && m_text[m_pos] <= '9') {
      if (value > (std::int64_t{1} << 53)) return Fail(error, "number out of range");
      value = value * 10 + (m_text[m_pos] - '0');
      ++m_pos;
    }
    std::size_t digits = m_pos - start;
    if (digits == 0) return Fail(error, "invalid number");
    if (digits > 1 && m_text[start] == '0') return Fail(error, "leading zero in number");
    if (m_pos < m_text.size() && (m_text[m_pos] == '.' || m_text[m_pos] == 'e' || m_text[m_pos] == 'E'))
      return Fail(error, "only integers are supported");
    if (negative) value = -value;
    return true;
  }

  bool ParseHex4(std::uint32_t& code, std::string& error) {
    if (m_text.size() - m_pos < 4) return Fail(error, "short \\u escape");
    code = 0;
    for (int i = 0; i < 4; ++i) {
      char c = m_text[m_pos++];
      code <<= 4;
      if (c >= '0' && c <= '9')
        code |= static_cast<std::uint32_t>(c - '0');
      else if (c >= 'a' && c <= 'f')
        code |= static_cast<std::uint32_t>(c - 'a' + 10);
      else if (c >= 'A' && c <= 'F')
        code |= static_cast<std::uint32_t>(c - 'A' + 10);
      else
        return Fail(error, "bad \\u escape");
    }
    return true;
  }

  bool ParseString(std::string& out, std::string& error) {
    if (!Take('"')) return Fail(error, "expected a string");
    out.clear();
    for (;;) {
      if (m_pos >= m_text.size()) return Fail(error, "unterminated string");
      unsigned char c = static_cast<unsigned char>(m_text[m_pos++]);
      if (c == '"') return true;
      if (c < 0x20) return Fail(error, "control character in string");
      if (c != '\\') {
        out += static_cast<char>(c);
        continue;
      }
      if (m_pos >= m_text.size()) return Fail(error, "unterminated escape");
      char e = m_text[m_pos++];
      switch (e) {
        case '"':
          out += '"';
          break;
        case '\\':
          out += '\\';
          break;
        case '/':
          out += '/';
          break;
        case 'b':
          out += '\b';
          break;
        case 'f':
          out += '\f';
          break;
        case 'n':
          out += '\n';
          break;
        case 'r':
          out += '\r';
          break;
        case 't':
          out += '\t';
          break;
        case 'u': {
          std::uint32_t code = 0;
          if (!ParseHex4(code, error)) return false;
          if (code >= 0xDC00 && code <= 0xDFFF) return Fail(error, "lone low surrogate");
          if (code >= 0xD800 && code <= 0xDBFF) {
            std::uint32_t low = 0;
            if (!Take('\\') || !Take('u') || !ParseHex4(low, error) || low < 0xDC00 || low > 0xDFFF)
              return Fail(error, "lone high surrogate");
            code = 0x10000 + ((code - 0xD800) << 10) + (low - 0xDC00);
          }
          AppendUtf8(out, code);
          break;
        }
        default:
          return Fail(error, "bad escape");
      }
    }
  }

  const std::string& m_text;
  std::size_t m_pos = 0;
};

}  // namespace

bool ParseJsonObject(const std::string& line, JsonMembers& members, std::string& error) {
  members.clear();
  Parser parser(line);
  return parser.ParseObject(members, error);
}

std::string JsonQuote(const std::string& utf8) {
  std::string out = "\"";
  for (char ch : utf8) {
    unsigned char c = static_cast<unsigned char>(ch);
    switch (c) {
      case '"':
        out += "\\\"";
        break;
      case '\\':
        out += "\\\\";
        break;
      case '\n':
        out += "\\n";
        break;
      case '\r':
        out += "\\r";
        break;
      case '\t':
        out += "\\t";
        break;
      default:
        if (c < 0x20) {
          char escape[8];
          std::snprintf(escape, sizeof escape, "\\u%04x", c);
          out += escape;
        } else {
          out += ch;
        }
    }
  }
  return out + "\"";
}

void JsonObjectWriter::AddName(const std::string& name) {
  if (m_text.size() > 1) m_text += ", ";
  m_text += JsonQuote(name) + ": ";
}

void JsonObjectWriter::AddString(const std::string& name, const std::string& utf8) {
  AddName(name);
  m_text += JsonQuote(utf8);
}

void JsonObjectWriter::AddInteger(const std::string& name, std::int64_t value) {
  AddName(name);
  m_text += std::to_string(value);
}

void JsonObjectWriter::AddBoolean(const std::string& name, bool value) {
  AddName(name);
  m_text += value ? "true" : "false";
}

void JsonObjectWriter::AddNull(const std::string& name) {
  AddName(name);
  m_text += "null";
}
