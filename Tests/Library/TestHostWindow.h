// A plain top-level window for the toolkit and splitter tests: real controls
// are created in it, and a test may install a handler for its messages.
#pragma once

#include <windows.h>

#include <functional>

class TestHostWindow {
public:
    using Handler = std::function<bool(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result)>;

    // A visible pop-up window whose client area is width x height at (0, 0).
    TestHostWindow(int width, int height);
    ~TestHostWindow();
    TestHostWindow(const TestHostWindow&) = delete;
    TestHostWindow& operator=(const TestHostWindow&) = delete;

    HWND Handle() const { return m_window; }
    void SetHandler(Handler handler) { m_handler = std::move(handler); }

    // Dispatches everything queued for this thread, so painting is done.
    static void Pump();

private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    HWND m_window;
    Handler m_handler;
};
