// Loading, the due test, the check and the removal of shown notifications.
#include "Managers/TimeNotificationScheduler.h"

#include <string>

#include "Managers/CEditorDialog.h"
#include "Managers/KindManager.h"
#include "Managers/PendingNotifications.h"
#include "Managers/RecordObserver.h"
#include "Managers/RecordWatch.h"
#include "Records/DatabaseObject.h"
#include "Records/LocalClock.h"
#include "Records/MessageBoxSeam.h"
#include "Records/RecordText.h"

namespace {

// The manager reports every add, change and deletion of a time notification;
// the pending list follows. A change re-arms the record with its new time.
void InstallNotificationObserver() {
  RecordObserver observer;
  observer.onAdded = [](const void* record) {
    ArmNotification(*static_cast<const DatabaseDataTimeNotif*>(record));
  };
  observer.onChanged = [](const void* record) {
    const auto& changed = *static_cast<const DatabaseDataTimeNotif*>(record);
    DisarmNotification(changed.ownAddress);
    ArmNotification(changed);
  };
  observer.onRemoved = [](std::uint32_t address) {
    DisarmNotification(address);
    CRecordWatch::NoteDeleted(RecordKind::TimeNotif, address);
  };
  observer.onRemovedAll = [] { DisarmAllNotifications(); };
  SetRecordObserver(RecordKind::TimeNotif, std::move(observer));
}

}  // namespace

bool IsNotificationDue(const RecordTime& notificationTime, const RecordTime& now) {
  const std::uint16_t due[] = {notificationTime.year, notificationTime.month,  notificationTime.day,
                               notificationTime.hour, notificationTime.minute, notificationTime.second};
  const std::uint16_t current[] = {now.year, now.month, now.day, now.hour, now.minute, now.second};
  for (int i = 0; i < 6; ++i) {
    if (due[i] != current[i]) return due[i] < current[i];
  }
  return false;
}

void LoadPendingNotifications() {
  InstallNotificationObserver();
  DisarmAllNotifications();
  auto store = OpenStore<DatabaseDataTimeNotif>();
  if (!store) return;
  store->ForEachRecordOf([](const DatabaseDataTimeNotif& record, std::uint32_t) { ArmNotification(record); });
  CloseStore(store);
}

bool RemoveNotificationRecord(std::uint32_t address) {
  if (address == 0) return false;
  auto store = OpenStore<DatabaseDataTimeNotif>();
  if (!store) return false;
  // A CRC mismatch is shown by the store; the record is deleted all the same.
  store->ReadRecord(address);
  bool deleted = store->DeleteRecord() != 0;
  CloseStore(store);
  if (deleted) CRecordWatch::NoteDeleted(RecordKind::TimeNotif, address);
  return deleted;
}

namespace {

// True while a notification's box is open. The box dispatches timer ticks; a
// tick then shows nothing, and the check that opened the box shows the next
// due notification after it. Boxes come one after another from one level, so
// hundreds due at once cannot nest hundreds of message loops.
bool gShowingNotification = false;

struct ShowingNotification {
  ShowingNotification() { gShowingNotification = true; }
  ~ShowingNotification() { gShowingNotification = false; }
};

// While an editor is open the box is its: the main window stays disabled
// behind the editor, and the editor is the active window again afterwards.
void ShowNotificationBox(HWND mainWindow, const std::string& title, const std::string& text, int type) {
  HWND editor = CEditorDialog::OpenEditorWindow();
  ShowMessageBox(editor != nullptr ? editor : mainWindow, text.c_str(), title.c_str(),
                 kMbOk | (type == 1 ? kMbIconWarning : kMbIconInformation));
  if (editor != nullptr && IsWindow(editor)) SetActiveWindow(editor);
}

}  // namespace

void CheckNotifications(HWND mainWindow) {
  if (gShowingNotification) return;
  // A tick dispatched by a box that an open store is showing (its CRC warning)
  // waits: removing a record now would be undone when the interrupted action
  // writes back its older copy of the file header. The next tick checks again.
  if (RecordStore::LiveCount() > 0) return;
  const RecordTime now = LocalNow();
  for (int i = 0; i < PendingNotifications.GetSize(); ++i) {
    const DatabaseDataTimeNotif element = PendingNotifications[i];
    if (!IsNotificationDue(element.time, now)) continue;
    const std::string title = RecordTextOf(element.title);
    const std::string text = RecordTextOf(element.text);
    const int type = element.type;
    // Out of the list before anything that can show a box, so that it is
    // shown once.
    DisarmNotification(element.ownAddress);
    ShowingNotification showing;
    RemoveNotificationRecord(element.ownAddress);
    ShowRecords(RecordKind::TimeNotif, mainWindow);
    ShowNotificationBox(mainWindow, title, text, type);
    // The element now at i is examined at the next tick.
  }
}
