// The editor, dialog 9000, driven through its controls inside its own modal
// loop: new and edited notifications reach the store, the list and the
// scheduler; Cancel and empty fields change nothing; an editor keeps the
// record it was opened on while notifications fire.
#include <gtest/gtest.h>

#include <cstring>

#include "Library/CWinApp.h"
#include "Managers/KindManager.h"
#include "Managers/PendingNotifications.h"
#include "Managers/RecordManager.h"
#include "Managers/TimeNotificationScheduler.h"
#include "Records/RecordText.h"
#include "Resources/MainWindowIds.h"
#include "Resources/TimeNotificationEditorIds.h"
#include "Support/MessagePump.h"
#include "TimeNotificationTestSupport.h"

using namespace qmtimenotif;

namespace {

const DatabaseDataTimeNotif* PendingAt(std::uint32_t address) {
  for (int i = 0; i < PendingNotifications.GetSize(); ++i) {
    if (PendingNotifications[i].ownAddress == address) return &PendingNotifications[i];
  }
  return nullptr;
}

}  // namespace

TEST_F(TimeNotificationTest, ANewNotificationSavedInTheEditorIsStoredListedAndShownOnceWhenDue) {
  LoadPendingNotifications();
  m_main->Command(IDM_SHOW_TEXT_NOTES);
  const RecordTime due = AddSeconds(m_now, 60);
  RecordTime shownInPicker{};
  int typeOnOpen = -1;
  ASSERT_TRUE(DriveEditor([this] { m_main->Command(IDM_ADD_TIME_NOTIFICATION); },
                          [&](HWND dialog) {
                            shownInPicker = PickerTime(dialog);
                            typeOnOpen = static_cast<int>(
                                SendDlgItemMessageA(dialog, IDC_TIME_NOTIFICATION_TYPE, CB_GETCURSEL, 0, 0));
                            TypeText(dialog, IDC_TIME_NOTIFICATION_TITLE, "Meeting");
                            TypeText(dialog, IDC_TIME_NOTIFICATION_TEXT, "Room 4\r\nBring the slides");
                            SetPickerTime(dialog, due);
                            ChooseType(dialog, 1);
                            Press(dialog, IDC_TIME_NOTIFICATION_SAVE);
                          }));
  // A new editor shows the current local time and "Normal".
  EXPECT_TRUE(SameSecond(shownInPicker, m_now));
  EXPECT_EQ(typeOnOpen, 0);

  // Adding showed the time notifications and appended the row.
  EXPECT_EQ(CurrentKind(), static_cast<int>(RecordKind::TimeNotif));
  std::vector<Row> rows = m_main->Rows();
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_EQ(rows[0].texts, (std::vector<std::string>{"09:05:03 11/28/2003", "Meeting", "09:06:03 11/28/2003",
                                                     "Urgent Note"}));
  std::vector<DatabaseDataTimeNotif> stored = StoredNotifications();
  ASSERT_EQ(stored.size(), 1u);
  EXPECT_EQ(RecordTextOf(stored[0].text), "Room 4\r\nBring the slides");
  EXPECT_TRUE(SameSecond(stored[0].time, due));
  ASSERT_NE(PendingAt(rows[0].address), nullptr);

  m_now = AddSeconds(m_now, 59);
  m_main->Tick();
  m_now = AddSeconds(m_now, 1);  // the set second itself
  m_main->Tick();
  EXPECT_TRUE(m_boxes.shown.empty());
  EXPECT_TRUE(OpenReminders().empty());
  m_now = AddSeconds(m_now, 1);
  m_main->Tick();
  m_main->Tick();
  ASSERT_EQ(OpenReminders().size(), 1u);
  EXPECT_EQ(OpenReminders()[0].caption, "Meeting");
  EXPECT_EQ(OpenReminders()[0].text, "Room 4\r\nBring the slides");
  EXPECT_TRUE(OpenReminders()[0].urgent);
  EXPECT_TRUE(m_boxes.shown.empty());
  EXPECT_EQ(m_main->Rows().size(), 1u);
  PressOk(OpenReminders()[0]);
  EXPECT_TRUE(m_main->Rows().empty());
  EXPECT_TRUE(StoredNotifications().empty());
}

