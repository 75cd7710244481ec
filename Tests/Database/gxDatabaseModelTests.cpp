// Random operation sequences against the engine, compared with a model of
// the heap: every block's address, length and status, the free list in LIFO
// order, the header counters and the bytes of every live object. The model
// predicts where each allocation lands (first fit, exact match or split,
// else append), and every few steps the file is walked from its raw bytes,
// not through the engine, and compared with it. Seeds: Support/RandomSeeds.h.
#include <algorithm>
#include <cstdint>
#include <deque>
#include <map>
#include <optional>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "DatabaseTestSupport.h"
#include "Support/RandomSeeds.h"

namespace qmtest {
namespace {

// Fixed seeds: the CI run. Add a seed that once found a fault here.
const std::vector<std::uint32_t> kFixedSeeds = {1, 2, 3, 20250101};

constexpr int kSteps = 2400;
constexpr int kCheckEvery = 8;
constexpr std::uint32_t kLongestObject = 3000;

struct ModelBlock {
  std::uint32_t length = 0;
  unsigned char status = 'N';
  std::optional<Bytes> content;      // live: the object as last written
  std::optional<std::uint32_t> crc;  // live: the CRC word StoreChecksum last wrote
  bool crcCurrent = false;           // live: StoreChecksum ran after the last write
  bool freedWhileAbandoned = false;  // free: its next_deleted must be 0xFFFFFFFF
};

// What the file must hold. Allocation and freeing follow the engine's rules
// as its header states them, written here independently.
class HeapModel {
 public:
  HeapModel(char letter, std::uint32_t staticSize)
      : letter_(letter),
        fileHeaderSize_(letter == 'B' || letter == 'C' ? 40u : 28u),
        blockHeaderSize_(letter == 'C' ? 28u : 16u),
        checksums_(letter != 0x00),
        heapStart_(fileHeaderSize_ + staticSize),
        endOfFile_(heapStart_) {}

  char Letter() const { return letter_; }
  std::uint32_t BlockHeaderSize() const { return blockHeaderSize_; }
  bool Checksums() const { return checksums_; }
  std::uint32_t Overhead() const { return blockHeaderSize_ + (checksums_ ? 4u : 0u); }
  std::uint32_t HeapStart() const { return heapStart_; }
  std::uint32_t EndOfFile() const { return endOfFile_; }
  std::uint32_t HighestBlock() const { return highestBlock_; }
  bool Abandoned() const { return abandoned_; }
  const std::map<std::uint32_t, ModelBlock>& Blocks() const { return blocks_; }
  const std::vector<std::uint32_t>& FreeList() const { return freeList_; }
  const std::vector<std::uint32_t>& LiveObjects() const { return live_; }

  ModelBlock& LiveBlockOf(std::uint32_t objectAddress) {
    return blocks_.at(objectAddress - blockHeaderSize_);
  }

  // The object address the engine must return.
  std::uint32_t Allocate(std::uint32_t objectLength, int method) {
    const std::uint32_t length = objectLength + Overhead();
    std::uint32_t address = 0;
    if (method == 2 && !abandoned_) {
      for (std::size_t i = 0; i < freeList_.size() && address == 0; ++i) {
        const std::uint32_t candidate = freeList_[i];
        ModelBlock& block = blocks_.at(candidate);
        if (block.length == length) {
          freeList_.erase(freeList_.begin() + static_cast<std::ptrdiff_t>(i));
          address = candidate;
        } else if (block.length > length + Overhead()) {
          ModelBlock remainder;
          remainder.length = block.length - length;
          remainder.status = 'R';
          blocks_[candidate + length] = remainder;
          freeList_[i] = candidate + length;
          address = candidate;
        }
      }
    }
    if (address == 0) {
      address = endOfFile_;
      endOfFile_ += length;
    }
    ModelBlock block;
    block.length = length;
    blocks_[address] = block;
    highestBlock_ = std::max(highestBlock_, address);
    live_.push_back(address + blockHeaderSize_);
    return address + blockHeaderSize_;
  }

