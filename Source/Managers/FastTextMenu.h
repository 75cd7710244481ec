// The tray's "Fast Texts" sub-menu and the snippet behind each of its items.
//
// Menu command ids carry 16 bits while record addresses grow with the store
// file, so an item's id is not 50000 + its record's address: it is 50000 +
// the item's position, and the menu built last keeps a table from position
// to record. An entry also remembers the record's attachment name, which no
// other record ever has, so an item whose fast text was deleted (and its
// block perhaps reused by another) copies nothing rather than another
// snippet.
#ifndef QUILLMATE_MANAGERS_FASTTEXTMENU_H
#define QUILLMATE_MANAGERS_FASTTEXTMENU_H

#include <windows.h>

#include <cstdint>
#include <string>

// The first fast-text command and how many items fit below 65536.
constexpr int kFastTextMenuBase = 50000;
constexpr int kFastTextMenuCapacity = 65536 - kFastTextMenuBase;

// Appends one item per fast text (title, id 50000 + position), in file
// order, to menu, and keeps the table of the items for FastTextOfCommand.
// Fast texts past the capacity are left out. Nothing is appended when there
// are none or the store cannot be opened.
void BuildFastTextMenu(HMENU menu);

// The text of the fast text whose record lies at address; 0 gives an empty
// text. The read reports its own failures (file error text, "Out of
// memory"). False when nothing could be read.
bool ReadFastText(std::uint32_t address, std::string& text);

// The text of the item with commandId in the menu built last, and the
// item's title when title is given. False (text empty) when the id names no
// item, or its fast text is no longer the one the item was made for, or the
// text could not be read (reported).
bool FastTextOfCommand(int commandId, std::string& text, std::string* title = nullptr);

#endif  // QUILLMATE_MANAGERS_FASTTEXTMENU_H
