// MainWindow: the window procedure, which dispatches each message to its
// handler, and the class and creation records of the window.
#include "Shell/MainWindow.h"

#include "Library/CSplitter.h"
#include "Library/ToolkitErrors.h"
#include "Library/WindowCreateDef.h"
#include "Library/WindowProcGuard.h"
#include "Resources/MainWindowIds.h"
#include "Shell/CommandRouter.h"
#include "Shell/ExitRequest.h"
#include "Shell/FindDialog.h"
#include "Shell/MainWindowBuild.h"
#include "Shell/MainWindowHooks.h"
#include "Shell/MainWindowLayout.h"
#include "Shell/MainWindowNotify.h"
#include "Shell/MessageLoop.h"
#include "Shell/RecordColumns.h"
#include "Shell/RecordContextMenu.h"

namespace {

// Failures inside a handler never cross back into the platform.
constexpr const char* kGuardCaption = "Error";

// The creation parameter of a main window made hidden for the tray.
constexpr char kMadeForTray = 0;

void OnClose(HWND window) {
  // Closing only hides: the program lives on in the tray until Exit.
  if (gMainWindowHooks.hideToTray) {
    gMainWindowHooks.hideToTray(window);
  } else {
    ShowWindow(window, SW_HIDE);
  }
}

void OnTimer(HWND window, WPARAM timerId) {
  if (timerId == kNotificationTimerId && gMainWindowHooks.timerTick) gMainWindowHooks.timerTick(window);
}

// The list the keyboard was in when the window was last left.
HWND gFocusOnReturn = nullptr;

// The frame takes no keys of its own: whenever it gets the focus (activated,
// restored, a dialog closed), the focus goes on to the list it was in, the
// record list at first, so that the arrows, Enter and Tab work at once.
void PassFocusToList(HWND window) {
  HWND list = gFocusOnReturn;
  if (list == nullptr || !IsChild(window, list) || !IsWindowVisible(list)) list = GetDlgItem(window, ID_RECORD_LIST);
  if (list != nullptr && IsWindowVisible(list)) SetFocus(list);
}

void RememberFocusedList(HWND window) {
  if (HWND list = MainWindowListOf(window, GetFocus())) gFocusOnReturn = list;
}

LRESULT OnTrayMessage(HWND window, WPARAM wParam, LPARAM lParam) {
  return gMainWindowHooks.trayMessage ? gMainWindowHooks.trayMessage(window, wParam, lParam) : 0;
}

// From the keyboard (Shift+F10, the Menu key: no position) the record list's
// menu opens at its focused row. A right click has opened it already
// (NM_RCLICK), so the message the list sends after the click is ignored.
bool OnContextMenu(HWND window, HWND from, LPARAM position) {
  if (from != GetDlgItem(window, ID_RECORD_LIST)) return false;
  if (position == -1) ShowRecordContextMenu(window, MenuPlace::FocusedRow);
  return true;
}

void OnSplitterMoved(HWND window, WPARAM lineX) {
  if (CSplitter* splitter = SplitterOf(window)) splitter->MoveSplit(static_cast<int>(lineX));
  FitRecordColumns(window);
  RepaintWithChildren(window);
}

// The controls of a window made without them, before the first message that
// needs them; a window whose controls cannot be made ends, as it would have
// at its creation.
void MakeControlsWhenNeeded(HWND window, UINT message, WPARAM wParam) {
  if (HasMainWindowControls(window) || !NeedsMainWindowControls(message, wParam)) return;
  const LRESULT made = RunGuarded(window, kGuardCaption, [&] { return LRESULT(BuildMainWindowControls(window)); });
  if (made != 1) {
    if (made == 0) ShowMessageBox(window, ToolkitErrors::kWindowCreationFailed, kGuardCaption, kMbOk | kMbIconWarning);
    DestroyWindow(window);
  }
}

}  // namespace

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  MakeControlsWhenNeeded(window, message, wParam);
  if (!IsWindow(window)) return 0;
  switch (message) {
    case WM_CREATE:
      return RunGuarded(window, kGuardCaption, [&] {
        // Made hidden for the tray, the window makes its controls later.
        const bool forTray = reinterpret_cast<const CREATESTRUCTA*>(lParam)->lpCreateParams == &kMadeForTray;
        return BuildMainWindow(window, !forTray) ? 0 : -1;
      });
    case WM_SIZE:
      OnMainWindowSized(window, LOWORD(lParam), HIWORD(lParam));
      return 0;
    case WM_GETMINMAXINFO:
      reinterpret_cast<MINMAXINFO*>(lParam)->ptMinTrackSize = {kMinimumWindowWidth, kMinimumWindowHeight};
      return 0;
    case WM_SHOWWINDOW:
      // However it is shown, it shows laid out.
      if (wParam) LayOutShowingMainWindow(window);
      return DefWindowProcA(window, message, wParam, lParam);
    case WM_ACTIVATE:
      if (LOWORD(wParam) == WA_INACTIVE) RememberFocusedList(window);
      return DefWindowProcA(window, message, wParam, lParam);
    case WM_SETFOCUS:
      PassFocusToList(window);
      return 0;
    case WM_CLOSE:
      OnClose(window);
      return 0;
    case WM_DESTROY:
      TearDownMainWindow(window);
      return 0;
    case WM_NOTIFY:
      return RunGuarded(window, kGuardCaption,
                        [&] { return OnMainWindowNotify(window, reinterpret_cast<NMHDR*>(lParam)); });
    case WM_COMMAND:
      return RunGuarded(window, kGuardCaption, [&] {
        RouteCommand(window, LOWORD(wParam));
        return LRESULT(0);
      });
    case WM_TIMER:
      return RunGuarded(window, kGuardCaption, [&] {
        OnTimer(window, wParam);
        return LRESULT(0);
      });
    case WM_CONTEXTMENU:
      if (RunGuarded(window, kGuardCaption,
                     [&] { return LRESULT(OnContextMenu(window, reinterpret_cast<HWND>(wParam), lParam)); }))
        return 0;
      return DefWindowProcA(window, message, wParam, lParam);
    case CSplitter::kSplitterMovedMessage:
      OnSplitterMoved(window, wParam);
      return 0;
    case kOpenFoundRecordMessage:
      return RunGuarded(window, kGuardCaption, [&] {
        OpenFoundRecord(window, static_cast<int>(wParam), static_cast<std::uint32_t>(lParam));
        return LRESULT(0);
      });
    case kTrayCallbackMessage:
      return RunGuarded(window, kGuardCaption, [&] { return OnTrayMessage(window, wParam, lParam); });
    default:
      // A registered message has no fixed number to switch on.
      if (message == ExitRequestMessage()) return AnswerExitRequest(window);
      return DefWindowProcA(window, message, wParam, lParam);
  }
}

WindowClassDef MainWindowClass(HINSTANCE instance) {
  return WindowClassDef(MainWindowProc, kMainWindowClassName, instance, IDI_QUILLMATE, IDR_MAIN_MENU);
}

HWND CreateMainWindow(HINSTANCE instance, bool visible) {
  WindowCreateDef create = WindowCreateDef::TopLevel(kMainWindowTitle, kMainWindowClassName, instance);
  if (!visible) {
    create.style &= ~WS_VISIBLE;
    create.parameter = const_cast<char*>(&kMadeForTray);
  }
  return create.Create();
}