  void Free(std::uint32_t objectAddress, bool removeFlag) {
    ModelBlock& block = LiveBlockOf(objectAddress);
    const std::uint32_t length = block.length;
    block = ModelBlock();
    block.length = length;
    block.status = removeFlag ? 'R' : 'D';
    if (abandoned_)
      block.freedWhileAbandoned = true;
    else
      freeList_.insert(freeList_.begin(), objectAddress - blockHeaderSize_);
    live_.erase(std::find(live_.begin(), live_.end(), objectAddress));
  }

  void Abandon() {
    abandoned_ = true;
    freeList_.clear();
  }

 private:
  char letter_;
  std::uint32_t fileHeaderSize_;
  std::uint32_t blockHeaderSize_;
  bool checksums_;
  std::uint32_t heapStart_;
  std::uint32_t endOfFile_;
  std::uint32_t highestBlock_ = 0;
  bool abandoned_ = false;
  std::map<std::uint32_t, ModelBlock> blocks_;  // block address -> block
  std::vector<std::uint32_t> freeList_;         // block addresses, head first
  std::vector<std::uint32_t> live_;             // object addresses, unordered
};

std::string Hex(std::uint32_t value) {
  std::ostringstream out;
  out << "0x" << std::hex << value;
  return out.str();
}

// Compares the file's raw bytes with the model; the first difference, or "".
std::string CheckFileAgainstModel(const Bytes& file, const HeapModel& model) {
  std::ostringstream problem;
  if (file.size() < 40) return "file shorter than a header: " + std::to_string(file.size());
  const std::uint32_t freeSpace = WordAt(file, 0);
  const std::uint32_t endOfFile = WordAt(file, 4);
  const std::uint32_t heapStart = WordAt(file, 8);
  const std::uint32_t highestBlock = WordAt(file, 12);
  const std::string signature(file.begin() + 16, file.begin() + 24);
  if (signature != std::string("GXDBASE") + model.Letter()) return "signature " + signature;
  if (file.size() != endOfFile)
    return "file length " + std::to_string(file.size()) + " != end_of_file " + std::to_string(endOfFile);
  if (heapStart != model.HeapStart()) return "heap_start " + std::to_string(heapStart);
  if (endOfFile != model.EndOfFile())
    return "end_of_file " + std::to_string(endOfFile) + ", model " + std::to_string(model.EndOfFile());
  if (highestBlock != model.HighestBlock())
    return "highest_block " + std::to_string(highestBlock) + ", model " +
           std::to_string(model.HighestBlock());

  // The heap, block by block from heap_start: the blocks must tile it exactly.
  struct RawBlock {
    std::uint32_t length, status, next;
  };
  std::map<std::uint32_t, RawBlock> raw;
  std::uint64_t address = heapStart;
  while (address < endOfFile) {
    if (address + gxBlockHeaderBytes > endOfFile)
      return "block header at " + std::to_string(address) + " past the end";
    const RawBlock block{WordAt(file, address + 4), WordAt(file, address + 8), WordAt(file, address + 12)};
    if (WordAt(file, address) != gxCheckWord) return "check word at " + std::to_string(address);
    if (block.length < model.Overhead() || address + block.length > endOfFile)
      return "block at " + std::to_string(address) + " has length " + std::to_string(block.length);
    if (block.status != 'N' && block.status != 'D' && block.status != 'R')
      return "block at " + std::to_string(address) + " has status " + Hex(block.status);
    raw[static_cast<std::uint32_t>(address)] = block;
    address += block.length;
  }
  if (address != endOfFile) return "blocks end at " + std::to_string(address) + ", not at end_of_file";

  if (raw.size() != model.Blocks().size())
    return std::to_string(raw.size()) + " blocks, model " + std::to_string(model.Blocks().size());
  for (const auto& [blockAddress, expected] : model.Blocks()) {
    const auto found = raw.find(blockAddress);
    if (found == raw.end()) return "no block at " + std::to_string(blockAddress);
    const RawBlock& block = found->second;
    if (block.length != expected.length || block.status != expected.status)
      return "block at " + std::to_string(blockAddress) + ": length " + std::to_string(block.length) +
             " status " + Hex(block.status) + ", model " + std::to_string(expected.length) + " " +
             Hex(expected.status);
    if (expected.status != 'N') {
      if (expected.freedWhileAbandoned && block.next != gxAbandonedList)
        return "block freed after the list was abandoned links to " + std::to_string(block.next);
      continue;
    }
    if (blockAddress > highestBlock)
      return "live block " + std::to_string(blockAddress) + " above highest_block";
    if (block.next != 0)
      return "live block " + std::to_string(blockAddress) + " has next_deleted " + Hex(block.next);
    if (model.Letter() == 'C') {
      for (std::uint32_t i = 0; i < gxLockHeaderBytes; ++i)
        if (file[blockAddress + gxBlockHeaderBytes + i] != 0)
          return "lock header of live block " + std::to_string(blockAddress) + " not zero";
    }
    const std::uint32_t object = blockAddress + model.BlockHeaderSize();
    const std::uint32_t objectLength = block.length - model.Overhead();
    if (expected.content &&
        !std::equal(expected.content->begin(), expected.content->end(), file.begin() + object))
      return "object " + std::to_string(object) + " does not hold the bytes written";
    if (!model.Checksums()) continue;
    const std::uint32_t storedCrc = WordAt(file, object + objectLength);
    if (expected.crc && storedCrc != *expected.crc)
      return "CRC word of object " + std::to_string(object) + " changed";
    if (expected.crcCurrent && storedCrc != gxCrc32(file.data() + object, objectLength))
      return "CRC of object " + std::to_string(object) + " does not match its bytes";
  }

  // No two live objects overlap (the walk shows it too; this does not rely on it).
  std::uint64_t previousEnd = 0;
  std::vector<std::uint32_t> live = model.LiveObjects();
  std::sort(live.begin(), live.end());
  for (std::uint32_t object : live) {
    const std::uint32_t blockAddress = object - model.BlockHeaderSize();
    if (blockAddress < previousEnd)
      return "live object " + std::to_string(object) + " overlaps the one before";
    previousEnd = static_cast<std::uint64_t>(blockAddress) + raw.at(blockAddress).length;
  }

  // The free list: LIFO order as the model says, every free block on it
  // exactly once, no cycle.
  if (model.Abandoned()) {
    if (freeSpace != gxAbandonedList) return "free_space " + Hex(freeSpace) + " after the list was abandoned";
    return "";
  }
  std::vector<std::uint32_t> list;
  std::set<std::uint32_t> seen;
  for (std::uint32_t member = freeSpace; member != 0; member = raw.at(member).next) {
    if (member == gxAbandonedList) return "free list abandoned by the engine";
    const auto found = raw.find(member);
    if (found == raw.end()) return "free list member " + std::to_string(member) + " is no block";
    if (found->second.status == 'N') return "free list holds live block " + std::to_string(member);
    if (!seen.insert(member).second) return "free list cycles at " + std::to_string(member);
    list.push_back(member);
  }
  for (const auto& [blockAddress, block] : raw)
    if (block.status != 'N' && seen.count(blockAddress) == 0)
      return "free block " + std::to_string(blockAddress) + " is not on the free list";
  if (list != model.FreeList()) {
    problem << "free list order:";
    for (std::uint32_t member : list) problem << ' ' << member;
    problem << "; model:";
    for (std::uint32_t member : model.FreeList()) problem << ' ' << member;
    return problem.str();
  }
  return "";
}

// The engine's own view: its header copy equals the file's, and NextBlock
// steps through the same blocks.
std::string CheckEngineAgainstModel(gxDatabase& db, const Bytes& file, const HeapModel& model) {
  const gxFileHeader& header = db.Header();
  if (header.free_space != WordAt(file, 0) || header.end_of_file != WordAt(file, 4) ||
      header.highest_block != WordAt(file, 12))
    return "the engine's header differs from the file's";
  std::uint32_t address = db.NextBlock(0);
  for (const auto& [blockAddress, block] : model.Blocks()) {
    if (address != blockAddress)
      return "NextBlock gave " + std::to_string(address) + ", expected " + std::to_string(blockAddress);
    address = db.NextBlock(blockAddress + block.length);
  }
  if (address != 0) return "NextBlock found " + std::to_string(address) + " past the last block";
  return "";
}

class ModelRun {
 public:
  ModelRun(std::uint32_t seed, std::string path)
      : random_(seed),
        path_(std::move(path)),
        letter_(PickLetter(random_)),
        staticSize_(PickStaticSize(random_)),
        model_(letter_, staticSize_) {
    // Some runs abandon the free list late on, by damaging its head on disk.
    abandonAt_ = random_.Percent(40) ? static_cast<int>(random_.Between(kSteps * 3 / 4, kSteps - 50)) : -1;
  }

