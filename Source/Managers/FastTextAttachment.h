// The file that holds a fast text's snippet: its characters exactly as typed,
// with no terminator, header or length field. Reading and writing report
// their failures to the user here (caption "Quillmate", error icon, no owner)
// so that every caller behaves alike.
#ifndef QUILLMATE_MANAGERS_FASTTEXTATTACHMENT_H
#define QUILLMATE_MANAGERS_FASTTEXTATTACHMENT_H

#include <string>

// Reads the whole attachment with the stored name from the fast-text folder.
// A file error shows its own message text, a failed allocation "Out of
// memory"; a stored name that is not a bare file name counts as a missing
// file. False on failure, text then empty.
bool ReadFastTextAttachment(const char* storedName, std::string& text);

// Replaces the content of the attachment with text, so that the file holds
// exactly the new text. The new text is written beside the file and put in
// its place when complete: a failure leaves the old text whole. Failures are
// shown as for reading; false then.
bool RewriteFastTextAttachment(const char* storedName, const std::string& text);

// Creates a new attachment (fullPath must not exist yet) holding text. A file
// error shows "File IO error", a failed allocation "Out of memory"; a file
// made but not written whole is removed again. False on failure.
bool CreateFastTextAttachment(const std::string& fullPath, const std::string& text);

#endif  // QUILLMATE_MANAGERS_FASTTEXTATTACHMENT_H
