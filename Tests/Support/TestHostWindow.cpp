// TestHostWindow: its class, and the procedure that hands messages to the
// test's handler (the window's object travels in the creation parameter).
#include "Support/TestHostWindow.h"

#include "Support/MessagePump.h"

namespace qmtest {

TestHostWindow::TestHostWindow(int width, int height, const char* title)
    : TestHostWindow(WS_POPUP, RECT{0, 0, width, height}, title) {
  ShowWithoutActivation();
}

TestHostWindow::TestHostWindow(DWORD style, const RECT& bounds, const char* title, const char* className)
    : m_window(nullptr) {
  WNDCLASSEXA windowClass = {};
  windowClass.cbSize = sizeof windowClass;
  windowClass.lpfnWndProc = Procedure;
  windowClass.hInstance = GetModuleHandleA(nullptr);
  windowClass.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_WINDOW + 1));
  windowClass.lpszClassName = className;
  RegisterClassExA(&windowClass);  // a second window of the class finds it registered

  m_window = CreateWindowExA(0, className, title, style, bounds.left, bounds.top, bounds.right - bounds.left,
                             bounds.bottom - bounds.top, nullptr, nullptr, GetModuleHandleA(nullptr), this);
  PumpMessages();
}

TestHostWindow::~TestHostWindow() {
  if (m_window != nullptr && IsWindow(m_window)) DestroyWindow(m_window);
  PumpMessages();
}

void TestHostWindow::ShowWithoutActivation() {
  ShowWindow(m_window, SW_SHOWNOACTIVATE);
  UpdateWindow(m_window);
  PumpMessages();
}

LRESULT CALLBACK TestHostWindow::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    const auto* create = reinterpret_cast<const CREATESTRUCTA*>(lParam);
    SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  }
  auto* host = reinterpret_cast<TestHostWindow*>(GetWindowLongPtrA(window, GWLP_USERDATA));
  LRESULT result = 0;
  if (host != nullptr && host->m_handler && host->m_handler(window, message, wParam, lParam, &result)) {
    return result;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace qmtest