  std::string Start() {
    Log("Create(revision " + Hex(static_cast<unsigned char>(letter_)) + ", static " +
        std::to_string(staticSize_) + ")");
    if (db_.Create(path_.c_str(), staticSize_, letter_ == 0x00 ? ' ' : letter_) != 0) return "Create failed";
    return "";
  }

  // One random operation; "" or what went wrong.
  std::string Step(int step) {
    if (step == abandonAt_) return Abandon();
    const std::size_t live = model_.LiveObjects().size();
    // Keep between a few and about sixty objects alive, so both reuse and
    // growth happen throughout.
    const std::uint32_t allocateShare = live < 5 ? 70 : live > 60 ? 15 : 32;
    const std::uint32_t freeShare = live == 0 ? 0 : live > 60 ? 40 : 20;
    std::uint32_t roll = random_.Below(100);
    if (roll < allocateShare) return AllocateOne();
    roll = random_.Below(100 - allocateShare);
    if (roll < freeShare) return FreeOne();
    if (live == 0) return "";
    roll = random_.Below(100);
    if (roll < 35) return WriteWhole();
    if (roll < 45) return WritePart();
    if (roll < 55) return WriteInTwoPieces();
    if (roll < 78) return StoreChecksum();
    if (roll < 85) return ReadBack();
    if (roll < 90) return SwitchReadAndWrite();
    if (roll < 93) return FreeTwice();
    if (roll < 98) return Reopen();
    return ReadOnlyInterlude();
  }

