// The body's subclass: what the dialog manager is told it wants, and the
// Ctrl keys it handles itself.
#include "Editors/RichTextKeys.h"

namespace {

const char kStateProperty[] = "QuillmateRichTextKeys";

struct KeyState {
  WNDPROC previous;
  RichTextKeyCommands commands;
};

bool ControlDown() {
  return (GetKeyState(VK_CONTROL) & 0x8000) != 0 && (GetKeyState(VK_MENU) & 0x8000) == 0;
}

// The command of a Ctrl+letter key, or 0.
int CommandOf(const KeyState& state, WPARAM key) {
  switch (key) {
    case 'B':
      return state.commands.bold;
    case 'I':
      return state.commands.italic;
    case 'U':
      return state.commands.underline;
    default:
      return 0;
  }
}

// The characters that Ctrl+B, Ctrl+I (a tab) and Ctrl+U and Ctrl+Tab make.
bool IsControlCharacterOfOurKeys(WPARAM character) {
  return character == 0x02 || character == '\t' || character == 0x15;
}

LRESULT CALLBACK BodyProc(HWND body, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* state = static_cast<KeyState*>(GetPropA(body, kStateProperty));
  if (!state) return DefWindowProcA(body, message, wParam, lParam);
  const WNDPROC previous = state->previous;
  switch (message) {
    case WM_GETDLGCODE: {
      LRESULT code = CallWindowProcA(previous, body, message, wParam, lParam);
      // Without this the dialog manager selects the whole body on a Tab
      // into it.
      code &= ~static_cast<LRESULT>(DLGC_HASSETSEL);
      const auto* key = reinterpret_cast<const MSG*>(lParam);
      if (key && key->message == WM_KEYDOWN && key->wParam == VK_TAB) {
        if (ControlDown()) {
          code |= DLGC_WANTTAB;
        } else {
          code &= ~static_cast<LRESULT>(DLGC_WANTTAB | DLGC_WANTALLKEYS | DLGC_WANTMESSAGE);
        }
      }
      return code;
    }
    case WM_KEYDOWN:
      if (ControlDown()) {
        if (wParam == VK_TAB) {
          SendMessageA(body, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>("\t"));
          return 0;
        }
        if (const int command = CommandOf(*state, wParam)) {
          SendMessageA(GetParent(body), WM_COMMAND, MAKEWPARAM(command, 0), 0);
          return 0;
        }
      }
      break;
    case WM_CHAR:
      if (ControlDown() && IsControlCharacterOfOurKeys(wParam)) return 0;
      break;
    case WM_NCDESTROY:
      SetWindowLongPtrA(body, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous));
      RemovePropA(body, kStateProperty);
      delete state;
      return CallWindowProcA(previous, body, message, wParam, lParam);
    default:
      break;
  }
  return CallWindowProcA(previous, body, message, wParam, lParam);
}

}  // namespace

void InstallRichTextKeys(HWND body, const RichTextKeyCommands& commands) {
  if (!body || GetPropA(body, kStateProperty)) return;
  auto* state = new KeyState{nullptr, commands};
  SetPropA(body, kStateProperty, state);
  state->previous = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrA(body, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(BodyProc)));
}
