// Loading, the due test, taking the due ones and removing a dismissed one.
#include "Managers/TimeNotificationScheduler.h"

#include "Managers/PendingNotifications.h"
#include "Managers/RecordObserver.h"
#include "Managers/RecordWatch.h"
#include "Records/DatabaseObject.h"

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
  observer.onRemoved = [](std::uint32_t address) { DisarmNotification(address); };
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
  // A record that cannot be read at all (warned about) is never armed at a
  // start either: there is nothing left to remove.
  if (store->ReadRecord(address) == RecordReadStatus::ReadFailed) {
    CloseStore(store);
    return true;
  }
  bool deleted = store->DeleteRecord() != 0;
  CloseStore(store);
  if (deleted) CRecordWatch::NoteDeleted(RecordKind::TimeNotif, address);
  return deleted;
}

std::vector<DatabaseDataTimeNotif> TakeDueNotifications(const RecordTime& now,
                                                        const std::function<bool(std::uint32_t)>& held) {
  std::vector<DatabaseDataTimeNotif> due;
  // Removing a record now would be undone when the interrupted action
  // writes back its older copy of the file header.
  if (RecordStore::LiveCount() > 0) return due;
  for (int i = 0; i < PendingNotifications.GetSize();) {
    const DatabaseDataTimeNotif& element = PendingNotifications[i];
    if (!IsNotificationDue(element.time, now) || (held && held(element.ownAddress))) {
      ++i;
      continue;
    }
    due.push_back(element);
    PendingNotifications.RemoveAt(i);
  }
  return due;
}
