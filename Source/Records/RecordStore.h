// RecordStore: the record operations shared by the eight stores. A store is a
// gxDatabase over one kind's file plus one record buffer; it writes a record
// as one object in one block with its CRC-32 and reads one record at a time
// into the buffer, verifying the CRC. Records are identified by their object
// address. The typed stores (DatabaseObject.h) only add the buffer's type.
#ifndef QUILLMATE_RECORDS_RECORDSTORE_H
#define QUILLMATE_RECORDS_RECORDSTORE_H

#include <cstdint>
#include <functional>
#include <vector>

#include "Database/gxDatabase.h"
#include "Records/RecordKind.h"

enum class RecordReadStatus {
  Ok,           // read whole, CRC matches
  CrcMismatch,  // read whole, CRC differs or cannot be computed (the user was warned)
  ReadFailed    // the read failed: the buffer is zeroed (the user was warned)
};

class RecordStore : public gxDatabase {
 public:
  // buffer: the kind's record, recordSize bytes, owned by the derived store
  // and alive as long as this object.
  RecordStore(RecordKind kind, unsigned char* buffer);
  ~RecordStore() override;
  RecordStore(const RecordStore&) = delete;
  RecordStore& operator=(const RecordStore&) = delete;

  // How many store objects exist right now. A message box shown while a store
  // is open (the CRC warning) dispatches timer messages; code run from a timer
  // checks this so that it never works on a file that an interrupted action
  // still holds, with that action's header copy about to be written back.
  static int LiveCount();

  RecordKind Kind() const { return m_info.kind; }
  const RecordKindInfo& KindInfo() const { return m_info; }

  // Adds the buffer as a new record: its text fields are normalised (254
  // characters, zero-filled) and the disk copy's own-address slot is 0.
  // Returns the object address, 0 on failure; a block taken for a write that
  // failed is given back. Only when the file takes no more writes at all may
  // that block stay in use, read then with the CRC warning.
  std::uint32_t AddRecord();

  // Reads the record at objectAddress into the buffer and sets its own
  // address. A CRC mismatch shows "Database Object CRC Error" and the buffer
  // keeps what was read; a failed read leaves the buffer zeroed (apart from
  // its own address) rather than holding an earlier record.
  RecordReadStatus ReadRecord(std::uint32_t objectAddress);

  // The buffer's own-address slot: the address last read or written, 0 if none.
  std::uint32_t RecordAddress() const;

  // Rewrites the record at RecordAddress with newRecord (recordSize bytes) in
  // place and copies its fields into the buffer. Returns the address, 0 when
  // the buffer has no address or the write failed. The rewrite is in place:
  // after a failed write the record as last read whole is written back; only
  // when that write fails too (the file takes no writes at all) may the record
  // hold the new image or a mix that is read with the CRC warning.
  std::uint32_t ChangeRecordImage(const void* newRecord);

  // Frees the block of the record at RecordAddress. Returns the address, 0
  // when the buffer has no address or the block could not be freed. The
  // buffer is not cleared.
  std::uint32_t DeleteRecord();

  // Calls visitor(objectAddress) for every live record in file order, with
  // the record read into the buffer. Damaged block headers are stepped over:
  // a wrong check word, a length shorter than a block header or one that runs
  // past the end of the heap resynchronise at the next valid header. A record
  // that cannot be read is warned about and skipped; one whose checksum does
  // not match is handed out after the warning.
  void ForEachRecord(const std::function<void(std::uint32_t objectAddress)>& visitor);

  // The buffer's bytes, for code that handles every kind through the kind
  // table (tools, tests); typed code uses DatabaseObject::Data().
  unsigned char* RecordBytes() { return m_buffer; }
  const unsigned char* RecordBytes() const { return m_buffer; }

 private:
  void NormaliseTexts(unsigned char* record) const;
  void RestoreAfterFailedChange(std::uint32_t address);
  void SetOwnAddress(unsigned char* record, std::uint32_t address) const;

  const RecordKindInfo& m_info;
  unsigned char* m_buffer;
  // The buffer holds a whole record image of its address (read whole, added
  // or changed), so it may be written back after a failed change.
  bool m_bufferIsWholeRecord = false;
  // The image a change writes (or a failed change writes back), sized once
  // per store, not per record.
  std::vector<unsigned char> m_image;
};

#endif  // QUILLMATE_RECORDS_RECORDSTORE_H
