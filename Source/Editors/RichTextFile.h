// The body of a text note on disk: the rich edit control's content as RTF,
// streamed through callbacks that read or write the open file.
#ifndef QUILLMATE_EDITORS_RICHTEXTFILE_H
#define QUILLMATE_EDITORS_RICHTEXTFILE_H

#include <string>

#include "Library/CRichEdit.h"

// Replaces the body's content with the RTF of the file at path. The file is
// opened for reading without sharing and created empty when it is missing
// (the body then stays empty). False only when the file cannot
// be opened or created; the body is then left as it was.
bool LoadRichText(const CRichEdit& body, const std::string& path);

// Writes the body as RTF to path: to a new file beside it first, which then
// replaces the old one, so a failure at any point leaves the old file whole.
// On failure returns false with the platform's message for the error in
// errorText; nothing is left behind but the old file.
bool SaveRichText(const CRichEdit& body, const std::string& path, std::string& errorText);

#endif  // QUILLMATE_EDITORS_RICHTEXTFILE_H