  std::string Check() {
    const Bytes file = ReadFileBytes(path_);
    std::string problem = CheckFileAgainstModel(file, model_);
    if (problem.empty() && db_.IsOpen()) problem = CheckEngineAgainstModel(db_, file, model_);
    return problem;
  }

  std::string Finish() {
    if (db_.Close() != 0) return "Close failed";
    return Check();
  }

  std::string RecentOperations() const {
    std::string text;
    for (const std::string& line : log_) text += "  " + line + "\n";
    return text;
  }

  const HeapModel& Model() const { return model_; }

 private:
  static char PickLetter(RandomSource& random) {
    const char letters[] = {'C', 'C', 'C', 'A', 'B', 0x00};
    return letters[random.Below(sizeof letters)];
  }
  static std::uint32_t PickStaticSize(RandomSource& random) {
    return random.Percent(70) ? 0 : random.Between(1, 100);
  }

  void Log(const std::string& line) {
    log_.push_back(line);
    if (log_.size() > 12) log_.pop_front();
  }

  std::uint32_t PickLive() { return model_.LiveObjects()[random_.Below(model_.LiveObjects().size())]; }

  // Lengths that hit the interesting cases of first fit as well as random ones.
  std::uint32_t PickLength() {
    const std::vector<std::uint32_t>& list = model_.FreeList();
    const std::uint32_t roll = random_.Below(100);
    if (roll < 40 && !list.empty()) {
      const std::uint32_t freeLength = model_.Blocks().at(list[random_.Below(list.size())]).length;
      // Exact match; one byte short of splitting (skipped); just long enough to split.
      const std::uint32_t over = roll < 20 ? 0 : roll < 30 ? model_.Overhead() : model_.Overhead() + 1;
      if (freeLength >= over + model_.Overhead() + 1) return freeLength - over - model_.Overhead();
    }
    if (roll < 50) {
      const std::uint32_t recordSizes[] = {769, 773, 776, 790, 1024, 2809};
      return recordSizes[random_.Below(6)];
    }
    return random_.Between(1, kLongestObject);
  }

