// Writes the input to a scratch file, opens it and drives the engine with
// operations read from the input's tail, byte by byte, so that mutations of
// the end change the operations and mutations elsewhere change the file.
// After every operation the engine's own promises are checked: no block it
// hands out overlaps the header, CRCs it stores verify, and nothing writes
// beyond a bound near the file's size.
#include "DatabaseFuzzTarget.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "Database/gxDatabase.h"

namespace {

// Blocks that a heap walk visits at most per operation; the walk itself is bounded too.
constexpr int kWalkLimit = 4096;
constexpr int kOperationLimit = 48;
constexpr std::uint32_t kMaxObject = 4096;

const std::string& ScratchPath() {
  static const std::string path = [] {
    std::random_device random;
    return (std::filesystem::temp_directory_path() / ("qm-fuzz-db-" + std::to_string(random()) + ".qmt"))
        .string();
  }();
  return path;
}

void Require(bool condition, const char* what) {
  if (!condition) {
    std::fprintf(stderr, "database invariant broken: %s\n", what);
    std::abort();
  }
}

class OperationSource {
 public:
  OperationSource(const std::uint8_t* data, std::size_t size) : m_data(data), m_left(size) {}
  bool Empty() const { return m_left == 0; }
  std::uint8_t Byte() { return m_left == 0 ? 0 : m_data[--m_left]; }
  std::uint32_t Word16() {
    return static_cast<std::uint32_t>(Byte()) | (static_cast<std::uint32_t>(Byte()) << 8);
  }

 private:
  const std::uint8_t* m_data;
  std::size_t m_left;
};

std::vector<std::uint32_t> WalkHeap(gxDatabase& db) {
  std::vector<std::uint32_t> blocks;
  for (std::uint32_t at = db.NextBlock(0); at != 0 && blocks.size() < kWalkLimit;) {
    blocks.push_back(at);
    gxBlockHeader header;
    if (!db.ReadBlockHeader(at, header)) break;
    // A zero or tiny length would revisit the same header: step at least one byte.
    const std::uint64_t next =
        static_cast<std::uint64_t>(at) + (header.block_length ? header.block_length : 1);
    if (next >= 0xFFFFFFFFu) break;
    const std::uint32_t following = db.NextBlock(static_cast<std::uint32_t>(next));
    Require(following == 0 || following > at, "heap walk goes backwards");
    at = following;
  }
  return blocks;
}

std::uint32_t PickAddress(OperationSource& ops, const std::vector<std::uint32_t>& blocks, std::uint32_t bound,
                          std::uint32_t objectOffset) {
  const std::uint8_t how = ops.Byte();
  if (!blocks.empty() && (how & 1)) return blocks[how / 2 % blocks.size()] + objectOffset;
  return bound == 0 ? 0 : ops.Word16() % bound;
}

}  // namespace

int QmFuzzDatabase(const std::uint8_t* data, std::size_t size) {
  const std::string& path = ScratchPath();
  {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) return 0;
    if (size > 0) std::fwrite(data, 1, size, file);
    std::fclose(file);
  }
  // Writes may land up to this far: the file plus room for a few appended blocks.
  const std::uint32_t bound = static_cast<std::uint32_t>(size) + 4 * (kMaxObject + 64);

  OperationSource ops(data, size);
  gxDatabase db;
  const int mode = (ops.Byte() & 7) == 0 ? 0 : 2;
  if (db.Open(path.c_str(), mode) != 0 && !db.IsReady()) {
    Require(db.Allocate(16) == 0, "allocation on a database that is not ready");
    db.Close();
    return 0;
  }

  std::vector<std::uint32_t> blocks = WalkHeap(db);
  std::vector<unsigned char> buffer(kMaxObject);
  std::vector<unsigned char> scratch(kMaxObject);
  for (int step = 0; step < kOperationLimit && !ops.Empty(); ++step) {
    const std::uint8_t op = ops.Byte();
    switch (op % 9) {
      case 0:
        blocks = WalkHeap(db);
        break;
      case 1: {
        const std::uint32_t length = ops.Word16() % kMaxObject;
        // Past the bound an append would make a huge sparse file; the engine
        // allows it (end_of_file is trusted), the harness does not.
        if (db.Header().end_of_file > bound) break;
        for (std::uint32_t i = 0; i < length; ++i) buffer[i] = static_cast<unsigned char>(i * 31 + op);
        if (op & 0x20) {
          // The whole block in one write: it must read back as written.
          const std::uint32_t object = db.WriteNewObject(buffer.data(), length);
          if (object != 0) {
            Require(object >= db.Header().heap_start + db.BlockHeaderSize(), "block over the file header");
            Require(db.ReadVerifiedObject(object, scratch.data(), length) == gxObjectCheck::Matches &&
                        std::equal(buffer.begin(), buffer.begin() + length, scratch.begin()),
                    "new object does not read back");
            blocks.push_back(object - db.BlockHeaderSize());
          }
          break;
        }
        const std::uint32_t object = db.Allocate(length, (op & 0x10) ? 0 : 2);
        if (object != 0) {
          Require(object >= db.Header().heap_start + db.BlockHeaderSize(), "block over the file header");
          if (db.WriteAt(buffer.data(), length, object) == 0 && db.StoreChecksum(object) != 0)
            Require(db.VerifyChecksum(object), "stored checksum does not verify");
          blocks.push_back(object - db.BlockHeaderSize());
        }
        break;
      }
      case 2:
        db.FreeBlock(PickAddress(ops, blocks, bound, db.BlockHeaderSize()), (op & 0x10) == 0);
        break;
      case 3: {
        const std::uint32_t address = PickAddress(ops, blocks, bound, 0);
        db.ReadAt(buffer.data(), ops.Byte(), address);
        break;
      }
      case 4: {
        const std::uint32_t address = PickAddress(ops, blocks, bound, 0);
        const std::uint32_t length = ops.Byte();
        if (static_cast<std::uint64_t>(address) + length > bound) break;
        db.WriteAt(buffer.data(), length, address, (op & 0x10) != 0, (op & 0x20) != 0);
        break;
      }
      case 5: {
        std::uint32_t stored = 0, computed = 0;
        db.VerifyChecksum(PickAddress(ops, blocks, bound, db.BlockHeaderSize()), &stored, &computed);
        break;
      }
      case 6: {
        const std::uint32_t address = PickAddress(ops, blocks, bound, db.BlockHeaderSize());
        if (op & 0x10) {
          // Rewrites only a live block of exactly this length, which then verifies.
          const std::uint32_t length = ops.Byte();
          if (db.RewriteObject(address, buffer.data(), length) == 0)
            Require(db.ReadVerifiedObject(address, scratch.data(), length) == gxObjectCheck::Matches,
                    "rewritten object does not verify");
          break;
        }
        db.StoreChecksum(address);
        break;
      }
      case 7: {
        const std::uint32_t address = PickAddress(ops, blocks, bound, 0);
        db.ComputeChecksum(ops.Byte(), address, (op & 0x10) != 0);
        break;
      }
      default:
        if (op & 0x10) {
          db.Close();
          db.Open(path.c_str(), (op & 0x20) ? 0 : 2);
        } else {
          db.CurrentEndOfFile();
          db.Flush();
          db.Position();
        }
        break;
    }
  }
  db.Close();
  return 0;
}