TEST_F(TimeNotificationTest, SavingWithAnEmptyFieldAsksForAllFieldsAndKeepsTheDialogOpen) {
  LoadPendingNotifications();
  bool stillOpenAfterTitleOnly = false;
  bool stillOpenAfterTextOnly = false;
  HWND editor = nullptr;
  ASSERT_TRUE(DriveEditor([this] { m_main->Command(IDM_ADD_TIME_NOTIFICATION); },
                          [&](HWND dialog) {
                            editor = dialog;
                            TypeText(dialog, IDC_TIME_NOTIFICATION_TITLE, "Title only");
                            Press(dialog, IDC_TIME_NOTIFICATION_SAVE);
                            stillOpenAfterTitleOnly = IsWindowVisible(dialog) != 0;
                            TypeText(dialog, IDC_TIME_NOTIFICATION_TITLE, "");
                            TypeText(dialog, IDC_TIME_NOTIFICATION_TEXT, "Text only");
                            Press(dialog, IDC_TIME_NOTIFICATION_SAVE);
                            stillOpenAfterTextOnly =
                                TextOf(dialog, IDC_TIME_NOTIFICATION_TEXT) == "Text only";
                            m_boxes.answer = kIdYes;  // to the discard question
                            Press(dialog, IDC_TIME_NOTIFICATION_CANCEL);
                          }));
  EXPECT_TRUE(stillOpenAfterTitleOnly);
  EXPECT_TRUE(stillOpenAfterTextOnly);
  ASSERT_EQ(m_boxes.shown.size(), 3u);
  EXPECT_EQ(m_boxes.shown[2].text, "Discard the changes to this time notification?");
  m_boxes.shown.pop_back();
  for (const ShownBox& box : m_boxes.shown) {
    EXPECT_EQ(box.text, "Please Fill in All fields.");
    EXPECT_EQ(box.caption, "Quillmate");
    EXPECT_EQ(box.style & 0xF0u, kMbIconInformation);
    // Owned by the editor, so the box is modal to it.
    EXPECT_EQ(box.owner, editor);
  }
  EXPECT_TRUE(StoredNotifications().empty());
  EXPECT_EQ(PendingNotifications.GetSize(), 0);
}

TEST_F(TimeNotificationTest, EditingShowsTheStoredValuesAndAChangeToALaterTimeFiresOnlyThenOnce) {
  const RecordTime first = AddSeconds(m_now, 30);
  const std::uint32_t address = StoreNotification("Call Ann", "About Friday", first, 0);
  LoadPendingNotifications();
  m_main->Command(IDM_SHOW_TIME_NOTIFICATIONS);
  m_main->FocusRow(0);

  const RecordTime later = AddSeconds(m_now, 300);
  std::string title, text;
  RecordTime picker{};
  int type = -1;
  m_now = AddSeconds(m_now, 5);  // the edit's own time, for the date column
  ASSERT_TRUE(DriveEditor([this] { m_main->Command(IDM_EDIT_CURRENT); },
                          [&](HWND dialog) {
                            title = TextOf(dialog, IDC_TIME_NOTIFICATION_TITLE);
                            text = TextOf(dialog, IDC_TIME_NOTIFICATION_TEXT);
                            picker = PickerTime(dialog);
                            type = static_cast<int>(
                                SendDlgItemMessageA(dialog, IDC_TIME_NOTIFICATION_TYPE, CB_GETCURSEL, 0, 0));
                            SetPickerTime(dialog, later);
                            ChooseType(dialog, 1);
                            Press(dialog, IDC_TIME_NOTIFICATION_SAVE);
                          }));
  EXPECT_EQ(title, "Call Ann");
  EXPECT_EQ(text, "About Friday");
  EXPECT_TRUE(SameSecond(picker, first));
  EXPECT_EQ(type, 0);

  std::vector<Row> rows = m_main->Rows();
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_EQ(rows[0].address, address);  // changed in place
  EXPECT_EQ(rows[0].texts, (std::vector<std::string>{"09:05:08 11/28/2003", "Call Ann", "09:10:03 11/28/2003",
                                                     "Urgent Note"}));
  ASSERT_EQ(PendingNotifications.GetSize(), 1);
  EXPECT_TRUE(SameSecond(PendingNotifications[0].time, later));

  // The old time passes without a reminder; the new one shows it once.
  m_now = AddSeconds(first, 1);
  m_main->Tick();
  EXPECT_TRUE(OpenReminders().empty());
  m_now = AddSeconds(later, 1);
  m_main->Tick();
  m_main->Tick();
  ASSERT_EQ(OpenReminders().size(), 1u);
  EXPECT_EQ(OpenReminders()[0].caption, "Call Ann");
  EXPECT_TRUE(OpenReminders()[0].urgent);
  PressOk(OpenReminders()[0]);

  // The edit command without a focused row opens nothing; nor does it while
  // the list shows another kind, whose focused row's address would name no
  // time notification.
  m_main->Command(IDM_SHOW_TIME_NOTIFICATIONS);
  EXPECT_FALSE(DriveEditor([this] { m_main->Command(IDM_EDIT_TIME_NOTIFICATION); },
                           [](HWND dialog) { Press(dialog, IDC_TIME_NOTIFICATION_CANCEL); }));
  ASSERT_EQ(TextNoteManager::AppendRecord(m_main->Handle(), {"A text note", "TextNote1.doc", 0}), 1);
  m_main->FocusRow(0);
  EXPECT_FALSE(DriveEditor([this] { m_main->Command(IDM_EDIT_TIME_NOTIFICATION); },
                           [](HWND dialog) { Press(dialog, IDC_TIME_NOTIFICATION_CANCEL); }));
}

