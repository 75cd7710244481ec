// The owner finder handed to the message-box seam.
#include "Shell/MessageBoxOwner.h"

#include "Managers/CEditorDialog.h"
#include "Records/MessageBoxSeam.h"

namespace {

HWND gOwnerMainWindow = nullptr;

void* FindOwner() {
  return CurrentMessageBoxOwner();
}

}  // namespace

void InstallMessageBoxOwner(HWND mainWindow) {
  gOwnerMainWindow = mainWindow;
  SetMessageBoxOwnerFinder(FindOwner);
}

void RemoveMessageBoxOwner(HWND mainWindow) {
  if (gOwnerMainWindow != mainWindow) return;
  gOwnerMainWindow = nullptr;
  SetMessageBoxOwnerFinder(nullptr);
}

HWND CurrentMessageBoxOwner() {
  if (HWND editor = CEditorDialog::OpenEditorWindow()) return editor;
  if (gOwnerMainWindow != nullptr && IsWindowVisible(gOwnerMainWindow)) return gOwnerMainWindow;
  return nullptr;
}
