// The message filter behind the editors' own keys.
#include "Managers/DialogMessageFilter.h"

namespace {

// The filter of the innermost dialog; dialogs run on the one user-interface
// thread, one inside another at most through their message boxes.
CDialogMessageFilter* gActive = nullptr;

}  // namespace

bool IsCtrlP(const MSG& message) {
  if (message.message != WM_KEYDOWN || message.wParam != 'P') return false;
  return GetKeyState(VK_CONTROL) < 0 && GetKeyState(VK_MENU) >= 0 && GetKeyState(VK_SHIFT) >= 0;
}

CDialogMessageFilter::CDialogMessageFilter(HWND (*dialogOf)(), Handler handler)
    : m_hook(SetWindowsHookExA(WH_MSGFILTER, Filter, nullptr, GetCurrentThreadId())),
      m_dialogOf(dialogOf),
      m_handler(handler),
      m_previous(gActive) {
  gActive = this;
}

CDialogMessageFilter::~CDialogMessageFilter() {
  if (m_hook != nullptr) UnhookWindowsHookEx(m_hook);
  gActive = m_previous;
}

LRESULT CALLBACK CDialogMessageFilter::Filter(int code, WPARAM wParam, LPARAM lParam) {
  auto* message = reinterpret_cast<MSG*>(lParam);
  // Only the dialog's own loop (not a menu's, not a print dialog's inside it).
  if (code == MSGF_DIALOGBOX && gActive != nullptr && message != nullptr) {
    HWND dialog = gActive->m_dialogOf();
    if (dialog != nullptr && (message->hwnd == dialog || IsChild(dialog, message->hwnd)) &&
        gActive->m_handler(dialog, *message)) {
      return 1;  // taken: the control never sees it
    }
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}
