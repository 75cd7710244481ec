// Content lines, the text form that vCard (RFC 6350) and iCalendar
// (RFC 5545) share: NAME;PARAM=value:value, lines ended by CRLF and folded
// so that none is longer than 75 octets, text values escaped with
// backslashes. Writers and the vCard reader of qmdb use these helpers.
#ifndef QUILLMATE_TOOLS_QMDB_CONTENTLINE_H
#define QUILLMATE_TOOLS_QMDB_CONTENTLINE_H

#include <string>
#include <utility>
#include <vector>

// A text value escaped: backslash, comma and semicolon get a backslash, every
// line break (CR LF, LF or a lone CR) becomes \n. Control characters that
// neither format allows in a value (all but tab) are dropped and counted in
// dropped.
std::string EscapeContentText(const std::string& utf8, int* dropped = nullptr);

// Appends name ":" value folded into lines of at most 75 octets, each ended
// by CRLF; a continuation line starts with one space. Folds never split a
// UTF-8 sequence. value must already be escaped.
void AppendContentLine(std::string& out, const std::string& name, const std::string& value);

struct ContentLine {
  long lineNumber = 0;  // of the first physical line, counted from 1
  std::string name;     // upper-cased, group prefix removed
  std::vector<std::pair<std::string, std::string>> parameters;  // names upper-cased, quotes removed
  std::string value;    // raw: still escaped
};

// Unfolds text (CRLF or LF line ends; a line starting with a space or tab
// continues the previous one, as does the line after a quoted-printable
// soft line break) and splits every non-empty line. Fails with a
// reason naming the line for a line without ':' or with an empty name.
bool ParseContentLines(const std::string& text, std::vector<ContentLine>& lines, std::string& error);

// The value of a parameter (upper-cased name), or empty.
std::string ContentParameter(const ContentLine& line, const std::string& name);

// Splits a raw value at unescaped separators and unescapes each part
// (\n and \N give a line break CR LF, \x gives x).
std::vector<std::string> SplitContentValue(const std::string& raw, char separator);

// One unescaped text value (separators are kept as they are).
std::string UnescapeContentText(const std::string& raw);

#endif  // QUILLMATE_TOOLS_QMDB_CONTENTLINE_H
