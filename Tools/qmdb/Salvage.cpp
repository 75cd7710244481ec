// The heap is walked to the real end of the file, not to the header's
// end_of_file, so a header that lost track of appended blocks loses nothing.
#include "Salvage.h"

#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

#include "Database/gxCrc32.h"
#include "HeapWalk.h"
#include "RecordFields.h"
#include "RecordJson.h"
#include "Records/DatabaseObject.h"
#include "Records/FileSystemPlatform.h"
#include "WholeFile.h"

namespace {

struct SavedRecord {
  std::uint32_t oldAddress;
  std::vector<unsigned char> bytes;
  bool damaged;  // CRC mismatch
};

std::string Hex(std::uint32_t value) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%08X", value);
  return text;
}

// Reads the object at objectAddress and its stored CRC; false when it cannot
// be read whole.
bool ReadObject(gxDatabase& db, std::uint32_t objectAddress, std::uint32_t length, std::vector<unsigned char>& bytes,
                bool& crcOk) {
  bytes.assign(length + 4, 0);
  const std::uint32_t withCrc = db.HasChecksums() ? length + 4 : length;
  if (db.ReadAt(bytes.data(), withCrc, objectAddress) != gxNoError) return false;
  crcOk = true;
  if (db.HasChecksums()) {
    const std::uint32_t stored = static_cast<std::uint32_t>(bytes[length]) | (static_cast<std::uint32_t>(bytes[length + 1]) << 8) |
                                 (static_cast<std::uint32_t>(bytes[length + 2]) << 16) |
                                 (static_cast<std::uint32_t>(bytes[length + 3]) << 24);
    crcOk = gxCrc32(bytes.data(), length) == stored;
  }
  bytes.resize(length);
  return true;
}

class Salvager {
 public:
  // end: the real end of the file.
  Salvager(const SalvageRequest& request, gxDatabase& db, std::uint32_t end, std::ostream& out)
      : m_request(request), m_kind(*request.kind), m_db(db), m_end(end), m_out(out) {
    m_blockLength = m_kind.recordSize + db.BlockHeaderSize() + (db.HasChecksums() ? 4u : 0u);
  }

  void Visit(const HeapStep& step) {
    if (step.damaged) {
      VisitDamage(step.address, step.resume);
      return;
    }
    const std::uint32_t status = step.header.block_status & 0xFFu;
    if (status == gxStatusDeleted || status == gxStatusRemoved) {
      ++m_freeBlocks;
    } else if (status != gxStatusUsed) {
      Lost("block at " + std::to_string(step.address) + " has the unknown status " + Hex(step.header.block_status) +
           " (live or deleted cannot be told); skipped");
    } else {  // the walk took a live block of another length for damage
      Save(step.address + m_db.BlockHeaderSize(), false);
    }
  }

  std::vector<SavedRecord>& Records() { return m_records; }
  std::uint32_t BlockLength() const { return m_blockLength; }
  int Lost() const { return m_lost; }
  int FreeBlocks() const { return m_freeBlocks; }
  int Recovered() const { return m_recovered; }

 private:
  std::string Title(const std::vector<unsigned char>& bytes) {
    std::vector<unsigned char> copy = bytes;
    return RecordFields(m_kind, copy.data(), *m_request.codePage).Text(m_kind.fields[1].name);
  }

  void Lost(const std::string& what) {
    m_out << m_request.damagedPath << ": " << what << "\n";
    ++m_lost;
  }

  // A live block of the right length at objectAddress - header size.
  bool Save(std::uint32_t objectAddress, bool headerWasDamaged) {
    SavedRecord record{objectAddress, {}, false};
    bool crcOk = false;
    if (!ReadObject(m_db, objectAddress, m_kind.recordSize, record.bytes, crcOk)) {
      if (!headerWasDamaged) Lost("record at object " + std::to_string(objectAddress) + " cannot be read; lost");
      return false;
    }
    if (headerWasDamaged) {
      if (!crcOk) return false;  // without a valid header only a record that checks counts
      ++m_recovered;
      m_out << m_request.damagedPath << ": record at object " << objectAddress << " (\"" << Title(record.bytes)
            << "\"): its block header was damaged, the record checks; saved\n";
    }
    record.damaged = !crcOk;
    m_records.push_back(std::move(record));
    return true;
  }

  // Bytes [from, resume) hold no valid block. A block that begins there may
  // have lost only its check word or its length: then its status and CRC
  // still tell a whole record, and the next may follow right behind it.
  void VisitDamage(std::uint32_t from, std::uint32_t resume) {
    while (resume - from >= m_blockLength && LooksLive(from) && Save(from + m_db.BlockHeaderSize(), true))
      from += m_blockLength;
    if (from >= resume) return;
    if (LooksLive(from) && resume - from < m_blockLength && resume == m_end) {
      Lost("record at object " + std::to_string(from + m_db.BlockHeaderSize()) +
           " is cut off by the end of the file; lost");
      return;
    }
    Lost("bytes " + std::to_string(from) + " to " + std::to_string(resume) +
         " hold no valid block (a damaged block header hides what was there); skipped");
  }

