// The driver's state while one dialog runs is reached by the thread timer
// through a pointer; drivers may nest (a dialog opened from inside another's
// act).
#include "Support/DialogDriver.h"

#include <cstring>
#include <vector>

namespace qmtest {

namespace {

struct Driver {
  const char* caption = nullptr;
  const std::function<void(HWND)>* act = nullptr;
  HWND dialog = nullptr;
  bool acted = false;
  int ticksAfterAct = 0;
  int tickBound = 200;
  bool timedOut = false;
};
Driver* gDriver = nullptr;

struct Search {
  const char* caption;
  HWND found;
};

BOOL CALLBACK MatchDialog(HWND window, LPARAM lParam) {
  auto* search = reinterpret_cast<Search*>(lParam);
  char className[16] = {};
  char title[128] = {};
  GetClassNameA(window, className, sizeof className);
  GetWindowTextA(window, title, sizeof title);
  if (std::strcmp(className, "#32770") == 0 && std::strcmp(title, search->caption) == 0 &&
      IsWindowVisible(window)) {
    search->found = window;
    return FALSE;
  }
  return TRUE;
}

void CALLBACK DriverTick(HWND, UINT, UINT_PTR timer, DWORD) {
  Driver* driver = gDriver;
  if (driver == nullptr) {
    KillTimer(nullptr, timer);
    return;
  }
  if (!driver->acted) {
    HWND dialog = FindDialog(driver->caption);
    if (dialog == nullptr) return;
    driver->acted = true;
    driver->dialog = dialog;
    (*driver->act)(dialog);
    return;
  }
  // act should have ended the dialog; a dialog still up after the bound is
  // closed so that the test fails instead of hanging. An editor holding
  // unsaved work asks before it closes, and a test's answer may keep it
  // open: a second later it is ended without asking.
  if (!IsWindow(driver->dialog)) return;
  ++driver->ticksAfterAct;
  if (driver->ticksAfterAct == driver->tickBound + 1) {
    driver->timedOut = true;
    PostMessageA(driver->dialog, WM_CLOSE, 0, 0);
  } else if (driver->ticksAfterAct > driver->tickBound + 100) {
    EndDialog(driver->dialog, 2);
  }
}

}  // namespace

HWND FindDialog(const char* caption) {
  Search search{caption, nullptr};
  EnumThreadWindows(GetCurrentThreadId(), MatchDialog, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

bool DriveDialog(const char* caption, const std::function<void()>& open, const std::function<void(HWND)>& act,
                 DWORD boundMs) {
  Driver driver;
  driver.caption = caption;
  driver.tickBound = static_cast<int>(boundMs / 10);
  driver.act = &act;
  Driver* previous = gDriver;
  gDriver = &driver;
  UINT_PTR timer = SetTimer(nullptr, 0, 10, DriverTick);
  open();
  KillTimer(nullptr, timer);
  gDriver = previous;
  return driver.acted && !driver.timedOut;
}

void TypeText(HWND dialog, int id, const std::string& text) {
  SetWindowTextA(GetDlgItem(dialog, id), text.c_str());
}

std::string TextOf(HWND dialog, int id) {
  HWND control = GetDlgItem(dialog, id);
  std::vector<char> buffer(static_cast<std::size_t>(GetWindowTextLengthA(control)) + 2);
  GetWindowTextA(control, buffer.data(), static_cast<int>(buffer.size()));
  return buffer.data();
}

void Press(HWND dialog, int id) {
  SendMessageA(GetDlgItem(dialog, id), BM_CLICK, 0, 0);
}

void ChooseListItem(HWND dialog, int id, int index) {
  HWND combo = GetDlgItem(dialog, id);
  SendMessageA(combo, CB_SETCURSEL, index, 0);
  SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE), reinterpret_cast<LPARAM>(combo));
}

int ChosenListItem(HWND dialog, int id) {
  return static_cast<int>(SendDlgItemMessageA(dialog, id, CB_GETCURSEL, 0, 0));
}

}  // namespace qmtest
