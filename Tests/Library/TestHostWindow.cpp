// TestHostWindow: registration of its class once per process and the pump.
#include "TestHostWindow.h"

namespace {
const char* const kHostClass = "QmLibraryTestHost";
}

TestHostWindow::TestHostWindow(int width, int height) : m_window(nullptr)
{
    static bool registered = false;
    if (!registered) {
        WNDCLASSEXA windowClass = {};
        windowClass.cbSize = sizeof windowClass;
        windowClass.lpfnWndProc = WindowProc;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
        windowClass.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_WINDOW + 1));
        windowClass.lpszClassName = kHostClass;
        registered = RegisterClassExA(&windowClass) != 0;
    }
    m_window = CreateWindowExA(0, kHostClass, "Library test", WS_POPUP, 0, 0, width, height, nullptr, nullptr,
                               GetModuleHandleA(nullptr), this);
    // Shown without activation: Wine treats an activated window as managed
    // and, with no window manager on the test display, waits two seconds
    // for it to be withdrawn when it is destroyed.
    ShowWindow(m_window, SW_SHOWNOACTIVATE);
    UpdateWindow(m_window);
    Pump();
}

TestHostWindow::~TestHostWindow()
{
    if (m_window) DestroyWindow(m_window);
    Pump();
}

void TestHostWindow::Pump()
{
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

LRESULT CALLBACK TestHostWindow::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCREATE) {
        const CREATESTRUCTA* create = reinterpret_cast<const CREATESTRUCTA*>(lParam);
        SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    TestHostWindow* host = reinterpret_cast<TestHostWindow*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    LRESULT result = 0;
    if (host && host->m_handler && host->m_handler(message, wParam, lParam, &result)) return result;
    return DefWindowProcA(window, message, wParam, lParam);
}
