// The time-notification scheduler: loads the stored notifications into
// PendingNotifications at start-up, checks them on every tick of the main
// window's 500 ms timer and shows each one once, as a message box, when its
// time has passed; a shown notification is gone from the store, the pending
// list and the record list.
#ifndef QUILLMATE_MANAGERS_TIMENOTIFICATIONSCHEDULER_H
#define QUILLMATE_MANAGERS_TIMENOTIFICATIONSCHEDULER_H

#include <windows.h>

#include <cstdint>

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

// Called on every WM_TIMER of the main window: shows each due notification
// in a box owned by mainWindow after removing it from the pending list and
// the store and showing the time-notification list. Re-entered from the
// boxes' own message loops; safe because nothing is shown twice.
void CheckNotifications(HWND mainWindow);

// Reads the time-notification record at address (checking its CRC) and
// deletes it from the store. Returns whether it was deleted.
bool RemoveNotificationRecord(std::uint32_t address);

#endif  // QUILLMATE_MANAGERS_TIMENOTIFICATIONSCHEDULER_H
