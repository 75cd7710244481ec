// Helpers of the tray and start-up tests: a plain top-level window whose
// messages a test can watch, a bounded wait that keeps dispatching, and a
// question to the shell whether an icon is in the notification area.
#pragma once

#include <windows.h>

#include <functional>

namespace traytest {

class WatchedWindow {
public:
    // Returns true when it handled the message (result in *result).
    using Handler = std::function<bool(HWND, UINT, WPARAM, LPARAM, LRESULT*)>;

    // A top-level overlapped window, visible when asked.
    explicit WatchedWindow(bool visible, const char* className = "QuillmateTrayTestWindow");
    ~WatchedWindow();
    WatchedWindow(const WatchedWindow&) = delete;
    WatchedWindow& operator=(const WatchedWindow&) = delete;

    HWND Handle() const { return m_window; }
    void SetHandler(Handler handler) { m_handler = std::move(handler); }

private:
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    HWND m_window;
    Handler m_handler;
};

// Dispatches what is queued for this thread.
void Pump();

// Dispatches messages until condition() holds or milliseconds pass; returns
// the condition's last value.
bool PumpUntil(const std::function<bool()>& condition, DWORD milliseconds = 5000);

// Whether the shell holds an icon of this window and id: a modification of
// its tooltip succeeds only for an icon that exists.
bool ShellHasIcon(HWND window, UINT id);

// Removes the icon behind its owner's back, as a shell restart does.
void ShellForgetsIcon(HWND window, UINT id);

} // namespace traytest
