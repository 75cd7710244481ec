#include "Database/gxLiveObjects.h"

void gxForEachLiveObject(gxDatabase& db,
                         const std::function<bool(std::uint32_t objectAddress, std::uint32_t objectLength)>& visit) {
  const std::uint32_t end = db.CurrentEndOfFile();
  // The window stays open until the walk ends, even when visit throws.
  struct Walk {
    Walk(gxDatabase& db, std::uint32_t end) : db(db) { db.BeginWalk(end); }
    ~Walk() { db.EndWalk(); }
    gxDatabase& db;
  } walk(db, end);
  const std::uint32_t headerSize = db.BlockHeaderSize();
  const std::uint32_t checksumSize = db.HasChecksums() ? gxChecksumBytes : 0u;
  const std::uint32_t shortestBlock = headerSize + checksumSize;
  std::uint32_t address = db.NextBlock(0);
  while (address != 0 && address < end) {
    gxBlockHeader header{};
    if (!db.ReadBlockHeader(address, header)) break;
    // Each step moves forward by at least one byte, so the walk ends.
    if (header.check_word != gxCheckWord || header.block_length < shortestBlock ||
        header.block_length > end - address) {
      address = db.NextBlock(address + 1);
      continue;
    }
    if ((header.block_status & 0xFFu) == gxStatusUsed &&
        !visit(address + headerSize, header.block_length - shortestBlock))
      return;
    address += header.block_length;
  }
}
