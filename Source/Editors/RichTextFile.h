// The body of a text note on disk: the rich edit control's content as RTF,
// streamed through callbacks that read or write the open file.
#ifndef QUILLMATE_EDITORS_RICHTEXTFILE_H
#define QUILLMATE_EDITORS_RICHTEXTFILE_H

#include <string>

#include "Library/CRichEdit.h"

// The most characters a body holds. The control's own default is 32,767,
// and stream-in obeys the limit: a longer note would be cut on opening and
// saved cut.
constexpr LONG kRichTextCharacterLimit = 0x3FFFFFFF;

// Raises the body's limit to kRichTextCharacterLimit (EM_EXLIMITTEXT).
void RaiseRichTextLimit(const CRichEdit& body);

// Replaces the body's content with the RTF of the file at path, after
// raising the body's limit. The file is opened for reading without sharing
// and created empty when it is missing (the body then stays empty). False
// when the file cannot be opened or created (the body is left as it was) or
// a read failed part-way (the body holds only part of the note): the caller
// must not save the body over the file. errorText is then the platform's
// message for the error.
bool LoadRichText(const CRichEdit& body, const std::string& path, std::string& errorText);

// For tests: every read of a body fails, as a damaged disk's would, once
// this many more bytes were read; negative (the default) never.
void FailRichTextReadsAfter(long long bytes);

// Writes the body as RTF to path: to a new file beside it first, which then
// replaces the old one, so a failure at any point leaves the old file whole.
// On failure returns false with the platform's message for the error in
// errorText; nothing is left behind but the old file.
bool SaveRichText(const CRichEdit& body, const std::string& path, std::string& errorText);

#endif  // QUILLMATE_EDITORS_RICHTEXTFILE_H
