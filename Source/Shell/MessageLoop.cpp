// MessageLoop: GetMessage, accelerators, translate and dispatch.
#include "Shell/MessageLoop.h"

#include <initializer_list>
#include <vector>

#include "Library/CModelessDialogs.h"
#include "Resources/MainWindowIds.h"

namespace {

std::vector<void (*)()> gIdleTasks;

// True when no message waits. The wait of no time on the queue is what
// tells the system that the program now waits for input (Wine's
// WaitForInputIdle counts a wait on the queue, not an empty peek), so that
// work done idle is not taken for start-up.
bool NoMessageWaits() {
  MSG waiting;
  if (PeekMessageA(&waiting, nullptr, 0, 0, PM_NOREMOVE)) return false;
  return MsgWaitForMultipleObjectsEx(0, nullptr, 0, QS_ALLINPUT, MWMO_INPUTAVAILABLE) == WAIT_TIMEOUT;
}

// One waiting task, when there is one and no message waits.
bool RanIdleTask() {
  if (gIdleTasks.empty() || !NoMessageWaits()) return false;
  void (*task)() = gIdleTasks.front();
  gIdleTasks.erase(gIdleTasks.begin());
  task();
  return true;
}

bool IsOfMainWindow(HWND mainWindow, HWND window) {
  return mainWindow != nullptr && window != nullptr && (window == mainWindow || IsChild(mainWindow, window));
}

bool MoveFocusBetweenLists(HWND mainWindow, const MSG& message) {
  if (message.message != WM_KEYDOWN || message.wParam != VK_TAB) return false;
  HWND from = MainWindowListOf(mainWindow, message.hwnd);
  if (from == nullptr) return false;
  // Two stops only, so Tab and Shift+Tab both go to the other list.
  const int otherId = GetDlgCtrlID(from) == ID_MANAGER_LIST ? ID_RECORD_LIST : ID_MANAGER_LIST;
  if (HWND to = GetDlgItem(mainWindow, otherId)) SetFocus(to);
  return true;
}

}  // namespace

HWND MainWindowListOf(HWND mainWindow, HWND window) {
  for (int id : {ID_MANAGER_LIST, ID_RECORD_LIST}) {
    HWND list = GetDlgItem(mainWindow, id);
    if (list != nullptr && window != nullptr && (window == list || IsChild(list, window))) return list;
  }
  return nullptr;
}

bool TranslateMainWindowKeys(HWND mainWindow, HACCEL accelerators, MSG* message) {
  if (!IsOfMainWindow(mainWindow, message->hwnd)) return false;
  if (accelerators && TranslateAcceleratorA(mainWindow, accelerators, message)) return true;
  return MoveFocusBetweenLists(mainWindow, *message);
}

void RunWhenIdle(void (*task)()) {
  gIdleTasks.push_back(task);
}

int RunMessageLoop(HACCEL accelerators, HWND mainWindow) {
  MSG message;
  for (;;) {
    if (RanIdleTask()) continue;
    BOOL got = GetMessageA(&message, nullptr, 0, 0);
    if (got == -1) return -1;
    if (!got) return static_cast<int>(message.wParam);
    // A modeless dialog's keys are its own (Tab, Enter, Esc), whichever
    // window is active; modal dialogs run loops of their own.
    if (CModelessDialogs::Route(&message)) continue;
    if (IsOfMainWindow(mainWindow, message.hwnd)) {
      if (TranslateMainWindowKeys(mainWindow, accelerators, &message)) continue;
    } else if (accelerators && message.hwnd && TranslateAcceleratorA(message.hwnd, accelerators, &message)) {
      continue;
    }
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
}