  Bytes Pattern(std::uint32_t length) {
    Bytes bytes(length);
    const std::uint32_t kind = random_.Below(4);
    const unsigned char fill = random_.Byte();
    for (unsigned char& byte : bytes) byte = kind == 0 ? fill : random_.Byte();
    // Objects that look like block headers must not confuse anything.
    if (kind == 3 && length >= 16) {
      const std::uint32_t at = random_.Below(length - 15);
      const unsigned char fake[16] = {0xFE, 0xFE, 0, 0, 0x40, 0, 0, 0, 'R', 0, 0, 0, 0, 0, 0, 0};
      std::copy(fake, fake + 16, bytes.begin() + at);
    }
    return bytes;
  }

  std::string AllocateOne() {
    const std::uint32_t length = PickLength();
    const int method = random_.Percent(15) ? 0 : 2;
    const std::uint32_t expected = model_.Allocate(length, method);
    Log("Allocate(" + std::to_string(length) + ", " + std::to_string(method) + ") -> expect " +
        std::to_string(expected));
    const std::uint32_t got = db_.Allocate(length, method);
    if (got != expected)
      return "Allocate gave " + std::to_string(got) + " (error " + std::to_string(db_.LastError()) + ")";
    return "";
  }

  std::string FreeOne() {
    const std::uint32_t object = PickLive();
    const bool removeFlag = random_.Percent(85);
    Log("FreeBlock(" + std::to_string(object) + (removeFlag ? ", remove)" : ", delete)"));
    model_.Free(object, removeFlag);
    if (db_.FreeBlock(object, removeFlag) != 1)
      return "FreeBlock failed, error " + std::to_string(db_.LastError());
    return "";
  }

  std::string FreeTwice() {
    std::vector<std::uint32_t> freed;
    for (const auto& [address, block] : model_.Blocks())
      if (block.status != 'N') freed.push_back(address + model_.BlockHeaderSize());
    if (freed.empty()) return "";
    const std::uint32_t object = freed[random_.Below(freed.size())];
    Log("FreeBlock(" + std::to_string(object) + ") again");
    if (db_.FreeBlock(object, true) != 0) return "a free block was freed again";
    return "";
  }

  std::string WriteWhole() {
    const std::uint32_t object = PickLive();
    ModelBlock& block = model_.LiveBlockOf(object);
    const Bytes bytes = Pattern(block.length - model_.Overhead());
    Log("WriteAt(" + std::to_string(object) + ", " + std::to_string(bytes.size()) + ")");
    if (db_.WriteAt(bytes.data(), static_cast<std::uint32_t>(bytes.size()), object, true,
                    random_.Percent(80)) != 0)
      return "WriteAt failed, error " + std::to_string(db_.LastError());
    block.content = bytes;
    block.crcCurrent = false;
    return "";
  }

  std::string WritePart() {
    const std::uint32_t object = PickLive();
    ModelBlock& block = model_.LiveBlockOf(object);
    if (!block.content) return WriteWhole();
    const std::uint32_t length = static_cast<std::uint32_t>(block.content->size());
    const std::uint32_t offset = random_.Below(length);
    const Bytes bytes = Pattern(random_.Between(1, length - offset));
    Log("WriteAt(" + std::to_string(object + offset) + ", " + std::to_string(bytes.size()) + ") inside");
    if (db_.WriteAt(bytes.data(), static_cast<std::uint32_t>(bytes.size()), object + offset, true, true) != 0)
      return "WriteAt failed, error " + std::to_string(db_.LastError());
    std::copy(bytes.begin(), bytes.end(), block.content->begin() + offset);
    block.crcCurrent = false;
    return "";
  }

  // Second piece at the current position, right after the first: the stream
  // must be where the first write (and its read-back) left it.
  std::string WriteInTwoPieces() {
    const std::uint32_t object = PickLive();
    ModelBlock& block = model_.LiveBlockOf(object);
    const Bytes bytes = Pattern(block.length - model_.Overhead());
    const std::uint32_t first = random_.Below(static_cast<std::uint32_t>(bytes.size()) + 1);
    const std::uint32_t second = static_cast<std::uint32_t>(bytes.size()) - first;
    Log("WriteAt(" + std::to_string(object) + ", " + std::to_string(first) + ") then current position");
    if (db_.WriteAt(bytes.data(), first, object, true, random_.Percent(50)) != 0 ||
        db_.WriteAt(bytes.data() + first, second, gxCurrentAddress, true, random_.Percent(50)) != 0)
      return "WriteAt failed, error " + std::to_string(db_.LastError());
    block.content = bytes;
    block.crcCurrent = false;
    return "";
  }

