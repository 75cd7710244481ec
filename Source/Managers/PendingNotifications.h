// PendingNotifications: the time notifications that have not been shown yet,
// whole records held by value, each with its own store address as the link to
// its record and its list row. The scheduler reads it on every tick; the
// time-notification manager keeps it in step with the store through the
// functions below.
#ifndef QUILLMATE_MANAGERS_PENDINGNOTIFICATIONS_H
#define QUILLMATE_MANAGERS_PENDINGNOTIFICATIONS_H

#include <cstdint>

#include "Library/CSimpleArray.h"
#include "Records/DatabaseData.h"

extern CSimpleArray<DatabaseDataTimeNotif> PendingNotifications;

// Arms a stored notification: appends a copy of the record, whose ownAddress
// must be its store address. False when the list cannot grow (the record
// stays stored but unarmed until the next start).
bool ArmNotification(const DatabaseDataTimeNotif& record);

// Removes every element whose own address is address; returns how many.
int DisarmNotification(std::uint32_t address);

// Empties the list.
void DisarmAllNotifications();

#endif  // QUILLMATE_MANAGERS_PENDINGNOTIFICATIONS_H
