// The live watches form a singly linked list; there is rarely more than one
// (one per open editor), all on the user-interface thread.
#include "Managers/RecordWatch.h"

namespace {
CRecordWatch* gFirstWatch = nullptr;
}

CRecordWatch::CRecordWatch(RecordKind kind, std::uint32_t address)
    : m_kind(kind), m_address(address), m_deleted(false), m_next(gFirstWatch) {
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
    if (watch->m_kind == kind && watch->m_address == address) watch->m_deleted = true;
  }
}
