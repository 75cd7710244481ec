// The time notification editor: its controls and how they are saved; the
// opening and ending are CEditorDialog's.
#include "Managers/TimeNotificationEditor.h"

#include <cstring>
#include <iterator>

#include "Library/CComboBox.h"
#include "Library/CDateTime.h"
#include "Library/CEdit.h"
#include "Managers/CEditorDialog.h"
#include "Managers/RecordManager.h"
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
    CComboBox type(Dialog(), IDC_TIME_NOTIFICATION_TYPE);
    type.AddString("Normal");
    type.AddString("Urgent");
    type.SetCurSel(0);

    TimeNotifValues values;
    if (!IsEdit() || !TimeNotifManager::GetRecordAt(RecordAddress(), values)) {
      SYSTEMTIME now = ToSystemTime(LocalNow());
      picker.SetTime(&now);
      return;
    }
    SetText(IDC_TIME_NOTIFICATION_TITLE, values.title);
    SetText(IDC_TIME_NOTIFICATION_TEXT, values.text);
    // The list knows two types; anything but 1 is shown, and saved, as normal.
    type.SetCurSel(values.type == 1 ? 1 : 0);
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
    int type = CComboBox(Dialog(), IDC_TIME_NOTIFICATION_TYPE).GetCurSel();
    if (CEdit(Dialog(), IDC_TIME_NOTIFICATION_TEXT).GetTextLength() == 0 ||
        CEdit(Dialog(), IDC_TIME_NOTIFICATION_TITLE).GetTextLength() == 0) {
      ShowBox("Please Fill in All fields.", "Quillmate", kMbOk | kMbIconInformation);
      return;
    }
    TimeNotifValues values;
    values.title = Text(IDC_TIME_NOTIFICATION_TITLE);
    values.text = Text(IDC_TIME_NOTIFICATION_TEXT);
    values.time = time;
    values.type = type == 1 ? 1 : 0;
    // A failure was reported; the dialog stays open with what was typed.
    const int stored = ChangesOpenedRecord()
                           ? TimeNotifManager::ChangeRecordAt(MainWindow(), RecordAddress(), values)
                           : TimeNotifManager::AppendRecord(MainWindow(), values);
    if (stored) End(1);
  }
};

}  // namespace

int OpenTimeNotificationEditor(HWND mainWindow, bool edit) {
  CTimeNotificationEditor editor;
  return editor.Run(mainWindow, edit);
}
