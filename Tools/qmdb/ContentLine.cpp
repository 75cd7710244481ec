// Folding counts octets, as both standards do, and backs off to the start of
// a UTF-8 sequence so that parsers never see half a character on a line.
#include "ContentLine.h"

#include <cctype>

namespace {

constexpr std::size_t kMaxLineOctets = 75;

bool IsContinuationByte(char c) {
  return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

std::string UpperCase(std::string text) {
  for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return text;
}

// Splits one unfolded line into name, parameters and value. Parameter
// values may be quoted, and a quoted value may hold ':' and ';'.
bool SplitLine(const std::string& text, ContentLine& line) {
  std::size_t pos = 0;
  std::size_t nameEnd = text.find_first_of(";:");
  if (nameEnd == std::string::npos || nameEnd == 0) return false;
  std::string name = text.substr(0, nameEnd);
  std::size_t dot = name.rfind('.');
  if (dot != std::string::npos) name = name.substr(dot + 1);
  if (name.empty()) return false;
  line.name = UpperCase(name);
  pos = nameEnd;
  while (pos < text.size() && text[pos] == ';') {
    ++pos;
    std::size_t equals = text.find_first_of("=;:", pos);
    if (equals == std::string::npos) return false;
    std::string parameter = UpperCase(text.substr(pos, equals - pos));
    std::string value;
    pos = equals;
    if (text[pos] == '=') {
      ++pos;
      for (;;) {
        if (pos < text.size() && text[pos] == '"') {
          std::size_t close = text.find('"', pos + 1);
          if (close == std::string::npos) return false;
          value += text.substr(pos + 1, close - pos - 1);
          pos = close + 1;
        } else {
          std::size_t end = text.find_first_of(",;:", pos);
          if (end == std::string::npos) return false;
          value += text.substr(pos, end - pos);
          pos = end;
        }
        if (pos < text.size() && text[pos] == ',') {
          value += ',';
          ++pos;
          continue;
        }
        break;
      }
    }
    line.parameters.emplace_back(parameter, value);
  }
  if (pos >= text.size() || text[pos] != ':') return false;
  line.value = text.substr(pos + 1);
  return true;
}

// True for a line whose parameters say quoted-printable and that ends in
// the '=' of a soft line break.
bool EndsInSoftBreak(const std::string& line) {
  if (line.empty() || line.back() != '=') return false;
  const std::size_t colon = line.find(':');
  return colon != std::string::npos && colon + 1 < line.size() &&
         UpperCase(line.substr(0, colon)).find("QUOTED-PRINTABLE") != std::string::npos;
}

}  // namespace

std::string EscapeContentText(const std::string& utf8, int* dropped) {
  std::string out;
  out.reserve(utf8.size() + 8);
  for (std::size_t i = 0; i < utf8.size(); ++i) {
    const char c = utf8[i];
    switch (c) {
      case '\\': out += "\\\\"; break;
      case ',': out += "\\,"; break;
      case ';': out += "\\;"; break;
      case '\r':
        if (i + 1 < utf8.size() && utf8[i + 1] == '\n') ++i;
        out += "\\n";
        break;
      case '\n': out += "\\n"; break;
      default:
        if ((static_cast<unsigned char>(c) < 0x20 && c != '\t') || c == 0x7F) {
          if (dropped != nullptr) ++*dropped;
        } else {
          out += c;
        }
    }
  }
  return out;
}

void AppendContentLine(std::string& out, const std::string& name, const std::string& value) {
  const std::string line = name + ":" + value;
  std::size_t pos = 0;
  std::size_t room = kMaxLineOctets;  // the first line has no leading space
  while (line.size() - pos > room) {
    std::size_t cut = pos + room;
    while (cut > pos && IsContinuationByte(line[cut])) --cut;
    out.append(line, pos, cut - pos);
    out += "\r\n ";
    pos = cut;
    room = kMaxLineOctets - 1;
  }
  out.append(line, pos, std::string::npos);
  out += "\r\n";
}

bool ParseContentLines(const std::string& text, std::vector<ContentLine>& lines, std::string& error) {
  lines.clear();
  std::string current;
  long currentNumber = 0;
  long number = 0;
  auto finish = [&]() {
    if (current.empty()) return true;
    ContentLine line;
    line.lineNumber = currentNumber;
    if (!SplitLine(current, line)) {
      error = "line " + std::to_string(currentNumber) + ": not a content line (NAME:value)";
      return false;
    }
    lines.push_back(std::move(line));
    current.clear();
    return true;
  };
  bool softBreak = false;
  std::size_t pos = 0;
  while (pos < text.size()) {
    std::size_t end = text.find('\n', pos);
    std::string physical = text.substr(pos, end == std::string::npos ? std::string::npos : end - pos);
    pos = end == std::string::npos ? text.size() : end + 1;
    if (!physical.empty() && physical.back() == '\r') physical.pop_back();
    ++number;
    if (softBreak) {
      // A quoted-printable soft line break: the '=' goes, the next line
      // follows as it is.
      current.pop_back();
      current += physical;
      softBreak = EndsInSoftBreak(current);
      continue;
    }
    if (!physical.empty() && (physical[0] == ' ' || physical[0] == '\t') && !current.empty()) {
      current.append(physical, 1, std::string::npos);
      softBreak = EndsInSoftBreak(current);
      continue;
    }
    if (!finish()) return false;
    if (physical.find_first_not_of(" \t") == std::string::npos) continue;
    current = physical;
    currentNumber = number;
    softBreak = EndsInSoftBreak(current);
  }
  return finish();
}

std::string ContentParameter(const ContentLine& line, const std::string& name) {
  for (const auto& parameter : line.parameters) {
    if (parameter.first == name) return parameter.second;
  }
  return std::string();
}

namespace {

// separator -1: none.
std::vector<std::string> SplitValue(const std::string& raw, int separator) {
  std::vector<std::string> parts(1);
  for (std::size_t i = 0; i < raw.size(); ++i) {
    const char c = raw[i];
    if (c == '\\' && i + 1 < raw.size()) {
      const char next = raw[++i];
      if (next == 'n' || next == 'N')
        parts.back() += "\r\n";
      else
        parts.back() += next;
    } else if (separator >= 0 && c == static_cast<char>(separator)) {
      parts.emplace_back();
    } else {
      parts.back() += c;
    }
  }
  return parts;
}

}  // namespace

std::vector<std::string> SplitContentValue(const std::string& raw, char separator) {
  return SplitValue(raw, static_cast<unsigned char>(separator));
}

std::string UnescapeContentText(const std::string& raw) {
  return SplitValue(raw, -1).front();
}
