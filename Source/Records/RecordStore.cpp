// Record operations over the engine. Every write is checked: a record that
// could not be written whole, with its checksum, is reported as not stored
// (address 0), and a block taken for it is given back.
#include "Records/RecordStore.h"

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
  // One writer at a time from the allocation to the checksum: a second one
  // waits or fails (error 45) rather than append over this record.
  gxWriteAction action(*this, false);
  if (action.Code() != gxNoError) return 0;
  // A file whose end_of_file lies beyond its real length takes no new
  // records: Allocate refuses the append with error 15.
  std::uint32_t address = Allocate(size, 2);
  if (address == 0) return 0;
  bool written = WriteAt(m_buffer, size, address, true, true) == gxNoError;
  if (written) {
    // A CRC can be 0 by chance: failure shows in the error code, not the value.
    SetError(gxNoError);
    written = StoreChecksum(address) != 0 || LastError() == gxNoError;
  }
  if (!written) {
    int error = LastError();
    if (FreeBlock(address, true) == 0) {
      // FreeBlock reads the header first and fails with the read: mark the
      // block removed without reading (unlinked, so it is merely lost space).
      const std::uint32_t blockLength = size + BlockHeaderSize() + (HasChecksums() ? 4u : 0u);
      const gxBlockHeader removed{gxCheckWord, blockLength, gxStatusRemoved, 0};
      unsigned char bytes[gxBlockHeaderBytes];
      gxEncodeBlockHeader(removed, bytes);
      WriteAt(bytes, gxBlockHeaderBytes, address - BlockHeaderSize(), true, false);
    }
    SetError(error);  // the write's failure is what ReportError must tell
    return 0;
  }
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
  if (WriteAt(m_image.data(), m_info.recordSize, address, true, true) == gxNoError) StoreChecksum(address);
  SetError(error);
}

std::uint32_t RecordStore::ChangeRecordImage(const void* newRecord) {
  const std::uint32_t size = m_info.recordSize;
  std::uint32_t address = RecordAddress();
  if (address == 0) return 0;
  gxWriteAction action(*this, false);
  if (action.Code() != gxNoError) return 0;
  // Never write over anything but a live block of this kind's length: a stale
  // or damaged address must not overwrite a neighbouring block.
  gxBlockHeader header{};
  std::uint32_t expectedLength = size + BlockHeaderSize() + (HasChecksums() ? 4u : 0u);
  if (address < BlockHeaderSize() || !ReadBlockHeader(address - BlockHeaderSize(), header) ||
      header.check_word != gxCheckWord || (header.block_status & 0xFFu) != gxStatusUsed ||
      header.block_length != expectedLength) {
    if (LastError() == gxNoError) SetError(gxBadObjectAddress);
    return 0;
  }
  const unsigned char* newBytes = static_cast<const unsigned char*>(newRecord);
  m_image.assign(newBytes, newBytes + size);
  NormaliseTexts(m_image.data());
  SetOwnAddress(m_image.data(), 0);
  bool written = WriteAt(m_image.data(), size, address, true, true) == gxNoError;
  if (written) {
    // A CRC can be 0 by chance: failure shows in the error code, not the value.
    SetError(gxNoError);
    written = StoreChecksum(address) != 0 || LastError() == gxNoError;
  }
  if (!written) {
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
  const std::uint32_t end = CurrentEndOfFile();
  // Headers, records and CRCs come from large sequential reads until the
  // walk ends, even when the visitor throws.
  struct Walk {
    explicit Walk(gxDatabase& db, std::uint32_t end) : db(db) { db.BeginWalk(end); }
    ~Walk() { db.EndWalk(); }
    gxDatabase& db;
  } walk(*this, end);
  const std::uint32_t headerSize = BlockHeaderSize();
  const std::uint32_t shortestBlock = headerSize + (HasChecksums() ? 4u : 0u);
  std::uint32_t address = NextBlock(0);
  while (address != 0 && address < end) {
    gxBlockHeader header{};
    if (!ReadBlockHeader(address, header)) break;
    // Each step moves forward by at least one byte, so the walk ends.
    if (header.check_word != gxCheckWord || header.block_length < shortestBlock ||
        header.block_length > end - address) {
      address = NextBlock(address + 1);
      continue;
    }
    // A record that could not be read is warned about and skipped: its
    // zeros are no record, and a caller must not show, arm or delete
    // anything on their strength. A CRC mismatch is still handed out.
    if ((header.block_status & 0xFFu) == gxStatusUsed &&
        ReadRecord(address + headerSize) != RecordReadStatus::ReadFailed) {
      visitor(address + headerSize);
    }
    address += header.block_length;
  }
}