TEST_F(TimeNotificationTest, CancelAfterEditingLeavesRecordRowAndPendingEntryUnchanged) {
  StoreNotification("Other", "x", AddSeconds(m_now, 100), 0);
  const std::uint32_t address = StoreNotification("Plants", "Water them", AddSeconds(m_now, 60), 1);
  LoadPendingNotifications();
  m_main->Command(IDM_SHOW_TIME_NOTIFICATIONS);
  const std::vector<Row> rowsBefore = m_main->Rows();
  const std::vector<DatabaseDataTimeNotif> storedBefore = StoredNotifications();
  const DatabaseDataTimeNotif pendingBefore = *PendingAt(address);
  m_main->FocusRow(m_main->RowOf(address));

  // Opened by the edit command and closed by Cancel, then opened by a double
  // click and closed by the close box, each time giving the changes up.
  m_boxes.answer = kIdYes;
  for (bool closeBox : {false, true}) {
    ASSERT_TRUE(DriveEditor(
        [this, closeBox] {
          if (closeBox) {
            m_main->DoubleClickRecordList();
          } else {
            m_main->Command(IDM_EDIT_TIME_NOTIFICATION);
          }
        },
        [&](HWND dialog) {
          TypeText(dialog, IDC_TIME_NOTIFICATION_TITLE, "Changed");
          TypeText(dialog, IDC_TIME_NOTIFICATION_TEXT, "Changed too");
          SetPickerTime(dialog, AddSeconds(m_now, 9999));
          ChooseType(dialog, 0);
          if (closeBox) {
            SendMessageA(dialog, WM_CLOSE, 0, 0);
          } else {
            Press(dialog, IDC_TIME_NOTIFICATION_CANCEL);
          }
        }));
    std::vector<Row> rowsAfter = m_main->Rows();
    ASSERT_EQ(rowsAfter.size(), rowsBefore.size());
    for (std::size_t i = 0; i < rowsAfter.size(); ++i) {
      EXPECT_EQ(rowsAfter[i].texts, rowsBefore[i].texts);
      EXPECT_EQ(rowsAfter[i].address, rowsBefore[i].address);
    }
    std::vector<DatabaseDataTimeNotif> storedAfter = StoredNotifications();
    ASSERT_EQ(storedAfter.size(), storedBefore.size());
    for (std::size_t i = 0; i < storedAfter.size(); ++i) {
      EXPECT_EQ(std::memcmp(&storedAfter[i], &storedBefore[i], sizeof storedAfter[i]), 0);
    }
    ASSERT_NE(PendingAt(address), nullptr);
    EXPECT_EQ(std::memcmp(PendingAt(address), &pendingBefore, sizeof pendingBefore), 0);
    EXPECT_EQ(PendingNotifications.GetSize(), 2);
  }
  // Cancelled with the edit flag set: the next editor makes a new record.
  ASSERT_TRUE(DriveEditor([this] { m_main->Command(IDM_ADD_TIME_NOTIFICATION); },
                          [&](HWND dialog) {
                            EXPECT_EQ(TextOf(dialog, IDC_TIME_NOTIFICATION_TITLE), "");
                            TypeText(dialog, IDC_TIME_NOTIFICATION_TITLE, std::string(300, 'N'));
                            TypeText(dialog, IDC_TIME_NOTIFICATION_TEXT, "new");
                            SetPickerTime(dialog, AddSeconds(m_now, 3600));
                            Press(dialog, IDC_TIME_NOTIFICATION_SAVE);
                          }));
  // A 300-character title is stored cut to 254 characters.
  std::vector<DatabaseDataTimeNotif> stored = StoredNotifications();
  ASSERT_EQ(stored.size(), 3u);
  EXPECT_EQ(RecordTextOf(stored[2].title), std::string(254, 'N'));
  // Only the two discard questions were asked.
  ASSERT_EQ(m_boxes.shown.size(), 2u);
  for (const ShownBox& box : m_boxes.shown) EXPECT_EQ(box.text, "Discard the changes to this time notification?");
}

