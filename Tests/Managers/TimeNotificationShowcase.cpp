// Not a test: the real main window with a few time notifications, for looking
// at the editor and a shown notification on screen
// (scripts/screenshot.sh out.png TimeNotificationShowcase.exe editor|notification|over-editor).
// "editor" opens the editor on a stored notification; "notification" lets the
// timer show a due urgent one; "over-editor" opens a new editor and lets a
// notification fall due two seconds later, over it. The program ends by
// itself after 30 seconds.
#include <windows.h>

#include <cstring>

#include "Managers/KindManager.h"
#include "Managers/RecordManager.h"
#include "Managers/TimeNotificationEditor.h"
#include "Managers/TimeNotificationScheduler.h"
#include "Records/DataFolders.h"
#include "Records/LocalClock.h"
#include "Resources/MainWindowIds.h"
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

}  // namespace

int main(int argc, char** argv) {
  const bool editor = argc > 1 && std::strcmp(argv[1], "editor") == 0;
  const bool overEditor = argc > 1 && std::strcmp(argv[1], "over-editor") == 0;
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
  return showcase.RunMessageLoop();
}
