// The live watches form a singly linked list: one per open editor, open or
// waiting reminder, all on the user-interface thread.
#include "Managers/RecordWatch.h"

namespace {
CRecordWatch* gFirstWatch = nullptr;
}

CRecordWatch::CRecordWatch(RecordKind kind, std::uint32_t address)
    : m_kind(kind), m_address(address), m_deleted(false), m_changed(false), m_next(gFirstWatch) {
  gFirstWatch = this;
}

CRecordWatch::~CRecordWatch() {
  for (CRecordWatch** link = &gFirstWatch; *link != nullptr; link = &(*link)->m_next) {
    if (*link == this) {
      *link = m_next;
      break;
    }
  }
}

void CRecordWatch::NoteDeleted(RecordKind kind, std::uint32_t address) {
  for (CRecordWatch* watch = gFirstWatch; watch != nullptr; watch = watch->m_next) {
    // A deleted record's block may be reused: the watch stays deleted.
    if (watch->m_kind == kind && watch->m_address == address) watch->m_deleted = true;
  }
}

void CRecordWatch::NoteChanged(RecordKind kind, std::uint32_t address) {
  for (CRecordWatch* watch = gFirstWatch; watch != nullptr; watch = watch->m_next) {
    if (watch->m_kind == kind && watch->m_address == address && !watch->m_deleted) watch->m_changed = true;
  }
}
