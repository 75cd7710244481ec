#include "HeapWalk.h"

#include <fstream>

bool ReadRawFileHeader(const std::string& path, gxFileHeader& header, std::uint64_t& fileLength) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  unsigned char bytes[gxFileHeaderBytes];
  if (!in.read(reinterpret_cast<char*>(bytes), sizeof bytes)) return false;
  gxDecodeFileHeader(bytes, header);
  in.seekg(0, std::ios::end);
  fileLength = static_cast<std::uint64_t>(in.tellg());
  return true;
}

void WalkHeap(gxDatabase& db, std::uint32_t heapStart, std::uint32_t end,
              const std::function<void(const HeapStep&)>& visit) {
  const std::uint32_t shortestBlock = db.BlockHeaderSize() + (db.HasChecksums() ? 4u : 0u);
  std::uint32_t address = heapStart;
  // Headers and damage come from the engine's read-ahead window.
  db.BeginWalk(end);
  while (address < end) {
    HeapStep step;
    step.address = address;
    bool readable = end - address >= gxBlockHeaderBytes && db.ReadBlockHeader(address, step.header);
    if (!readable || step.header.check_word != gxCheckWord || step.header.block_length < shortestBlock ||
        step.header.block_length > end - address) {
      // Resynchronise at the next valid check word; only blocks that begin
      // inside the walked range count.
      std::uint32_t next = address + 1 < end ? db.NextBlock(address + 1) : 0;
      const bool found = next != 0 && next > address && next < end;
      step.damaged = true;
      step.resume = found ? next : end;
      visit(step);
      if (!found) break;
      address = next;
      continue;
    }
    visit(step);
    address += step.header.block_length;
  }
  db.EndWalk();
}
