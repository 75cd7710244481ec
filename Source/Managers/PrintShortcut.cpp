// The message filter behind Ctrl+P in the printing dialogs.
#include "Managers/PrintShortcut.h"

namespace {

// The filter of the innermost dialog; dialogs run on the one user-interface
// thread, one inside another at most through their message boxes.
CPrintShortcut* gActive = nullptr;

bool IsCtrlP(const MSG& message) {
  if (message.message != WM_KEYDOWN || message.wParam != 'P') return false;
  return GetKeyState(VK_CONTROL) < 0 && GetKeyState(VK_MENU) >= 0 && GetKeyState(VK_SHIFT) >= 0;
}

}  // namespace

CPrintShortcut::CPrintShortcut(HWND (*dialogOf)(), int printCommandId)
    : m_hook(nullptr), m_dialogOf(dialogOf), m_printCommandId(printCommandId), m_previous(gActive) {
  if (printCommandId == 0) return;
  m_hook = SetWindowsHookExA(WH_MSGFILTER, Filter, nullptr, GetCurrentThreadId());
  gActive = this;
}

CPrintShortcut::~CPrintShortcut() {
  if (m_printCommandId == 0) return;
  if (m_hook != nullptr) UnhookWindowsHookEx(m_hook);
  gActive = m_previous;
}

LRESULT CALLBACK CPrintShortcut::Filter(int code, WPARAM wParam, LPARAM lParam) {
  auto* message = reinterpret_cast<MSG*>(lParam);
  // Only the dialog's own loop (not a menu's, not a print dialog's inside it).
  if (code == MSGF_DIALOGBOX && gActive != nullptr && message != nullptr && IsCtrlP(*message)) {
    HWND dialog = gActive->m_dialogOf();
    if (dialog != nullptr && (message->hwnd == dialog || IsChild(dialog, message->hwnd))) {
      PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(gActive->m_printCommandId, 0), 0);
      return 1;  // taken: the control never sees it
    }
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}
