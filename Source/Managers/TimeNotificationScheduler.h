// The time-notification scheduler: loads the stored notifications into
// PendingNotifications at start-up and, on every tick of the main window's
// 500 ms timer, takes out of that list the ones whose time has passed, so
// that each is handed on once. The record stays in the store until the user
// dismisses its reminder (RemoveNotificationRecord): a reminder that was
// never dismissed is armed again at the next start.
#ifndef QUILLMATE_MANAGERS_TIMENOTIFICATIONSCHEDULER_H
#define QUILLMATE_MANAGERS_TIMENOTIFICATIONSCHEDULER_H

#include <windows.h>

#include <cstdint>
#include <functional>
#include <vector>

#include "Records/DatabaseData.h"
#include "Records/RecordTime.h"

// True when notificationTime is strictly earlier than now, compared by year,
// month, day, hour, minute and second; the day of the week and the
// milliseconds take no part. A notification for 10:00:00 is due from
// 10:00:01 on.
bool IsNotificationDue(const RecordTime& notificationTime, const RecordTime& now);

// Called once at start-up, after the stores exist: arms every stored
// notification (times in the past included) and installs the
// time-notification manager's observer that keeps the list in step with
// later adds, changes and deletions. Replaces whatever the list held.
void LoadPendingNotifications();

// Takes every element due at now out of the pending list and returns copies
// in list order, except those for which held(address) is true (a reminder of
// that record is still on screen): they stay armed for a later tick. Returns
// nothing while a store is open (RecordStore::LiveCount): the tick came from
// a box that an interrupted store action shows, and is repeated by the next.
std::vector<DatabaseDataTimeNotif> TakeDueNotifications(const RecordTime& now,
                                                        const std::function<bool(std::uint32_t)>& held);

// Reads the time-notification record at address (checking its CRC) and
// deletes it from the store. Returns whether it is gone: deleted, or not
// readable at all (which no start arms either); false when the store could
// not be opened or the deletion failed.
bool RemoveNotificationRecord(std::uint32_t address);

#endif  // QUILLMATE_MANAGERS_TIMENOTIFICATIONSCHEDULER_H
