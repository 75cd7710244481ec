// One observer slot per kind.
#include "Managers/RecordObserver.h"

#include <utility>

namespace {

RecordObserver& Slot(RecordKind kind) {
  static RecordObserver observers[kRecordKindCount];
  return observers[static_cast<int>(kind)];
}

}  // namespace

void SetRecordObserver(RecordKind kind, RecordObserver observer) {
  Slot(kind) = std::move(observer);
}

const RecordObserver& RecordObserverOf(RecordKind kind) {
  return Slot(kind);
}
