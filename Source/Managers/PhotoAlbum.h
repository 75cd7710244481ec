// The photo album's own manager operations: adding a photo by copying the
// picture into the album folder, and stepping through the album for the
// viewer.
#ifndef QUILLMATE_MANAGERS_PHOTOALBUM_H
#define QUILLMATE_MANAGERS_PHOTOALBUM_H

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "Managers/RecordValues.h"

// Copies sourcePath into the album folder under a new "Photo" name with the
// source's extension in lower case, makes the copy's attributes normal (a
// read-only source gives a writable copy) and adds a record with the title
// and comment; its row is appended last. With showFirst the album is shown
// first. A failed copy shows "File IO error - Copying to Application Data
// Dir." and adds nothing. True when the record was added.
bool AddPhoto(HWND mainWindow, const std::string& title, const std::string& comment,
              const std::string& sourcePath, bool showFirst);

// Moves position one row back (back), one row forward (neither flag) or
// keeps it (first only), clamps it to the rows of the list without wrapping
// around, and hands out that row's title, comment and picture path. Nothing
// happens, and the result is false, when the list is empty.
bool StepAlbum(HWND mainWindow, PhotoValues& values, bool back, int& position, bool first);

// The record addresses of the rows the list shows, in order. An album takes
// them once when it opens and steps through those: the list may show another
// kind later (a time notification falls due) while the album stays open.
std::vector<std::uint32_t> AlbumAddresses(HWND mainWindow);
// StepAlbum over addresses taken before; false when there are none or the
// photo at the new position cannot be read (deleted meanwhile).
bool StepAlbum(const std::vector<std::uint32_t>& addresses, PhotoValues& values, bool back, int& position,
               bool first);

#endif  // QUILLMATE_MANAGERS_PHOTOALBUM_H
