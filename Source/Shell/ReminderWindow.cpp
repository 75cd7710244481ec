// CReminderWindow: filling the window, showing it without activation, and
// OK and Snooze on the record.
#include "Shell/ReminderWindow.h"

#include <commctrl.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iterator>

#include "Library/CComboBox.h"
#include "Library/CListView.h"
#include "Library/CModelessDialogs.h"
#include "Library/CWinApp.h"
#include "Managers/KindManager.h"
#include "Managers/ManagerWindows.h"
#include "Managers/RecordManager.h"
#include "Managers/TimeNotificationScheduler.h"
#include "Records/LocalClock.h"
#include "Records/MessageBoxSeam.h"
#include "Records/RecordStore.h"
#include "Records/RecordText.h"
#include "Resources/MainWindowIds.h"
#include "Resources/ReminderWindowIds.h"
#include "Shell/FirstStart.h"
#include "Shell/RegistryStrings.h"

namespace {

struct SnoozeChoice {
  int minutes;
  const char* text;
};
const SnoozeChoice kSnoozeChoices[] = {{5, "5 minutes"},  {10, "10 minutes"}, {15, "15 minutes"},
                                       {30, "30 minutes"}, {60, "1 hour"},     {24 * 60, "1 day"}};
constexpr int kDefaultSnoozeMinutes = 10;
// The last choice, in minutes, under the program's key (where the
// first-start marker lives).
constexpr const char* kSnoozeValueName = "ReminderSnooze";

// OK or Snooze tried again while another action holds a store open.
constexpr UINT_PTR kRetryTimerId = 1;
constexpr UINT kRetryMs = 250;

// Places of the cascade; the collection opens no more windows than this.
constexpr int kMaxCascade = CReminderWindow::kMaxOpen;

constexpr const char* kRemoveFailedText =
    "The reminder could not be removed from the time notifications. Please try again.";
constexpr const char* kSnoozeFailedText =
    "The reminder could not be snoozed: its time notification could not be changed. Please try again.";

int RememberedSnoozeIndex() {
  char text[kRegistryStringSize] = {};
  int minutes = kDefaultSnoozeMinutes;
  if (ReadRegistryString(kFirstStartKey, kSnoozeValueName, text)) minutes = std::atoi(text);
  for (std::size_t i = 0; i < std::size(kSnoozeChoices); ++i) {
    if (kSnoozeChoices[i].minutes == minutes) return static_cast<int>(i);
  }
  return 1;  // 10 minutes
}

RecordTime MinutesAfter(const RecordTime& time, int minutes) {
  SYSTEMTIME system;
  std::memcpy(&system, &time, sizeof system);
  FILETIME file;
  if (!SystemTimeToFileTime(&system, &file)) return time;
  ULARGE_INTEGER value;
  value.LowPart = file.dwLowDateTime;
  value.HighPart = file.dwHighDateTime;
  value.QuadPart += static_cast<ULONGLONG>(minutes) * 60ULL * 10000000ULL;
  file.dwLowDateTime = value.LowPart;
  file.dwHighDateTime = value.HighPart;
  if (!FileTimeToSystemTime(&file, &system)) return time;
  RecordTime later;
  std::memcpy(&later, &system, sizeof later);
  return later;
}

// The dismissed record's row goes when the list shows the time notifications.
void RemoveRow(HWND mainWindow, std::uint32_t address) {
  if (CurrentKind() != static_cast<int>(RecordKind::TimeNotif)) return;
  CListView list = RecordListOf(mainWindow);
  for (int item = 0, count = list.GetItemCount(); item < count; ++item) {
    if (static_cast<std::uint32_t>(list.GetItemParam(item)) == address) {
      list.DeleteItem(item);
      return;
    }
  }
}

// The cascade starts left of and above the work area's centre, so that ten
// windows, each a caption lower and to the right, stay on screen.
POINT CascadePlace(HWND window, int slot) {
  RECT area = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
  RECT bounds = {};
  GetWindowRect(window, &bounds);
  const int width = bounds.right - bounds.left;
  const int height = bounds.bottom - bounds.top;
  const int step = GetSystemMetrics(SM_CYCAPTION) + GetSystemMetrics(SM_CYFIXEDFRAME) + 2;
  const int span = step * (kMaxCascade - 1);
  POINT place;
  place.x = area.left + (area.right - area.left - width - span) / 2 + slot * step;
  place.y = area.top + (area.bottom - area.top - height - span) / 2 + slot * step;
  if (place.x + width > area.right) place.x = area.right - width;
  if (place.y + height > area.bottom) place.y = area.bottom - height;
  if (place.x < area.left) place.x = area.left;
  if (place.y < area.top) place.y = area.top;
  return place;
}

}  // namespace