  // A read and a write back to back at the current position, the write
  // unflushed: the engine must reposition between them, or stdio reads or
  // writes at the wrong place.
  std::string SwitchReadAndWrite() {
    const std::uint32_t object = PickLive();
    ModelBlock& block = model_.LiveBlockOf(object);
    if (!block.content || block.content->size() < 2) return WriteWhole();
    Bytes& content = *block.content;
    const std::uint32_t split = random_.Between(1, static_cast<std::uint32_t>(content.size()) - 1);
    const bool writeFirst = random_.Percent(50);
    const Bytes bytes = Pattern(writeFirst ? split : static_cast<std::uint32_t>(content.size()) - split);
    Bytes read(content.size() - bytes.size());
    Log(std::string(writeFirst ? "unflushed WriteAt then ReadAt" : "ReadAt then unflushed WriteAt") + "(" +
        std::to_string(object) + ", split " + std::to_string(split) + ")");
    const std::uint32_t readLength = static_cast<std::uint32_t>(read.size());
    const std::uint32_t writeLength = static_cast<std::uint32_t>(bytes.size());
    if (writeFirst) {
      if (db_.WriteAt(bytes.data(), writeLength, object, false, false) != 0 ||
          db_.ReadAt(read.data(), readLength, gxCurrentAddress) != 0)
        return "WriteAt/ReadAt failed, error " + std::to_string(db_.LastError());
      if (!std::equal(read.begin(), read.end(), content.begin() + split))
        return "ReadAt after a write read other bytes";
      std::copy(bytes.begin(), bytes.end(), content.begin());
    } else {
      if (db_.ReadAt(read.data(), readLength, object) != 0 ||
          db_.WriteAt(bytes.data(), writeLength, gxCurrentAddress, false, false) != 0)
        return "ReadAt/WriteAt failed, error " + std::to_string(db_.LastError());
      if (!std::equal(read.begin(), read.end(), content.begin())) return "ReadAt read other bytes";
      std::copy(bytes.begin(), bytes.end(), content.begin() + split);
    }
    block.crcCurrent = false;
    // The unflushed bytes reach the file before the next check reads it.
    return db_.Flush() == 0 ? "" : "Flush failed";
  }

  std::string StoreChecksum() {
    const std::uint32_t object = PickLive();
    ModelBlock& block = model_.LiveBlockOf(object);
    Log("StoreChecksum(" + std::to_string(object) + ")");
    const std::uint32_t crc = db_.StoreChecksum(object);
    if (!model_.Checksums()) return crc == 0 ? "" : "StoreChecksum wrote a CRC without checksums";
    if (db_.LastError() != 0) return "StoreChecksum failed, error " + std::to_string(db_.LastError());
    if (block.content && crc != gxCrc32(block.content->data(), block.content->size()))
      return "StoreChecksum returned " + Hex(crc) + ", not the CRC of the object";
    block.crc = crc;
    block.crcCurrent = true;
    return "";
  }

  // Reads through the engine right after its own writes: no stale buffer.
  std::string ReadBack() {
    const std::uint32_t object = PickLive();
    const ModelBlock& block = model_.LiveBlockOf(object);
    Log("ReadAt/VerifyChecksum(" + std::to_string(object) + ")");
    Bytes bytes(block.length - model_.Overhead());
    if (db_.ReadAt(bytes.data(), static_cast<std::uint32_t>(bytes.size()), object) != 0)
      return "ReadAt failed, error " + std::to_string(db_.LastError());
    if (block.content && bytes != *block.content) return "ReadAt gave other bytes than written";
    if (model_.Checksums() && block.crc && block.content) {
      const bool matches = *block.crc == gxCrc32(block.content->data(), block.content->size());
      std::uint32_t stored = 0, computed = 0;
      if (db_.VerifyChecksum(object, &stored, &computed) != matches || stored != *block.crc)
        return "VerifyChecksum disagrees: stored " + Hex(stored) + " computed " + Hex(computed);
    } else if (block.crcCurrent && !db_.VerifyChecksum(object)) {
      return "VerifyChecksum fails right after StoreChecksum";
    }
    return "";
  }

