// CRecordWatch: tells an open editor or reminder window whether the record it
// was opened on has been deleted or changed since. Records are known by their
// store address, and a freed block goes to the next record added, so the
// address alone cannot say whether it still names the same record. Every
// deletion and change the managers make reports itself through NoteDeleted
// and NoteChanged.
#ifndef QUILLMATE_MANAGERS_RECORDWATCH_H
#define QUILLMATE_MANAGERS_RECORDWATCH_H

#include <cstdint>

#include "Records/RecordKind.h"

class CRecordWatch {
 public:
  CRecordWatch(RecordKind kind, std::uint32_t address);
  ~CRecordWatch();
  CRecordWatch(const CRecordWatch&) = delete;
  CRecordWatch& operator=(const CRecordWatch&) = delete;

  RecordKind Kind() const { return m_kind; }
  std::uint32_t Address() const { return m_address; }
  // True once the watched record was deleted.
  bool IsDeleted() const { return m_deleted; }
  // True once the watched record was rewritten (by anyone).
  bool IsChanged() const { return m_changed; }

  // Marks every live watch on this record as deleted, or as changed.
  static void NoteDeleted(RecordKind kind, std::uint32_t address);
  static void NoteChanged(RecordKind kind, std::uint32_t address);

 private:
  RecordKind m_kind;
  std::uint32_t m_address;
  bool m_deleted;
  bool m_changed;
  CRecordWatch* m_next;
};

#endif  // QUILLMATE_MANAGERS_RECORDWATCH_H