CReminderWindow::CReminderWindow(const DatabaseDataTimeNotif& record, HWND mainWindow, ClosedCallback closed)
    : m_record(record),
      m_mainWindow(mainWindow),
      m_closed(closed),
      m_watch(RecordKind::TimeNotif, record.ownAddress),
      m_window(nullptr),
      m_slot(-1),
      m_waiting(Action::None) {}

CReminderWindow::~CReminderWindow() {
  Close();
}

bool CReminderWindow::Open(int slot) {
  // No owner: its own taskbar button, and it stays usable while an editor
  // disables the main window.
  m_window = CreateDialogParamA(gApp.GetResourceInstance(), MAKEINTRESOURCEA(IDD_REMINDER), nullptr, DialogProc,
                                reinterpret_cast<LPARAM>(this));
  if (m_window == nullptr) {
    const DWORD error = GetLastError();
    char text[64];
    std::snprintf(text, sizeof text, "Error x%lx", static_cast<unsigned long>(error));
    ShowMessageBox(nullptr, text, "Dialog Box", kMbOk | kMbIconWarning);
    return false;
  }
  CModelessDialogs::Register(m_window);
  m_slot = slot;
  const POINT topLeft = CascadePlace(m_window, slot);
  // On top, but the keyboard stays with whatever program the user types in:
  // the window is never activated here.
  SetWindowPos(m_window, HWND_TOPMOST, topLeft.x, topLeft.y, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE);
  ShowWindow(m_window, SW_SHOWNOACTIVATE);
  FLASHWINFO flash = {sizeof flash, m_window, FLASHW_ALL | FLASHW_TIMERNOFG, 0, 0};
  FlashWindowEx(&flash);
  return true;
}

void CReminderWindow::BringForward() const {
  if (m_window == nullptr) return;
  ShowWindow(m_window, SW_SHOWNORMAL);
  SetForegroundWindow(m_window);
}

void CReminderWindow::Close() {
  if (m_window == nullptr) return;
  HWND window = m_window;
  m_window = nullptr;
  DestroyWindow(window);
}

INT_PTR CALLBACK CReminderWindow::DialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    auto* reminder = reinterpret_cast<CReminderWindow*>(lParam);
    SetWindowLongPtrA(dialog, DWLP_USER, lParam);
    reminder->m_window = dialog;
    reminder->Initialise();
    // No focus now: setting it would activate the window. The dialog
    // manager gives it to OK once the user activates the window.
    return FALSE;
  }
  if (message == WM_DESTROY) CModelessDialogs::Unregister(dialog);
  auto* reminder = reinterpret_cast<CReminderWindow*>(GetWindowLongPtrA(dialog, DWLP_USER));
  if (reminder == nullptr || reminder->m_window != dialog) return FALSE;
  return reminder->Handle(message, wParam, lParam);
}

