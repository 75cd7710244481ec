// The time notification editor: its controls and how they are saved; the
// opening and ending are CEditorDialog's.
#include "Managers/TimeNotificationEditor.h"

#include <cstring>
#include <iterator>

#include "Library/CDateTime.h"
#include "Library/CEdit.h"
#include "Managers/CEditorDialog.h"
#include "Managers/RecordManager.h"
#include "Managers/TimeNotificationScheduler.h"
#include "Managers/UrgencyList.h"
#include "Records/LocalClock.h"
#include "Records/MessageBoxSeam.h"
#include "Resources/TimeNotificationEditorIds.h"

namespace {

SYSTEMTIME ToSystemTime(const RecordTime& time) {
  SYSTEMTIME result;
  std::memcpy(&result, &time, sizeof result);
  return result;
}

RecordTime ToRecordTime(const SYSTEMTIME& time) {
  RecordTime result;
  std::memcpy(&result, &time, sizeof result);
  return result;
}

constexpr const char* kPastTimeQuestion =
    "The time of this notification has passed, so it will show at once. Save it anyway?";

const int kTextFields[] = {IDC_TIME_NOTIFICATION_TITLE, IDC_TIME_NOTIFICATION_TEXT};

const EditorTemplate kTemplate = {IDD_TIME_NOTIFICATION, RecordKind::TimeNotif, IDC_TIME_NOTIFICATION_SAVE,
                                  IDC_TIME_NOTIFICATION_CANCEL, kTextFields, std::size(kTextFields), false};

class CTimeNotificationEditor : public CEditorDialog {
 public:
  CTimeNotificationEditor() : CEditorDialog(kTemplate) {}

 private:
  void OnInit() override {
    CDateTime picker(Dialog(), IDC_TIME_NOTIFICATION_TIME);
    picker.SetFormat(kNotificationTimeFormat);
    FillUrgencyList(Dialog(), IDC_TIME_NOTIFICATION_TYPE, 0);

    TimeNotifValues values;
    if (!IsEdit() || !TimeNotifManager::GetRecordAt(RecordAddress(), values)) {
      SYSTEMTIME now = ToSystemTime(LocalNow());
      picker.SetTime(&now);
      return;
    }
    SetText(IDC_TIME_NOTIFICATION_TITLE, values.title);
    SetText(IDC_TIME_NOTIFICATION_TEXT, values.text);
    // The list knows two types; anything but 1 is shown, and saved, as normal.
    FillUrgencyList(Dialog(), IDC_TIME_NOTIFICATION_TYPE, values.type);
    SYSTEMTIME time = ToSystemTime(values.time);
    picker.SetTime(&time);
  }

  void OnSave() override {
    // The picker's value is read over the current time, which stays when the
    // picker has none to give.
    RecordTime time = LocalNow();
    SYSTEMTIME picked = ToSystemTime(time);
    if (CDateTime(Dialog(), IDC_TIME_NOTIFICATION_TIME).GetTime(&picked) == GDT_VALID) {
      time = ToRecordTime(picked);
    }
    const bool noTitle = CEdit(Dialog(), IDC_TIME_NOTIFICATION_TITLE).GetTextLength() == 0;
    if (noTitle || CEdit(Dialog(), IDC_TIME_NOTIFICATION_TEXT).GetTextLength() == 0) {
      AskToFill("Please Fill in All fields.", noTitle ? IDC_TIME_NOTIFICATION_TITLE : IDC_TIME_NOTIFICATION_TEXT);
      return;
    }
    // A time not later than now fires at the next tick and is gone: most
    // likely the picker was left at its starting time. Ask before that.
    if (!IsNotificationDue(LocalNow(), time) &&
        ShowBox(kPastTimeQuestion, "Quillmate", kMbYesNo | kMbIconQuestion) != kIdYes) {
      return;
    }
    TimeNotifValues values;
    values.title = Text(IDC_TIME_NOTIFICATION_TITLE);
    values.text = Text(IDC_TIME_NOTIFICATION_TEXT);
    values.time = time;
    values.type = SelectedUrgency(Dialog(), IDC_TIME_NOTIFICATION_TYPE);
    if (StoreValues<TimeNotifManager>(values)) End(1);
  }
};

}  // namespace

int OpenTimeNotificationEditor(HWND mainWindow, bool edit) {
  CTimeNotificationEditor editor;
  return editor.Run(mainWindow, edit);
}