TEST_F(TimeNotificationTest, AnEditorThatCannotBeCreatedReportsTheErrorAndOpensNothing) {
  LoadPendingNotifications();
  // A resource module with dialogs, but not dialog 9000.
  gApp.SetResourceInstance(LoadLibraryA("comdlg32.dll"));
  m_main->Command(IDM_ADD_TIME_NOTIFICATION);
  gApp.SetResourceInstance(nullptr);
  ASSERT_EQ(m_boxes.shown.size(), 1u);
  EXPECT_EQ(m_boxes.shown[0].text, "Error x716");  // ERROR_RESOURCE_NAME_NOT_FOUND
  EXPECT_EQ(m_boxes.shown[0].caption, "Dialog Box");
  EXPECT_EQ(m_boxes.shown[0].style & 0xF0u, kMbIconWarning);
  EXPECT_EQ(m_boxes.shown[0].owner, m_main->Handle());
  // The edit flag was not left set: a later editor makes a new record.
  ASSERT_TRUE(DriveEditor([this] { m_main->Command(IDM_ADD_TIME_NOTIFICATION); },
                          [&](HWND dialog) {
                            TypeText(dialog, IDC_TIME_NOTIFICATION_TITLE, "T");
                            TypeText(dialog, IDC_TIME_NOTIFICATION_TEXT, "t");
                            Press(dialog, IDC_TIME_NOTIFICATION_SAVE);
                          }));
  EXPECT_EQ(StoredNotifications().size(), 1u);
}

TEST_F(TimeNotificationTest, AnEditorKeepsItsRecordWhenANotificationFiresWhileItIsOpen) {
  const std::uint32_t before = StoreNotification("Before", "b", AddSeconds(m_now, 600), 0);
  const std::uint32_t edited = StoreNotification("Edited", "e", AddSeconds(m_now, 600), 0);
  const std::uint32_t firing = StoreNotification("Fires", "now", AddSeconds(m_now, 2), 1);
  LoadPendingNotifications();
  m_main->Command(IDM_SHOW_TIME_NOTIFICATIONS);
  m_main->FocusRow(m_main->RowOf(edited));

  const RecordTime newTime = AddSeconds(m_now, 900);
  ASSERT_TRUE(DriveEditor([this] { m_main->Command(IDM_EDIT_TIME_NOTIFICATION); },
                          [&](HWND dialog) {
                            TypeText(dialog, IDC_TIME_NOTIFICATION_TITLE, "Edited again");
                            SetPickerTime(dialog, newTime);
                            // The editor's loop dispatches the timer: "Fires"
                            // gets its reminder window.
                            m_now = AddSeconds(m_now, 3);
                            m_main->Tick();
                            EXPECT_EQ(OpenReminders().size(), 1u);
                            Press(dialog, IDC_TIME_NOTIFICATION_SAVE);
                          }));
  ASSERT_EQ(OpenReminders().size(), 1u);
  EXPECT_EQ(OpenReminders()[0].caption, "Fires");
  EXPECT_TRUE(m_boxes.shown.empty());
  PressOk(OpenReminders()[0]);

  std::vector<DatabaseDataTimeNotif> stored = StoredNotifications();
  ASSERT_EQ(stored.size(), 2u);
  EXPECT_EQ(stored[0].ownAddress, before);
  EXPECT_EQ(RecordTextOf(stored[0].title), "Before");
  EXPECT_EQ(stored[1].ownAddress, edited);
  EXPECT_EQ(RecordTextOf(stored[1].title), "Edited again");
  EXPECT_EQ(RecordTextOf(stored[1].text), "e");
  EXPECT_TRUE(SameSecond(stored[1].time, newTime));

  std::vector<Row> rows = m_main->Rows();
  ASSERT_EQ(rows.size(), 2u);
  ASSERT_EQ(m_main->RowOf(edited), 1);
  EXPECT_EQ(rows[1].texts.at(1), "Edited again");
  EXPECT_EQ(rows[1].texts.at(2), "09:20:03 11/28/2003");
  EXPECT_EQ(rows[0].texts.at(1), "Before");
  EXPECT_EQ(m_main->RowOf(firing), -1);

  ASSERT_NE(PendingAt(edited), nullptr);
  EXPECT_TRUE(SameSecond(PendingAt(edited)->time, newTime));
  EXPECT_EQ(PendingNotifications.GetSize(), 2);
}