void CReminderWindow::Initialise() {
  SetWindowTextA(m_window, RecordTextOf(m_record.title).c_str());
  // Shared, so the icons are not ours to destroy.
  HINSTANCE instance = gApp.GetResourceInstance();
  HANDLE small = LoadImageA(instance, MAKEINTRESOURCEA(IDI_QUILLMATE), IMAGE_ICON, 16, 16, LR_SHARED);
  HANDLE large = LoadImageA(instance, MAKEINTRESOURCEA(IDI_QUILLMATE), IMAGE_ICON, 32, 32, LR_SHARED);
  if (small) SendMessageA(m_window, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small));
  if (large) SendMessageA(m_window, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(large));
  HICON urgency = LoadIconA(nullptr, m_record.type == 1 ? IDI_WARNING : IDI_INFORMATION);
  SendDlgItemMessageA(m_window, IDC_REMINDER_ICON, STM_SETICON, reinterpret_cast<WPARAM>(urgency), 0);

  SetDlgItemTextA(m_window, IDC_REMINDER_TEXT, RecordTextOf(m_record.text).c_str());
  const RecordTime& time = m_record.time;
  char when[64];
  std::snprintf(when, sizeof when, "Set for %02u:%02u:%02u - %02u/%02u/%04u", unsigned(time.hour),
                unsigned(time.minute), unsigned(time.second), unsigned(time.month), unsigned(time.day),
                unsigned(time.year));
  SetDlgItemTextA(m_window, IDC_REMINDER_TIME, when);

  CComboBox choices(m_window, IDC_REMINDER_SNOOZE_CHOICE);
  for (const SnoozeChoice& choice : kSnoozeChoices) choices.AddString(choice.text);
  // Every choice at once, none scrolled out of the open list.
  SendDlgItemMessageA(m_window, IDC_REMINDER_SNOOZE_CHOICE, CB_SETMINVISIBLE, std::size(kSnoozeChoices), 0);
  choices.SetCurSel(RememberedSnoozeIndex());
}

INT_PTR CReminderWindow::Handle(UINT message, WPARAM wParam, LPARAM) {
  switch (message) {
    case WM_COMMAND:
      switch (LOWORD(wParam)) {
        case IDOK:
          Request(Action::Dismiss);
          return TRUE;
        case IDC_REMINDER_SNOOZE:
          Request(Action::Snooze);
          return TRUE;
        case IDCANCEL:
          // Esc neither dismisses nor snoozes: a key meant for another
          // window must not make a reminder go away.
          return TRUE;
        default:
          return FALSE;
      }
    case WM_TIMER:
      if (wParam == kRetryTimerId) CarryOut();
      return TRUE;
    default:
      return FALSE;
  }
}

void CReminderWindow::Request(Action action) {
  if (m_waiting != Action::None) return;
  m_waiting = action;
  CarryOut();
}

void CReminderWindow::CarryOut() {
  if (m_window == nullptr || m_waiting == Action::None) return;
  // Deleted or edited meanwhile: what was done to the record stands.
  bool done = IsStale();
  if (!done) {
    // A store is open behind a box of another action: touching the file
    // now would be undone when that action writes back its header copy.
    if (RecordStore::LiveCount() > 0) {
      SetTimer(m_window, kRetryTimerId, kRetryMs, nullptr);
      return;
    }
    done = m_waiting == Action::Dismiss ? Dismiss() : Snooze();
  }
  KillTimer(m_window, kRetryTimerId);
  m_waiting = Action::None;
  if (!done) return;
  Close();
  if (m_closed) m_closed(this);
}

bool CReminderWindow::Dismiss() {
  if (!RemoveNotificationRecord(Address())) {
    ShowMessageBox(m_window, kRemoveFailedText, "Quillmate", kMbOk | kMbIconWarning);
    return false;
  }
  RemoveRow(m_mainWindow, Address());
  return true;
}

bool CReminderWindow::Snooze() {
  const int index = CComboBox(m_window, IDC_REMINDER_SNOOZE_CHOICE).GetCurSel();
  const int minutes = index >= 0 && index < static_cast<int>(std::size(kSnoozeChoices))
                          ? kSnoozeChoices[index].minutes
                          : kDefaultSnoozeMinutes;
  TimeNotifValues values;
  bool changed = TimeNotifManager::GetRecordAt(Address(), values) != 0;
  if (changed) {
    values.time = MinutesAfter(LocalNow(), minutes);
    // A change as the editor makes one: the scheduler arms the new time.
    changed = TimeNotifManager::ChangeRecordAt(m_mainWindow, Address(), values) != 0;
  }
  if (!changed) {
    ShowMessageBox(m_window, kSnoozeFailedText, "Quillmate", kMbOk | kMbIconWarning);
    return false;
  }
  char text[16];
  std::snprintf(text, sizeof text, "%d", minutes);
  WriteRegistryString(kFirstStartKey, kSnoozeValueName, text);
  return true;
}