  std::string Reopen() {
    Log("Close + Open");
    if (db_.Close() != 0) return "Close failed";
    std::string problem = Check();
    if (!problem.empty()) return "after Close: " + problem;
    if (db_.Open(path_.c_str(), 2) != 0) return "Open failed, error " + std::to_string(db_.LastError());
    return "";
  }

  // Read-only: nothing is allocated, freed or written, reads still work.
  std::string ReadOnlyInterlude() {
    Log("read-only Open");
    if (db_.Close() != 0) return "Close failed";
    const Bytes before = ReadFileBytes(path_);
    if (db_.Open(path_.c_str(), 0) != 0) return "read-only Open failed";
    const std::uint32_t object = PickLive();
    if (db_.Allocate(10, 2) != 0 || db_.LastError() != gxNotWritable) return "Allocate on a read-only file";
    if (db_.FreeBlock(object, true) != 0) return "FreeBlock on a read-only file";
    const unsigned char byte = 0x5A;
    if (db_.WriteAt(&byte, 1, object) != gxNotWritable) return "WriteAt on a read-only file";
    std::string problem = ReadBack();
    if (!problem.empty()) return problem;
    if (db_.Close() != 0) return "Close failed";
    if (ReadFileBytes(path_) != before) return "a read-only session changed the file";
    if (db_.Open(path_.c_str(), 2) != 0) return "Open failed";
    return "";
  }

  // A damaged head abandons the list for good: allocations append, freed
  // blocks are not linked.
  std::string Abandon() {
    Log("free_space := 0xFFFFFFFF on disk");
    if (db_.Close() != 0) return "Close failed";
    PatchWord(path_, 0, gxAbandonedList);
    model_.Abandon();
    if (db_.Open(path_.c_str(), 2) != 0) return "Open failed";
    return "";
  }

  // Initialised in this order: each draws from random_ in turn.
  RandomSource random_;
  std::string path_;
  char letter_;
  std::uint32_t staticSize_;
  HeapModel model_;
  gxDatabase db_;
  int abandonAt_;
  std::deque<std::string> log_;
};

class gxDatabaseModelTest : public DatabaseTest, public ::testing::WithParamInterface<SeedSlot> {};

TEST_P(gxDatabaseModelTest, RandomAllocateWriteChecksumFreeAndReopenMatchTheModelOnDisk) {
  std::uint32_t seed = 0;
  if (!SeedOfSlot(GetParam(), seed)) GTEST_SKIP() << "seed slot not used in this run";
  AnnounceSeed(seed);

  ModelRun run(seed, PathOf("model.qmt"));
  ASSERT_EQ(run.Start(), "");
  for (int step = 0; step < kSteps; ++step) {
    const std::string problem = run.Step(step);
    ASSERT_EQ(problem, "") << "seed " << seed << ", step " << step << "; last operations:\n"
                           << run.RecentOperations();
    if (step % kCheckEvery == kCheckEvery - 1) {
      const std::string found = run.Check();
      ASSERT_EQ(found, "") << "seed " << seed << ", after step " << step << "; last operations:\n"
                           << run.RecentOperations();
    }
  }
  ASSERT_EQ(run.Finish(), "") << "seed " << seed << " at the end; last operations:\n"
                              << run.RecentOperations();
  // The run must have reached the cases it is for.
  EXPECT_GT(run.Model().Blocks().size(), run.Model().LiveObjects().size())
      << "no free blocks left at the end";
}

INSTANTIATE_TEST_SUITE_P(Seeds, gxDatabaseModelTest, ::testing::ValuesIn(SeedSlots(kFixedSeeds)),
                         SeedSlotName);

}  // namespace
}  // namespace qmtest