  bool LooksLive(std::uint32_t blockAddress) {
    gxBlockHeader header{};
    return m_db.ReadBlockHeader(blockAddress, header) && (header.block_status & 0xFFu) == gxStatusUsed;
  }

 private:
  const SalvageRequest& m_request;
  const RecordKindInfo& m_kind;
  gxDatabase& m_db;
  std::uint32_t m_end;
  std::ostream& m_out;
  std::uint32_t m_blockLength;
  std::vector<SavedRecord> m_records;
  int m_lost = 0;
  int m_freeBlocks = 0;
  int m_recovered = 0;
};

bool WriteRepaired(const SalvageRequest& request, const std::vector<SavedRecord>& records, int& written,
                   std::string& error) {
  std::unique_ptr<RecordStore> store = MakeRecordStore(request.kind->kind);
  written = 0;
  if (store->Create(request.repairedPath.c_str(), 0, 'C') != gxNoError) {
    error = gxDatabase::ErrorText(store->LastError());
    return false;
  }
  for (const SavedRecord& record : records) {
    if (record.damaged && !request.keepDamaged) continue;
    std::memcpy(store->RecordBytes(), record.bytes.data(), request.kind->recordSize);
    if (store->AddRecord() == 0) {
      error = gxDatabase::ErrorText(store->LastError());
      store->Close();
      return false;
    }
    ++written;
  }
  if (store->Close() != gxNoError) {
    error = gxDatabase::ErrorText(store->LastError());
    return false;
  }
  return true;
}

}  // namespace

std::string DamagedRecordsPath(const std::string& repairedPath) {
  std::string stem = repairedPath;
  if (stem.size() > 4) {
    std::string end = stem.substr(stem.size() - 4);
    for (char& c : end) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c + 0x20 : c);
    if (end == ".qmt") stem.resize(stem.size() - 4);
  }
  return stem + ".damaged.jsonl";
}

int SalvageDatabase(const SalvageRequest& request, std::ostream& out, std::ostream& err) {
  const std::string sidePath = DamagedRecordsPath(request.repairedPath);
  for (const std::string& path : {request.repairedPath, sidePath}) {
    if (!PlatformPathIsAbsent(path)) {
      err << "qmdb: " << path << " exists; salvage never writes over a file\n";
      return 2;
    }
  }
  gxDatabase db;
  const int code = db.Open(request.damagedPath.c_str(), 0);
  gxFileHeader raw{};
  std::uint64_t fileLength = 0;
  if (code != gxNoError || !db.IsReady() || !ReadRawFileHeader(request.damagedPath, raw, fileLength)) {
    err << "qmdb: " << request.damagedPath << ": not a usable database ("
        << gxDatabase::ErrorText(code != gxNoError ? code : db.LastError()) << "); nothing to salvage\n";
    return 2;
  }
  const std::uint32_t end = fileLength > 0xFFFFFFFFu ? 0xFFFFFFFFu : static_cast<std::uint32_t>(fileLength);
  if (raw.heap_start < db.FileHeaderSize() || raw.heap_start > end) {
    err << "qmdb: " << request.damagedPath << ": heap_start " << raw.heap_start
        << " lies outside the file; nothing to salvage\n";
    return 2;
  }

  Salvager salvager(request, db, end, out);
  WalkHeap(db, raw.heap_start, end, salvager.BlockLength(), [&](const HeapStep& step) { salvager.Visit(step); });
  db.Close();

  std::vector<SavedRecord>& records = salvager.Records();
  int damaged = 0;
  std::string side;
  for (const SavedRecord& record : records) {
    if (!record.damaged) continue;
    ++damaged;
    side += RecordToJson(*request.kind, record.bytes.data(), record.oldAddress, false, *request.codePage) + "\n";
    std::vector<unsigned char> copy = record.bytes;
    out << request.damagedPath << ": record at object " << record.oldAddress << " (\""
        << RecordFields(*request.kind, copy.data(), *request.codePage).Text(request.kind->fields[1].name)
        << "\"): checksum mismatch; written to " << sidePath
        << (request.keepDamaged ? " and kept in " + request.repairedPath : std::string()) << "\n";
  }
  int written = 0;
  std::string error;
  if (!WriteRepaired(request, records, written, error)) {
    std::remove(request.repairedPath.c_str());
    err << "qmdb: " << request.repairedPath << ": " << error << "; nothing written\n";
    return 2;
  }
  if (damaged > 0) {
    if (!WriteWholeFile(sidePath, side)) {
      // Half a salvage would look like a whole one: nothing of it stays.
      std::remove(sidePath.c_str());
      std::remove(request.repairedPath.c_str());
      err << "qmdb: cannot write " << sidePath << "; nothing written\n";
      return 2;
    }
  }
  if (salvager.FreeBlocks() > 0)
    out << request.damagedPath << ": " << salvager.FreeBlocks()
        << " deleted blocks left behind; the new file starts with an empty free-space list\n";
  const int intact = static_cast<int>(records.size()) - damaged;
  out << request.damagedPath << ": " << intact << " intact, " << damaged << " damaged, " << salvager.Lost()
      << " lost; " << written << " records written to " << request.repairedPath << "\n";
  return damaged == 0 && salvager.Lost() == 0 && salvager.Recovered() == 0 ? 0 : 1;
}