TEST_F(TimeNotificationTest, AnEditorWhoseOwnNotificationFiresWhileItIsOpenChangesItAndTheReminderOnlyCloses) {
  const std::uint32_t other = StoreNotification("Other", "o", AddSeconds(m_now, 600), 0);
  const std::uint32_t edited = StoreNotification("Soon", "s", AddSeconds(m_now, 1), 0);
  LoadPendingNotifications();
  m_main->Command(IDM_SHOW_TIME_NOTIFICATIONS);
  m_main->FocusRow(m_main->RowOf(edited));

  const RecordTime newTime = AddSeconds(m_now, 3600);
  ASSERT_TRUE(DriveEditor([this] { m_main->Command(IDM_EDIT_TIME_NOTIFICATION); },
                          [&](HWND dialog) {
                            SetPickerTime(dialog, newTime);
                            TypeText(dialog, IDC_TIME_NOTIFICATION_TEXT, "snoozed by hand");
                            m_now = AddSeconds(m_now, 2);
                            m_main->Tick();  // "Soon" gets its reminder, and stays stored
                            Press(dialog, IDC_TIME_NOTIFICATION_SAVE);
                          }));
  ASSERT_EQ(OpenReminders().size(), 1u);
  EXPECT_EQ(OpenReminders()[0].caption, "Soon");
  // The edit stands: OK on the reminder shown before it only closes it.
  PressOk(OpenReminders()[0]);
  EXPECT_TRUE(OpenReminders().empty());
  // "Other" is untouched; the edit changed the record in place and armed it.
  std::vector<DatabaseDataTimeNotif> stored = StoredNotifications();
  ASSERT_EQ(stored.size(), 2u);
  const DatabaseDataTimeNotif* otherRecord = nullptr;
  const DatabaseDataTimeNotif* savedRecord = nullptr;
  for (const auto& record : stored) {
    (record.ownAddress == other ? otherRecord : savedRecord) = &record;
  }
  ASSERT_NE(otherRecord, nullptr);
  ASSERT_NE(savedRecord, nullptr);
  EXPECT_EQ(RecordTextOf(otherRecord->title), "Other");
  EXPECT_EQ(RecordTextOf(savedRecord->title), "Soon");
  EXPECT_EQ(RecordTextOf(savedRecord->text), "snoozed by hand");
  EXPECT_TRUE(SameSecond(savedRecord->time, newTime));
  EXPECT_EQ(savedRecord->ownAddress, edited);
  EXPECT_NE(PendingAt(savedRecord->ownAddress), nullptr);
  EXPECT_EQ(m_main->Rows().size(), 2u);
}

