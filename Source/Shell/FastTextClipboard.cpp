// The clipboard owns the memory block once SetClipboardData succeeds; until
// then it is ours to free.
#include "Shell/FastTextClipboard.h"

#include <cstring>
#include <string>

#include "Managers/FastTextMenu.h"

void CopyFastTextToClipboard(HWND mainWindow, int commandId) {
  std::string text;
  if (!FastTextOfCommand(commandId, text) || text.empty()) return;
  if (!OpenClipboard(mainWindow)) return;
  EmptyClipboard();
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_DDESHARE, text.size() + 1);
  if (block != nullptr) {
    if (void* bytes = GlobalLock(block)) {
      std::memcpy(bytes, text.data(), text.size());
      static_cast<char*>(bytes)[text.size()] = '\0';
      GlobalUnlock(block);
      if (SetClipboardData(CF_TEXT, block) == nullptr) GlobalFree(block);
    } else {
      GlobalFree(block);
    }
  }
  CloseClipboard();
}
