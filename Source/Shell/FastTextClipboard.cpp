// The clipboard owns the memory block once SetClipboardData succeeds; until
// then it is ours to free.
#include "Shell/FastTextClipboard.h"

#include <cstring>
#include <string>

#include "Managers/FastTextMenu.h"

bool CopyFastTextToClipboard(HWND mainWindow, int commandId, std::string& title) {
  std::string text;
  if (!FastTextOfCommand(commandId, text, &title) || text.empty()) return false;
  // The new text is ready before the old one goes: without the memory for it
  // the clipboard keeps what it held.
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_DDESHARE, text.size() + 1);
  if (block == nullptr) return false;
  void* bytes = GlobalLock(block);
  if (bytes == nullptr) {
    GlobalFree(block);
    return false;
  }
  std::memcpy(bytes, text.data(), text.size());
  static_cast<char*>(bytes)[text.size()] = '\0';
  GlobalUnlock(block);
  if (!OpenClipboard(mainWindow)) {
    GlobalFree(block);
    return false;
  }
  EmptyClipboard();
  const bool copied = SetClipboardData(CF_TEXT, block) != nullptr;
  if (!copied) GlobalFree(block);
  CloseClipboard();
  return copied;
}

std::string CopiedBalloonText(const std::string& title) {
  constexpr std::size_t kBalloonTextMax = 255;
  return ("Copied: " + title).substr(0, kBalloonTextMax);
}
