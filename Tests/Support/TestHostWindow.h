// A plain top-level window for tests: real controls are created in it, and a
// test may install a handler that sees its messages first.
#ifndef QUILLMATE_TESTS_SUPPORT_TESTHOSTWINDOW_H
#define QUILLMATE_TESTS_SUPPORT_TESTHOSTWINDOW_H

#include <windows.h>

#include <functional>

namespace qmtest {

class TestHostWindow {
 public:
  // Returns true when it handled the message (result in *result).
  using Handler =
      std::function<bool(HWND window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result)>;

  // A pop-up whose client area is width x height at (0, 0), shown without
  // activation.
  TestHostWindow(int width, int height, const char* title = "Test host");

  // A window of the given style and bounds, hidden unless the style has
  // WS_VISIBLE (then it is shown, and activated, as a program's window is).
  // Windows of one class name share a procedure; the class is registered on
  // first use.
  TestHostWindow(DWORD style, const RECT& bounds, const char* title,
                 const char* className = "QuillmateTestHostWindow");

  // Destroys the window and dispatches what that queued.
  ~TestHostWindow();
  TestHostWindow(const TestHostWindow&) = delete;
  TestHostWindow& operator=(const TestHostWindow&) = delete;

  HWND Handle() const { return m_window; }
  void SetHandler(Handler handler) { m_handler = std::move(handler); }

  // Shows and paints it without activation: Wine treats an activated window
  // as managed and, with no window manager on the test display, waits two
  // seconds for it to be withdrawn when it is destroyed.
  void ShowWithoutActivation();

 private:
  static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

  HWND m_window;
  Handler m_handler;
};

}  // namespace qmtest

#endif  // QUILLMATE_TESTS_SUPPORT_TESTHOSTWINDOW_H
