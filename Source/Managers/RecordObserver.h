// Hooks through which other parts follow the changes the managers make to a
// kind's records. The time-notification scheduler installs one for
// RecordKind::TimeNotif to keep its pending list in step with the store:
//   onAdded      after a record was added and its row appended;
//   onChanged    after a record was rewritten successfully (a failed write
//                calls nothing, the stored record is unchanged);
//   onRemoved    after one record was deleted (its address);
//   onRemovedAll after "Delete All" was confirmed and carried out.
// Record pointers point at the kind's DatabaseData record with its own
// address set; they are valid only during the call. Empty hooks are skipped.
#ifndef QUILLMATE_MANAGERS_RECORDOBSERVER_H
#define QUILLMATE_MANAGERS_RECORDOBSERVER_H

#include <cstdint>
#include <functional>

#include "Records/RecordKind.h"

struct RecordObserver {
  std::function<void(const void* record)> onAdded;
  std::function<void(const void* record)> onChanged;
  std::function<void(std::uint32_t address)> onRemoved;
  std::function<void()> onRemovedAll;
};

// Replaces the kind's observer (an empty RecordObserver removes it).
void SetRecordObserver(RecordKind kind, RecordObserver observer);
const RecordObserver& RecordObserverOf(RecordKind kind);

#endif  // QUILLMATE_MANAGERS_RECORDOBSERVER_H