TEST_F(TimeNotificationTest, SavingATimeThatIsNotLaterThanNowAsksFirstAndNoKeepsEverythingAsTyped) {
  LoadPendingNotifications();
  const char* question = "The time of this notification has passed, so it will show at once. Save it anyway?";
  RecordTime pickerAfterNo{};
  std::string titleAfterNo;
  std::string textAfterNo;
  ASSERT_TRUE(DriveEditor([this] { m_main->Command(IDM_ADD_TIME_NOTIFICATION); },
                          [&](HWND dialog) {
                            // The picker is left at the current time, as it opened.
                            TypeText(dialog, IDC_TIME_NOTIFICATION_TITLE, "Call back");
                            TypeText(dialog, IDC_TIME_NOTIFICATION_TEXT, "about the offer");
                            m_boxes.answer = kIdNo;
                            Press(dialog, IDC_TIME_NOTIFICATION_SAVE);
                            titleAfterNo = TextOf(dialog, IDC_TIME_NOTIFICATION_TITLE);
                            textAfterNo = TextOf(dialog, IDC_TIME_NOTIFICATION_TEXT);
                            pickerAfterNo = PickerTime(dialog);
                            // A time already past asks too; Yes saves it.
                            SetPickerTime(dialog, AddSeconds(m_now, -600));
                            m_boxes.answer = kIdYes;
                            Press(dialog, IDC_TIME_NOTIFICATION_SAVE);
                          }));
  ASSERT_EQ(m_boxes.shown.size(), 2u);
  for (const ShownBox& box : m_boxes.shown) {
    EXPECT_EQ(box.text, question);
    EXPECT_EQ(box.caption, "Quillmate");
    EXPECT_EQ(box.style, kMbYesNo | kMbIconQuestion);
  }
  EXPECT_EQ(titleAfterNo, "Call back");
  EXPECT_EQ(textAfterNo, "about the offer");
  EXPECT_TRUE(SameSecond(pickerAfterNo, m_now));
  std::vector<DatabaseDataTimeNotif> stored = StoredNotifications();
  ASSERT_EQ(stored.size(), 1u);
  EXPECT_EQ(RecordTextOf(stored[0].title), "Call back");
  EXPECT_TRUE(SameSecond(stored[0].time, AddSeconds(m_now, -600)));

  // A later time saves without a question, new or edited.
  m_boxes.shown.clear();
  m_main->Command(IDM_SHOW_TIME_NOTIFICATIONS);
  m_main->FocusRow(0);
  ASSERT_TRUE(DriveEditor([this] { m_main->Command(IDM_EDIT_TIME_NOTIFICATION); },
                          [&](HWND dialog) {
                            SetPickerTime(dialog, AddSeconds(m_now, 1));
                            Press(dialog, IDC_TIME_NOTIFICATION_SAVE);
                          }));
  EXPECT_TRUE(m_boxes.shown.empty());
  EXPECT_TRUE(SameSecond(StoredNotifications().at(0).time, AddSeconds(m_now, 1)));
}

TEST_F(TimeNotificationTest, ANotificationFiringOverAnOpenEditorOpensAReminderAndTheEditorStaysActive) {
  StoreNotification("Tea", "The tea is ready", AddSeconds(m_now, 30), 0);
  LoadPendingNotifications();
  HWND editor = nullptr;
  HWND activeAfter = nullptr;
  HWND focusAfter = nullptr;
  HWND focusBefore = nullptr;
  BOOL mainEnabledAfter = TRUE;
  std::vector<ShownReminder> shown;
  ASSERT_TRUE(DriveEditor([this] { m_main->Command(IDM_ADD_TIME_NOTIFICATION); },
                          [&](HWND dialog) {
                            editor = dialog;
                            SetFocus(GetDlgItem(dialog, IDC_TIME_NOTIFICATION_TITLE));
                            focusBefore = GetFocus();
                            m_now = AddSeconds(m_now, 31);
                            m_main->Tick();
                            qmtest::PumpMessages();
                            shown = OpenReminders();
                            activeAfter = GetActiveWindow();
                            focusAfter = GetFocus();
                            mainEnabledAfter = IsWindowEnabled(m_main->Handle());
                            // The reminder is not disabled by the editor: it
                            // takes its OK while the editor stays open.
                            if (!shown.empty()) {
                              EXPECT_TRUE(IsWindowEnabled(shown[0].window));
                              PressOk(shown[0]);
                            }
                            Press(dialog, IDC_TIME_NOTIFICATION_CANCEL);
                          }));
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_EQ(shown[0].caption, "Tea");
  EXPECT_TRUE(m_boxes.shown.empty());
  EXPECT_EQ(activeAfter, editor);
  EXPECT_EQ(focusAfter, focusBefore);
  EXPECT_FALSE(mainEnabledAfter) << "a second editor could be opened over the first";
  EXPECT_TRUE(StoredNotifications().empty());
}
