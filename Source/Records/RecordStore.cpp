// Record operations over the engine. Every write is checked: a record that
// could not be written whole, with its checksum, is reported as not stored
// (address 0), and a block taken for it is given back.
#include "Records/RecordStore.h"

#include "Database/gxLiveObjects.h"

#include <cstring>
#include <vector>

#include "Records/MessageBoxSeam.h"
#include "Records/RecordText.h"

namespace {

void WarnCrcError() {
  ShowMessageBox(nullptr, "Database Object CRC Error", "Database Handling", kMbOk | kMbIconWarning);
}

}  // namespace

namespace {
// Stores live on the user-interface thread only.
int gLiveStores = 0;
}  // namespace

RecordStore::RecordStore(RecordKind kind, unsigned char* buffer)
    : m_info(RecordKindInfoOf(kind)), m_buffer(buffer) {
  ++gLiveStores;
}

RecordStore::~RecordStore() {
  --gLiveStores;
}

int RecordStore::LiveCount() {
  return gLiveStores;
}

void RecordStore::NormaliseTexts(unsigned char* record) const {
  for (std::size_t i = 0; i < m_info.fieldCount; ++i) {
    const RecordField& field = m_info.fields[i];
    if (field.type != RecordFieldType::Text) continue;
    char* text = reinterpret_cast<char*>(record + field.offset);
    CopyRecordText(text, text);
  }
}

void RecordStore::SetOwnAddress(unsigned char* record, std::uint32_t address) const {
  std::memcpy(record + m_info.recordSize - 4, &address, 4);
}

std::uint32_t RecordStore::RecordAddress() const {
  std::uint32_t address;
  std::memcpy(&address, m_buffer + m_info.recordSize - 4, 4);
  return address;
}

std::uint32_t RecordStore::AddRecord() {
  const std::uint32_t size = m_info.recordSize;
  // The disk copy always holds 0 in its own-address slot.
  NormaliseTexts(m_buffer);
  SetOwnAddress(m_buffer, 0);
  // One writer at a time (the engine's writing action): a second one waits
  // or fails (error 45) rather than append over this record. A file whose end_of_file lies beyond its real length takes no new
  // records (error 15). The block goes to the file whole, with its CRC, in
  // one verified write; a failed one is given back by the engine.
  const std::uint32_t address = WriteNewObject(m_buffer, size);
  if (address == 0) return 0;
  SetOwnAddress(m_buffer, address);
  m_bufferIsWholeRecord = true;
  return address;
}

RecordReadStatus RecordStore::ReadRecord(std::uint32_t objectAddress) {
  const std::uint32_t size = m_info.recordSize;
  // Block header, record and CRC in one read (or from a walk's read-ahead).
  const gxObjectCheck check = ReadVerifiedObject(objectAddress, m_buffer, size);
  const bool readWhole = check != gxObjectCheck::ReadFailed;
  // A short read fills part of the buffer; none of it belongs to a record.
  if (!readWhole) std::memset(m_buffer, 0, size);
  m_bufferIsWholeRecord = readWhole;
  SetOwnAddress(m_buffer, objectAddress);
  if (check == gxObjectCheck::Matches) return RecordReadStatus::Ok;
  WarnCrcError();
  // Other code may have run while the box was up: read ahead afresh.
  DropReadAhead();
  return readWhole ? RecordReadStatus::CrcMismatch : RecordReadStatus::ReadFailed;
}

// A failed rewrite may have left part of the new image on disk: the record
// as it was read (still in the buffer) is written back with its checksum, so
// one failed edit does not cost the stored record. The failure's own error
// code stays the pending one.
void RecordStore::RestoreAfterFailedChange(std::uint32_t address) {
  if (!m_bufferIsWholeRecord) return;
  const int error = LastError();
  m_image.assign(m_buffer, m_buffer + m_info.recordSize);
  SetOwnAddress(m_image.data(), 0);
  RewriteObject(address, m_image.data(), m_info.recordSize);
  SetError(error);
}

std::uint32_t RecordStore::ChangeRecordImage(const void* newRecord) {
  const std::uint32_t size = m_info.recordSize;
  std::uint32_t address = RecordAddress();
  if (address == 0) return 0;
  gxWriteAction action(*this, false);
  if (action.Code() != gxNoError) return 0;
  const unsigned char* newBytes = static_cast<const unsigned char*>(newRecord);
  m_image.assign(newBytes, newBytes + size);
  NormaliseTexts(m_image.data());
  SetOwnAddress(m_image.data(), 0);
  // The engine writes only over a live block of this kind's length: a stale
  // or damaged address must not overwrite a neighbouring block.
  const int code = RewriteObject(address, m_image.data(), size);
  if (code == gxBadObjectAddress) return 0;
  if (code != gxNoError) {
    RestoreAfterFailedChange(address);
    return 0;
  }
  for (std::size_t i = 0; i < m_info.fieldCount; ++i) {
    const RecordField& field = m_info.fields[i];
    std::memcpy(m_buffer + field.offset, m_image.data() + field.offset, RecordFieldSize(field.type));
  }
  SetOwnAddress(m_buffer, address);
  m_bufferIsWholeRecord = true;
  return address;
}

std::uint32_t RecordStore::DeleteRecord() {
  std::uint32_t address = RecordAddress();
  if (address == 0) return 0;
  gxWriteAction action(*this, false);
  if (action.Code() != gxNoError) return 0;
  if (FreeBlock(address, true) == 0) return 0;
  return address;
}

void RecordStore::ForEachRecord(const std::function<void(std::uint32_t)>& visitor) {
  // A record that could not be read is warned about and skipped: its zeros
  // are no record, and a caller must not show, arm or delete anything on
  // their strength. A CRC mismatch is still handed out.
  gxForEachLiveObject(*this, [&](std::uint32_t objectAddress, std::uint32_t) {
    if (ReadRecord(objectAddress) != RecordReadStatus::ReadFailed) visitor(objectAddress);
    return true;
  });
}
