// A bounded reader of RTF: it splits a rich-text body into tokens (groups,
// control words with their parameters, text, \'hh, \uN, \binN data) without
// allocating, so a body can be checked before the rich edit sees it and
// turned into plain text for the search. Every token points into the caller's
// bytes; nothing is copied.
//
// What it reads, and the limits it enforces (anything past a limit stops the
// walk with a status naming it; a body over a limit must not reach a parser
// without limits):
//
//   input          meaning                                   limit
//   {  }           group open / close                        depth <= kRtfMaxDepth (1,000)
//   \letters[N][ ] control word, optional signed parameter   <= kRtfMaxWordLetters (32) letters,
//                  N, one blank after it belongs to the word  <= kRtfMaxParameterDigits (10) digits
//   \'hh           one byte in the body's code page           two hex digits, else a plain symbol
//   \uN            one UTF-16 unit (N may be negative)        as a control word
//   \binN          N raw bytes follow the word                0 <= N <= bytes left in the input
//   \\ \{ \}       a literal backslash or brace               yielded as one byte of text
//   \other         control symbol (\~ \- \_ \* \<newline>)    -
//   CR, LF         ignored                                    -
//   other bytes    text, in runs                              -
//
// Invariants: (1) a token never reaches past the input; (2) Depth() never
// exceeds kRtfMaxDepth and never goes below 0 (a close brace at depth 0 is
// still yielded, so a reader can stop at the end of the document); (3) each
// call to Next consumes at least one byte or ends the walk, so a walk takes
// at most size + 1 calls; (4) once Next has returned false it keeps
// returning false with the same Status().
#ifndef QUILLMATE_RECORDS_RTFTOKENIZER_H
#define QUILLMATE_RECORDS_RTFTOKENIZER_H

#include <cstddef>
#include <cstdint>

constexpr int kRtfMaxDepth = 1000;
constexpr std::size_t kRtfMaxWordLetters = 32;
constexpr std::size_t kRtfMaxParameterDigits = 10;

enum class RtfTokenKind {
  GroupOpen,      // '{'
  GroupClose,     // '}'
  ControlWord,    // text/length: the letters; hasParameter/parameter
  ControlSymbol,  // text/length: the one character after the backslash
  Text,           // text/length: a run of body bytes (or one escaped \ { })
  HexByte,        // parameter: the byte of \'hh (0..255)
  Unicode,        // parameter: N of \uN as written (-32768..65535 in practice)
  Binary,         // text/length: the N bytes after \binN; parameter: N
};

enum class RtfStatus {
  Ok,                // walking, or the input ended cleanly
  TooDeep,           // a group opened past kRtfMaxDepth
  WordTooLong,       // a control word of more than kRtfMaxWordLetters letters
  ParameterTooLong,  // a parameter of more than kRtfMaxParameterDigits digits
  BinaryPastEnd,     // \binN with N negative or past the end of the input
};

struct RtfToken {
  RtfTokenKind kind = RtfTokenKind::Text;
  const char* text = nullptr;  // into the input; not terminated
  std::size_t length = 0;
  bool hasParameter = false;
  std::int64_t parameter = 0;
  std::size_t offset = 0;  // of the token's first byte in the input
};

// An iterator over the tokens of size bytes at data (which must outlive it):
//   RtfTokenizer tokens(body, size);
//   for (RtfToken token; tokens.Next(token);) { ... }
//   if (tokens.Status() != RtfStatus::Ok) { ...over a limit at tokens.Offset()... }
class RtfTokenizer {
 public:
  RtfTokenizer(const char* data, std::size_t size);

  // The next token, or false at the end of the input or at the first limit
  // broken (Status() tells which).
  bool Next(RtfToken& token);

  RtfStatus Status() const { return status_; }
  // Groups open after the last token yielded.
  int Depth() const { return depth_; }
  // Where the walk stands: after the last token, or at the start of the
  // construct that broke a limit.
  std::size_t Offset() const { return position_; }

 private:
  bool Fail(RtfStatus status, std::size_t at);
  bool ReadEscape(RtfToken& token);
  bool ReadControlWord(RtfToken& token);

  const char* data_;
  std::size_t size_;
  std::size_t position_ = 0;
  int depth_ = 0;
  RtfStatus status_ = RtfStatus::Ok;
  bool ended_ = false;
};

// Walks the whole body: Ok when it stays within every limit. offset (when
// given) receives where the first broken limit starts.
RtfStatus CheckRtfBody(const char* data, std::size_t size, std::size_t* offset = nullptr);

// A short English phrase for a status ("groups nested more than 1000 deep").
const char* RtfStatusText(RtfStatus status);

#endif  // QUILLMATE_RECORDS_RTFTOKENIZER_H
