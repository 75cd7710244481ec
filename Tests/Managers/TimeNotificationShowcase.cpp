// Not a test: the real main window with a few time notifications, for looking
// at the editor and the reminder windows on screen (scripts/screenshot.sh
// out.png TimeNotificationShowcase.exe editor|notification|over-editor|three|snooze).
// "editor" opens the editor on a stored notification; "notification" lets the
// timer show a due urgent one; "over-editor" opens a new editor and lets a
// notification fall due two seconds later, over it; "three" lets three fall
// due at once, cascaded; "snooze" opens the snooze choice of the one that is
// due. The program ends by itself after 30 seconds.
#include <windows.h>

#include <cstring>
#include <string>
#include <vector>

#include "Managers/KindManager.h"
#include "Managers/RecordManager.h"
#include "Managers/TimeNotificationEditor.h"
#include "Managers/TimeNotificationScheduler.h"
#include "Records/DataFolders.h"
#include "Records/LocalClock.h"
#include "Resources/MainWindowIds.h"
#include "Resources/ReminderWindowIds.h"
#include "Shell/MainWindowHooks.h"
#include "Shell/Reminders.h"
#include "Support/Showcase.h"

namespace {

RecordTime InMinutes(int minutes) {
  RecordTime time = LocalNow();
  int total = time.hour * 60 + time.minute + minutes;
  if (total >= 24 * 60) total = 24 * 60 - 1;
  time.hour = static_cast<std::uint16_t>(total / 60);
  time.minute = static_cast<std::uint16_t>(total % 60);
  return time;
}

RecordTime InTwoSeconds() {
  RecordTime time = LocalNow();
  if (time.second < 58) time.second = static_cast<std::uint16_t>(time.second + 2);
  return time;
}

RecordTime LastYear() {
  RecordTime time = LocalNow();
  --time.year;
  return time;
}

// Opens the first reminder's snooze choice once it is up.
void CALLBACK OpenSnoozeChoice(HWND, UINT, UINT_PTR timer, DWORD) {
  std::vector<HWND> reminders = OpenReminderWindows();
  if (reminders.empty()) return;
  KillTimer(nullptr, timer);
  SetForegroundWindow(reminders[0]);
  SendDlgItemMessageA(reminders[0], IDC_REMINDER_SNOOZE_CHOICE, CB_SHOWDROPDOWN, TRUE, 0);
}

}  // namespace

int main(int argc, char** argv) {
  const std::string mode = argc > 1 ? argv[1] : "";
  const bool editor = mode == "editor";
  const bool overEditor = mode == "over-editor";
  qmtest::Showcase showcase("qm-time-notification-showcase");
  HWND window = showcase.Window();
  EnsureStore(RecordKind::TimeNotif);
  LoadPendingNotifications();
  gMainWindowHooks.timerTick = CheckNotifications;

  TimeNotifManager::AppendRecord(window,
                                 {"Water the plants", "The ferns on the balcony too", InMinutes(45), 0});
  TimeNotifManager::AppendRecord(
      window, {"Dentist", "Appointment at 10 o'clock,\r\nbring the insurance card", InMinutes(90), 1});
  if (overEditor) {
    TimeNotifManager::AppendRecord(window, {"Tea", "The tea is ready.", InTwoSeconds(), 0});
    OpenTimeNotificationEditor(window, false);
  } else if (editor) {
    showcase.FocusRow(1);
    OpenTimeNotificationEditor(window, true);
  } else {
    TimeNotifManager::AppendRecord(window,
                                   {"Call Ann", "About the concert on Friday evening", LastYear(), 1});
  }
  if (mode == "three") {
    TimeNotifManager::AppendRecord(window, {"Pay the rent", "Transfer before the 1st", LastYear(), 0});
    TimeNotifManager::AppendRecord(window, {"Library books", "Three books are due back today", LastYear(), 0});
  }
  if (mode == "snooze") SetTimer(nullptr, 0, 500, OpenSnoozeChoice);
  return showcase.RunMessageLoop();
}
