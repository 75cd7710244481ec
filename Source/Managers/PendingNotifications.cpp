// The process-wide pending list and the three changes the manager makes to it.
#include "Managers/PendingNotifications.h"

CSimpleArray<DatabaseDataTimeNotif> PendingNotifications;

bool ArmNotification(const DatabaseDataTimeNotif& record) {
  return PendingNotifications.Add(record);
}

int DisarmNotification(std::uint32_t address) {
  int removed = 0;
  for (int i = 0; i < PendingNotifications.GetSize();) {
    if (PendingNotifications[i].ownAddress == address) {
      PendingNotifications.RemoveAt(i);
      ++removed;
    } else {
      ++i;
    }
  }
  return removed;
}

void DisarmAllNotifications() {
  PendingNotifications.SetSize(0);
}
