// Putting a fast text on the clipboard: the main window's answer to a
// command of the tray's "Fast Texts" sub-menu.
#pragma once

#include <windows.h>

#include <string>

// Copies the text of the menu item commandId to the clipboard as CF_TEXT
// (its bytes and one zero byte) and gives the item's title. Nothing changes
// for an empty or unreadable text, or when the clipboard cannot be opened;
// the result is then false.
bool CopyFastTextToClipboard(HWND mainWindow, int commandId, std::string& title);

// The tray balloon after a copy: "Copied: " and the title, cut to what a
// balloon holds (255 characters).
std::string CopiedBalloonText(const std::string& title);
