// The plain text of a rich-text body, for searching: what a reader of the
// note sees, without formatting. Built on the bounded RTF tokenizer, so a
// hostile body costs at most one pass over its bytes and an output no longer
// than its input.
//
//   input                                  becomes
//   text runs, \\ \{ \}                    the bytes themselves
//   \'hh                                   the byte hh (the body's code page)
//   \uN                                    the code page's byte for U+N ('?' if
//                                          none), then the \ucN fallback
//                                          characters that follow are dropped
//   \par \line \sect \page \row \cell      a line end
//   \tab \~ \emdash ... (\cell, \tab)      a blank
//   {\* ...}, {\fonttbl}, {\colortbl},     nothing: destinations that hold no
//   {\stylesheet}, {\info}, {\pict}, ...   text of the note
//   \binN data                             nothing
#ifndef QUILLMATE_SEARCH_RTFPLAINTEXT_H
#define QUILLMATE_SEARCH_RTFPLAINTEXT_H

#include <cstddef>
#include <string>

#include "Records/RtfTokenizer.h"
#include "Search/SearchCodePage.h"

// Replaces text with the body's plain text. A body that breaks one of the
// tokenizer's limits gives its status (text then holds what came before).
RtfStatus RtfToPlainText(const char* data, std::size_t size, const SearchCodePage& codePage, std::string& text);

#endif  // QUILLMATE_SEARCH_RTFPLAINTEXT_H
