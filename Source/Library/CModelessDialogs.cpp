// CModelessDialogs: a short list of dialog windows on the user-interface
// thread and the message-filter hook. The platform's dialog-box and
// message-box loops call the WH_MSGFILTER hook (IsDialogMessage itself calls
// it, with MSGF_DIALOGBOX, before looking at a message), and so do menu
// loops; a message of a registered modeless dialog taken there is handed to
// that dialog's IsDialogMessage instead.
#include "Library/CModelessDialogs.h"

#include <algorithm>
#include <vector>

namespace {

// All on the user-interface thread; a handful of windows at most.
std::vector<HWND> gDialogs;
HHOOK gFilterHook = nullptr;
// IsDialogMessage calls the filter hook itself: while one routed message is
// in a dialog's IsDialogMessage, the hook lets everything pass, or the call
// would come back to itself without end.
bool gRouting = false;

struct Routing {
  Routing() { gRouting = true; }
  ~Routing() { gRouting = false; }
};

// The registered dialog that window is, or lies in (a control, an edit's
// drop-down list); null for any other window.
HWND DialogOf(HWND window) {
  if (window == nullptr) return nullptr;
  for (HWND dialog : gDialogs) {
    if (window == dialog || IsChild(dialog, window)) return dialog;
  }
  return nullptr;
}

}  // namespace

bool CModelessDialogs::Register(HWND dialog) {
  if (!IsWindow(dialog)) return false;
  if (!IsRegistered(dialog)) gDialogs.push_back(dialog);
  if (gFilterHook == nullptr)
    gFilterHook = SetWindowsHookExA(WH_MSGFILTER, FilterHook, nullptr, GetCurrentThreadId());
  return gFilterHook != nullptr;
}

void CModelessDialogs::Unregister(HWND dialog) {
  gDialogs.erase(std::remove(gDialogs.begin(), gDialogs.end(), dialog), gDialogs.end());
}

bool CModelessDialogs::IsRegistered(HWND window) {
  return window != nullptr && std::find(gDialogs.begin(), gDialogs.end(), window) != gDialogs.end();
}

bool CModelessDialogs::Route(MSG* message) {
  if (gRouting || message == nullptr) return false;
  HWND dialog = DialogOf(message->hwnd);
  if (dialog == nullptr) return false;
  // A dialog destroyed without unregistering: forget it rather than hand
  // its (reused) handle anything.
  if (!IsWindow(dialog)) {
    Unregister(dialog);
    return false;
  }
  Routing routing;
  return IsDialogMessageA(dialog, message) != FALSE;
}

LRESULT CALLBACK CModelessDialogs::FilterHook(int code, WPARAM wParam, LPARAM lParam) {
  // Only non-negative codes are ours to act on; TRUE tells the modal loop
  // that the message was used.
  if (code >= 0 && Route(reinterpret_cast<MSG*>(lParam))) return TRUE;
  return CallNextHookEx(gFilterHook, code, wParam, lParam);
}
