// Helpers for the time-notification tests: a scratch data folder, a settable
// clock, recorded message boxes (with an action a test can run while a box is
// "open"), the main window, the reminder windows on screen and the sounds
// they asked for, and a driver that works the modal editor through its
// controls while its dialog loop runs.
#ifndef QUILLMATE_TESTS_MANAGERS_TIMENOTIFICATIONTESTSUPPORT_H
#define QUILLMATE_TESTS_MANAGERS_TIMENOTIFICATIONTESTSUPPORT_H

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "Records/DatabaseData.h"
#include "Records/DataFolders.h"
#include "Records/LocalClock.h"
#include "Records/MessageBoxSeam.h"
#include "Shell/MainWindowHooks.h"
#include "Support/DialogDriver.h"
#include "Support/RecordTimes.h"
#include "Support/RecordedMessageBoxes.h"
#include "Support/ScratchFolder.h"
#include "Support/TestMainWindow.h"

namespace qmtimenotif {

using qmtest::AddSeconds;
using qmtest::MakeTime;
using qmtest::ShownBox;
using qmtest::Press;
using qmtest::Row;
using qmtest::TestMainWindow;
using qmtest::TextOf;
using qmtest::TypeText;

// Equal to the second (the weekday and the milliseconds take no part).
bool SameSecond(const RecordTime& a, const RecordTime& b);

// What one reminder window shows.
struct ShownReminder {
  HWND window;
  std::string caption;
  std::string text;
  std::string time;
  bool urgent;  // the warning icon; else the information icon
};

// The open reminder windows, oldest first.
std::vector<ShownReminder> OpenReminders();
// Presses a button of a reminder (IDOK, or IDC_REMINDER_SNOOZE after
// choosing index of the snooze list when index >= 0).
void PressOk(const ShownReminder& reminder);
void PressSnooze(const ShownReminder& reminder, int choice = -1);

class TimeNotificationTest : public ::testing::Test {
 public:
  // The sounds asked for since SetUp: the event alias plays when
  // s_aliasPlays, else the beep follows.
  static int s_aliasCalls;
  static int s_beeps;
  static bool s_aliasPlays;

 protected:
  void SetUp() override;
  void TearDown() override;

  // Adds a record to the store directly, as an earlier run of the program
  // left it; returns its address.
  std::uint32_t StoreNotification(const std::string& title, const std::string& text, const RecordTime& time,
                                  int type);
  // The stored notifications in file order.
  std::vector<DatabaseDataTimeNotif> StoredNotifications() const;

  qmtest::ScratchFolder m_folder{"qm-tn"};
  // Every box is answered with its default button.
  qmtest::RecordedMessageBoxes m_boxes{qmtest::RecordedMessageBoxes::kDefaultButton};
  std::unique_ptr<ScopedApplicationDataFolder> m_appData;
  std::unique_ptr<ScopedLocalClock> m_clock;
  std::unique_ptr<TestMainWindow> m_main;

  RecordTime m_now{};
};

// The modal editor driven from inside its own message loop: open() starts it
// (e.g. a command to the main window); act(dialog) runs once the dialog is up
// and must end it (Save or Cancel). Returns false when no editor appeared or
// act did not end it within a bound (it is then cancelled).
bool DriveEditor(const std::function<void()>& open, const std::function<void(HWND dialog)>& act);

// The picker and the type list, worked as a user would.
void SetPickerTime(HWND dialog, const RecordTime& time);
RecordTime PickerTime(HWND dialog);
void ChooseType(HWND dialog, int index);  // 0 "Normal", 1 "Urgent"

}  // namespace qmtimenotif

#endif  // QUILLMATE_TESTS_MANAGERS_TIMENOTIFICATIONTESTSUPPORT_H
