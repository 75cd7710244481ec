// The audit uses the engine read-only (mode 0) and reads the raw header
// itself, because opening adjusts end_of_file in memory.
#include "DatabaseCheck.h"

#include <cstdint>
#include <algorithm>
#include <cstdio>
#include <set>

#include "Database/gxDatabase.h"
#include "HeapWalk.h"

namespace {

std::string Hex(std::uint32_t value) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%08X", value);
  return text;
}

// The length of a block holding one record of kind, in db's revision.
std::uint32_t KindBlockLength(const gxDatabase& db, const RecordKindInfo& kind) {
  return kind.recordSize + db.BlockHeaderSize() + (db.HasChecksums() ? 4u : 0u);
}

std::string ForeignBlockText(const HeapStep& step, const RecordKindInfo& kind, std::uint32_t blockLength) {
  return "block at " + std::to_string(step.address) + " is " + std::to_string(step.header.block_length) +
         " bytes long, not a block of kind " + kind.toolName + " (" + std::to_string(blockLength) + ")";
}

}  // namespace

bool HoldsOnlyKind(const std::string& path, const RecordKindInfo& kind, std::string& found) {
  gxDatabase db;
  gxFileHeader raw{};
  std::uint64_t fileLength = 0;
  if (db.Open(path.c_str(), 0) != gxNoError || !db.IsReady() || !ReadRawFileHeader(path, raw, fileLength))
    return true;
  const std::uint32_t end = static_cast<std::uint32_t>(std::min<std::uint64_t>(fileLength, 0xFFFFFFFFu));
  if (raw.heap_start < db.FileHeaderSize() || raw.heap_start > end) return true;
  const std::uint32_t blockLength = KindBlockLength(db, kind);
  found.clear();
  WalkHeap(db, raw.heap_start, end, 0, [&](const HeapStep& step) {
    if (found.empty() && !step.damaged && (step.header.block_status & 0xFFu) == gxStatusUsed &&
        step.header.block_length != blockLength)
      found = ForeignBlockText(step, kind, blockLength);
  });
  return found.empty();
}

int CheckDatabaseFile(const std::string& path, std::ostream& out, const RecordKindInfo* kind) {
  gxDatabase db;
  int error = db.Open(path.c_str(), 0);
  gxFileHeader raw{};
  std::uint64_t fileLength = 0;
  if (error != gxNoError || !db.IsReady() || !ReadRawFileHeader(path, raw, fileLength)) {
    out << path << ": not a usable database ("
        << gxDatabase::ErrorText(error != gxNoError ? error : db.LastError()) << ")\n";
    return kCheckUnusable;
  }
  const std::uint32_t headerSize = db.FileHeaderSize();
  const std::uint32_t blockHeaderSize = db.BlockHeaderSize();
  int problems = 0;
  auto problem = [&](const std::string& text) {
    out << path << ": " << text << "\n";
    ++problems;
  };

  // The program's next open takes a longer file in whole (end_of_file
  // becomes its length), so whatever lies behind end_of_file is walked too.
  const std::uint64_t end = std::min<std::uint64_t>(fileLength, 0xFFFFFFFFu);
  if (raw.end_of_file > fileLength) {
    problem("end_of_file " + std::to_string(raw.end_of_file) + " lies beyond the file length " +
            std::to_string(fileLength));
  } else if (raw.end_of_file < fileLength) {
    problem("bytes " + std::to_string(raw.end_of_file) + " to " + std::to_string(fileLength) +
            " lie behind end_of_file; the program's next open takes them into the heap");
  }
  if (raw.heap_start < headerSize || raw.heap_start > end) {
    problem("heap_start " + std::to_string(raw.heap_start) + " lies outside the file");
    out << path << ": 0 live records, 0 free blocks, " << problems << " problems\n";
    return kCheckDamaged;
  }

  // The heap walk: every block, live or free, and every damaged header,
  // read ahead in large pieces (damage too is searched in memory).
  int live = 0;
  std::set<std::uint32_t> freeBlocks;
  const std::uint32_t kindBlockLength = kind != nullptr ? KindBlockLength(db, *kind) : 0;
  WalkHeap(db, raw.heap_start, static_cast<std::uint32_t>(end), kindBlockLength, [&](const HeapStep& step) {
    switch (step.damage) {
      case HeapDamage::None:
        break;
      case HeapDamage::NoHeader:
        problem("damaged block header at " + std::to_string(step.address));
        return;
      case HeapDamage::HeaderInside:
        problem("block at " + std::to_string(step.address) + ": its length " +
                std::to_string(step.header.block_length) + " runs over the block header at " +
                std::to_string(step.resume));
        return;
      case HeapDamage::WrongLiveLength:
        problem(ForeignBlockText(step, *kind, kindBlockLength));
        return;
    }
    const std::uint32_t status = step.header.block_status & 0xFFu;
    const std::uint32_t objectAddress = step.address + blockHeaderSize;
    if (status == gxStatusUsed) {
      ++live;
      std::uint32_t stored = 0, computed = 0;
      if (db.HasChecksums() && !db.VerifyChecksum(objectAddress, &stored, &computed)) {
        problem("checksum mismatch at object " + std::to_string(objectAddress) + " (stored " + Hex(stored) +
                ", computed " + Hex(computed) + ")");
      }
    } else if (status == gxStatusDeleted || status == gxStatusRemoved) {
      freeBlocks.insert(step.address);
    } else {
      problem("unknown block status " + Hex(step.header.block_status) + " at " + std::to_string(step.address));
    }
  });

  // The free-space list: every member a free block met by the walk, no
  // member twice, and every free block linked.
  if (raw.free_space == gxAbandonedList) {
    problem("free list abandoned (free_space 0xFFFFFFFF)");
  } else {
    std::set<std::uint32_t> linked;
    bool listIntact = true;
    std::uint32_t member = raw.free_space;
    while (member != 0) {
      if (linked.count(member) != 0) {
        problem("free list cyclic at " + std::to_string(member));
        listIntact = false;
        break;
      }
      gxBlockHeader header{};
      if (freeBlocks.count(member) == 0 || !db.ReadBlockHeader(member, header)) {
        problem("free list member " + std::to_string(member) + " is not a free block");
        listIntact = false;
        break;
      }
      linked.insert(member);
      member = header.next_deleted;
    }
    for (std::uint32_t block : freeBlocks) {
      if (listIntact && linked.count(block) == 0) {
        problem("free block at " + std::to_string(block) + " is not in the free list");
      }
    }
  }
  out << path << ": " << live << " live records, " << freeBlocks.size() << " free blocks, " << problems
      << " problems\n";
  return problems == 0 ? kCheckClean : kCheckDamaged;
}
