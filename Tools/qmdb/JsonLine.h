// A small reader and writer for the one-line JSON objects qmdb exchanges:
// flat objects whose values are strings, integers, true, false or null.
// Anything else (nesting, fractions, bad escapes, invalid UTF-8, trailing
// text) is rejected with a reason, never guessed at.
#ifndef QUILLMATE_TOOLS_QMDB_JSONLINE_H
#define QUILLMATE_TOOLS_QMDB_JSONLINE_H

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

struct JsonValue {
  enum class Type { String, Integer, Boolean, Null };
  Type type = Type::Null;
  std::string text;          // String: UTF-8
  std::int64_t integer = 0;  // Integer: within +-2^53
  bool boolean = false;
};

using JsonMembers = std::vector<std::pair<std::string, JsonValue>>;

// Parses one object. Duplicate names are an error. On failure returns false
// and sets error to a short reason.
bool ParseJsonObject(const std::string& line, JsonMembers& members, std::string& error);

// Builds one object in member order.
class JsonObjectWriter {
 public:
  void AddString(const std::string& name, const std::string& utf8);
  void AddInteger(const std::string& name, std::int64_t value);
  void AddBoolean(const std::string& name, bool value);
  void AddNull(const std::string& name);
  std::string Finish() const { return m_text + "}"; }

 private:
  void AddName(const std::string& name);
  std::string m_text = "{";
};

// A JSON string literal (with quotes) for UTF-8 text.
std::string JsonQuote(const std::string& utf8);

#endif  // QUILLMATE_TOOLS_QMDB_JSONLINE_H
