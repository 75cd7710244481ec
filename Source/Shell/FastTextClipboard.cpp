// The clipboard owns the memory block once SetClipboardData succeeds; until
// then it is ours to free.
#include "Shell/FastTextClipboard.h"

#include <cstring>
#include <string>

#include "Managers/FastTextMenu.h"

void CopyFastTextToClipboard(HWND mainWindow, int commandId) {
  std::string text;
  if (!FastTextOfCommand(commandId, text) || text.empty()) return;
  // The new text is ready before the old one goes: without the memory for it
  // the clipboard keeps what it held.
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_DDESHARE, text.size() + 1);
  if (block == nullptr) return;
  void* bytes = GlobalLock(block);
  if (bytes == nullptr) {
    GlobalFree(block);
    return;
  }
  std::memcpy(bytes, text.data(), text.size());
  static_cast<char*>(bytes)[text.size()] = '\0';
  GlobalUnlock(block);
  if (!OpenClipboard(mainWindow)) {
    GlobalFree(block);
    return;
  }
  EmptyClipboard();
  if (SetClipboardData(CF_TEXT, block) == nullptr) GlobalFree(block);
  CloseClipboard();
}
