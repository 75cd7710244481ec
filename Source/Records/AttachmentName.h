// Names and paths of attachment files: the rich text, sound, video, photo
// copy or fast-text content that a record names. A record stores only the
// bare file name; the full path is the kind's folder plus that name.
#ifndef QUILLMATE_RECORDS_ATTACHMENTNAME_H
#define QUILLMATE_RECORDS_ATTACHMENTNAME_H

#include <string>

#include "Records/RecordTime.h"

// A full path folder + prefix + the local time's digits + "." + extension of a
// file that does not exist yet. A name that is taken is made again from a new
// local time until one is free (the file itself is created by the caller).
void MakeAttachmentName(const std::string& folder, const char* prefix, const char* extension,
                        std::string& fullPath);

// The candidate name of one time: year, month, day, hour, minute, second and
// milliseconds without leading zeros or separators, so different times can
// give the same name.
std::string FormatAttachmentName(const std::string& folder, const char* prefix, const char* extension,
                                 const RecordTime& time);

// The extension of a photo's copy: the text after the last dot of the source
// file's name, lower-cased; empty when the name has no dot. A dot in a folder
// name does not count.
std::string AttachmentExtensionOf(const std::string& sourcePath);

// The part of a path after its last backslash or slash: what a record stores.
std::string BareFileName(const std::string& path);

// Joins the kind's folder and a stored attachment name. A stored name that is
// not a bare file name (empty, made only of dots and blanks, a device name
// such as CON, NUL, COM1 or LPT1 with or without an extension, or holding
// '\\', '/' or ':') is never joined: the result is false and the attachment
// counts as missing, so a damaged or crafted record cannot point outside its
// folder or at a device.
bool AttachmentPath(const std::string& folder, const char* storedName, std::string& fullPath);

#endif  // QUILLMATE_RECORDS_ATTACHMENTNAME_H
