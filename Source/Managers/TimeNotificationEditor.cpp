// The dialog procedure of the time notification editor and its opener.
#include "Managers/TimeNotificationEditor.h"

#include <cstdint>
#include <cstring>
#include <memory>

#include "Library/CComboBox.h"
#include "Library/CDateTime.h"
#include "Library/CEdit.h"
#include "Library/CListView.h"
#include "Library/CString.h"
#include "Library/CWinApp.h"
#include "Managers/ManagerWindows.h"
#include "Managers/RecordManager.h"
#include "Managers/RecordWatch.h"
#include "Records/LocalClock.h"
#include "Records/MessageBoxSeam.h"
#include "Resources/MainWindowIds.h"
#include "Resources/TimeNotificationEditorIds.h"

namespace {

// Set by the opener in edit mode and cleared by every way the dialog ends.
bool gTimeNotificationEditFlag = false;

struct EditorState {
  HWND mainWindow;
  // Edit mode: the record the editor was opened on.
  std::unique_ptr<CRecordWatch> openedRecord;
};

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

std::string ControlText(HWND dialog, int id) {
  CString text;
  CEdit(dialog, id).GetText(text);
  return std::string(text.GetString(), text.GetLength());
}

void OnInitDialog(HWND dialog, EditorState& state) {
  // Shared, so the icon is not ours to destroy.
  HANDLE icon =
      LoadImageA(gApp.GetResourceInstance(), MAKEINTRESOURCEA(IDI_QUILLMATE), IMAGE_ICON, 16, 16, LR_SHARED);
  if (icon != nullptr) SendMessageA(dialog, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));

  CDateTime picker(dialog, IDC_TIME_NOTIFICATION_TIME);
  picker.SetFormat(kNotificationTimeFormat);
  CComboBox type(dialog, IDC_TIME_NOTIFICATION_TYPE);
  type.AddString("Normal");
  type.AddString("Urgent");
  type.SetCurSel(0);

  if (!gTimeNotificationEditFlag) {
    SYSTEMTIME now = ToSystemTime(LocalNow());
    picker.SetTime(&now);
    return;
  }
  TimeNotifValues values;
  // The opener has just taken the focused row's address; nothing has run
  // since, so the focused record is the one the editor keeps.
  TimeNotifManager::GetFocusedRecord(state.mainWindow, values);
  CEdit(dialog, IDC_TIME_NOTIFICATION_TITLE).SetText(values.title.c_str());
  CEdit(dialog, IDC_TIME_NOTIFICATION_TEXT).SetText(values.text.c_str());
  // The list knows two types; anything but 1 is shown, and saved, as normal.
  type.SetCurSel(values.type == 1 ? 1 : 0);
  SYSTEMTIME time = ToSystemTime(values.time);
  picker.SetTime(&time);
}

void EndEditor(HWND dialog, INT_PTR result) {
  gTimeNotificationEditFlag = false;
  EndDialog(dialog, result);
}

void OnSave(HWND dialog, EditorState& state) {
  // The picker's value is read over the current time, which stays when the
  // picker has none to give.
  RecordTime time = LocalNow();
  SYSTEMTIME picked = ToSystemTime(time);
  if (CDateTime(dialog, IDC_TIME_NOTIFICATION_TIME).GetTime(&picked) == GDT_VALID) {
    time = ToRecordTime(picked);
  }
  int type = CComboBox(dialog, IDC_TIME_NOTIFICATION_TYPE).GetCurSel();
  if (CEdit(dialog, IDC_TIME_NOTIFICATION_TEXT).GetTextLength() == 0 ||
      CEdit(dialog, IDC_TIME_NOTIFICATION_TITLE).GetTextLength() == 0) {
    ShowMessageBox(nullptr, "Please Fill in All fields.", "Quillmate", kMbOk | kMbIconInformation);
    return;
  }
  TimeNotifValues values;
  values.title = ControlText(dialog, IDC_TIME_NOTIFICATION_TITLE);
  values.text = ControlText(dialog, IDC_TIME_NOTIFICATION_TEXT);
  values.time = time;
  values.type = type == 1 ? 1 : 0;
  if (gTimeNotificationEditFlag && !state.openedRecord->IsDeleted()) {
    TimeNotifManager::ChangeRecordAt(state.mainWindow, state.openedRecord->Address(), values);
  } else {
    TimeNotifManager::AppendRecord(state.mainWindow, values);
  }
  EndEditor(dialog, 1);
}

INT_PTR CALLBACK EditorProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    SetWindowLongPtrA(dialog, DWLP_USER, lParam);
    OnInitDialog(dialog, *reinterpret_cast<EditorState*>(lParam));
    return TRUE;
  }
  auto* state = reinterpret_cast<EditorState*>(GetWindowLongPtrA(dialog, DWLP_USER));
  if (state == nullptr) return FALSE;
  switch (message) {
    case WM_COMMAND:
      switch (LOWORD(wParam)) {
        case IDC_TIME_NOTIFICATION_SAVE:
          OnSave(dialog, *state);
          return TRUE;
        case IDC_TIME_NOTIFICATION_CANCEL:
        case IDCANCEL:  // Escape
          EndEditor(dialog, 2);
          return TRUE;
      }
      return FALSE;
    case WM_CLOSE:
      EndEditor(dialog, 2);
      return TRUE;
  }
  return FALSE;
}

}  // namespace

int OpenTimeNotificationEditor(HWND mainWindow, bool edit) {
  EditorState state{mainWindow, nullptr};
  if (edit) {
    // The focused row's address names a time notification only while the
    // list shows them.
    if (CurrentKind() != static_cast<int>(RecordKind::TimeNotif)) return 0;
    CListView list = RecordListOf(mainWindow);
    int focused = list.GetFocusedItem();
    if (focused < 0) return 0;
    state.openedRecord = std::make_unique<CRecordWatch>(
        RecordKind::TimeNotif, static_cast<std::uint32_t>(list.GetItemParam(focused)));
    gTimeNotificationEditFlag = true;
  }
  INT_PTR result = DialogBoxParamA(gApp.GetResourceInstance(), MAKEINTRESOURCEA(IDD_TIME_NOTIFICATION),
                                   mainWindow, EditorProc, reinterpret_cast<LPARAM>(&state));
  if (result == -1 || result == 0) {
    DWORD error = GetLastError();
    gTimeNotificationEditFlag = false;
    CString text;
    text.Format("Error x%x", error);
    ShowMessageBox(mainWindow, text.GetString(), "Dialog Box", kMbOk | kMbIconWarning);
    return 0;
  }
  return static_cast<int>(result);
}
