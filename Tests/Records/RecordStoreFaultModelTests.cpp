// Random add, change and delete on one or two stores while single stream
// faults (write, flush, read or seek; once, or for the rest of the session)
// are injected at random steps. Each action opens and closes its store, as
// the program does. An action that reported success is in the model; one
// that reported failure must leave the store as before, except where the
// headers allow more: a failed change may leave the new image, or a record
// whose CRC warning is shown when read; and only under a fault that lasts
// the session (the undo cannot be written either) may a failed delete leave
// the record freed, or a failed add a block read with the CRC warning, or
// the very record it tried to add: its last write reached the file and only
// its check failed, and with every later write failing nothing can take it
// back (no order of writes avoids this).
// Seeds 1, 2, 3 and 77 found a failed add that left a live damaged block and
// a failed delete that freed the record. After every session the store is
// walked from a fresh open: exactly the model's records, each with its bytes.
// Seeds: Support/RandomSeeds.h.
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <deque>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "Database/gxFaultInjection.h"
#include "Records/DatabaseObject.h"
#include "Records/RecordKind.h"
#include "RecordsTestSupport.h"
#include "Support/RandomSeeds.h"
#include "Support/StoredImage.h"

namespace qmrecords {
namespace {

using qmtest::RandomSource;
using qmtest::SeedSlot;
using qmtest::StoredImage;

// Fixed seeds: the CI run. Add a seed that once found a fault here.
const std::vector<std::uint32_t> kFixedSeeds = {1, 2, 3, 77};

constexpr int kSteps = 180;

const RecordKind kKinds[] = {RecordKind::TextNote, RecordKind::TimeNotif};

// What a record may look like after the actions so far.
struct Entry {
  std::vector<Bytes> images;  // any of these, with a correct CRC
  bool mayBeDamaged = false;  // or read with the CRC warning
  bool mayBeAbsent = false;   // or freed
};

struct StoreModel {
  const RecordKindInfo* info;
  std::string path;
  std::map<std::uint32_t, Entry> records;  // object address -> what it may hold
};

bool SameAsRead(const Bytes& onDisk, const unsigned char* buffer, std::uint32_t address) {
  const std::size_t body = onDisk.size() - 4;
  return std::equal(onDisk.begin(), onDisk.begin() + body, buffer) &&
         std::memcmp(buffer + body, &address, 4) == 0;
}

const char* OpName(gxFaultOp op) {
  switch (op) {
    case gxFaultOp::Open:
      return "Open";
    case gxFaultOp::Read:
      return "Read";
    case gxFaultOp::Write:
      return "Write";
    case gxFaultOp::Flush:
      return "Flush";
    case gxFaultOp::Seek:
      return "Seek";
  }
  return "?";
}

class FaultModelRun {
 public:
  FaultModelRun(std::uint32_t seed, const std::vector<std::string>& paths,
                qmtest::RecordedMessageBoxes& boxes)
      : random_(seed), boxes_(boxes) {
    for (std::size_t i = 0; i < paths.size(); ++i)
      models_.push_back(StoreModel{&RecordKindInfoOf(kKinds[i]), paths[i], {}});
  }

  // One session with one operation, perhaps under a fault, then a walk.
  std::string Step() {
    StoreModel& model = models_[random_.Below(static_cast<std::uint32_t>(models_.size()))];
    {
      std::unique_ptr<RecordStore> store = MakeRecordStore(model.info->kind);
      if (OpenOrCreateStoreFile(*store, model.path) != 0) return "cannot open " + model.path;
      strayAllowed_ = false;
      fault_ = random_.Percent(40);
      if (fault_) {
        static const gxFaultOp kOps[] = {gxFaultOp::Write, gxFaultOp::Flush, gxFaultOp::Read,
                                         gxFaultOp::Seek};
        const gxFaultOp op = kOps[random_.Below(4)];
        const int nth = static_cast<int>(random_.Between(1, 6));
        const bool persistent = random_.Percent(25);
        persistent_ = persistent;
        gxInjectFault(op, nth, persistent);
        faultText_ = std::string(" [fault ") + OpName(op) + " #" + std::to_string(nth) +
                     (persistent ? " persistent]" : "]");
      } else {
        persistent_ = false;
        faultText_.clear();
      }
      std::string problem = Operate(*store, model);
      CloseStoreFile(*store);
      const bool fired = gxFaultsFired() > 0;
      gxClearFaults();
      if (!problem.empty()) return problem;
      // Without a fault that fired, nothing may fail or warn.
      if (!fired && !boxes_.shown.empty()) return "a message box without a fault: " + boxes_.shown[0].text;
      boxes_.shown.clear();
    }
    return Walk(model);
  }

  std::string RecentOperations() const {
    std::string text;
    for (const std::string& line : log_) text += "  " + line + "\n";
    return text;
  }

  std::size_t RecordCount() const {
    std::size_t count = 0;
    for (const StoreModel& model : models_) count += model.records.size();
    return count;
  }

  int FailedOperations() const { return failed_; }

 private:
  void Log(const StoreModel& model, const std::string& line) {
    log_.push_back(std::string(model.info->storeName) + ": " + line + faultText_);
    if (log_.size() > 12) log_.pop_front();
  }

  Bytes RandomImage(const RecordKindInfo& info) {
    Bytes image(info.recordSize);
    for (unsigned char& byte : image) byte = random_.Byte();
    for (std::size_t i = 0; i < info.fieldCount; ++i) {
      const RecordField& field = info.fields[i];
      if (field.type != RecordFieldType::Text) continue;
      const std::uint32_t length = random_.Below(255);
      for (std::uint32_t j = 0; j < length; ++j)
        image[field.offset + j] = static_cast<unsigned char>(random_.Between(1, 255));
      image[field.offset + length] = 0;
    }
    return image;
  }

  // A record whose bytes are known exactly (damaged ones are left alone).
  bool PickRecord(const StoreModel& model, std::uint32_t& address) {
    std::vector<std::uint32_t> known;
    for (const auto& [at, entry] : model.records)
      if (entry.images.size() == 1 && !entry.mayBeDamaged) known.push_back(at);
    if (known.empty()) return false;
    address = known[random_.Below(static_cast<std::uint32_t>(known.size()))];
    return true;
  }

  std::string Operate(RecordStore& store, StoreModel& model) {
    const std::size_t count = model.records.size();
    const std::uint32_t addShare = count < 3 ? 80 : count > 30 ? 20 : 45;
    const std::uint32_t roll = random_.Below(100);
    std::uint32_t address = 0;
    if (roll < addShare || !PickRecord(model, address)) return Add(store, model);
    return roll < addShare + (100 - addShare) / 2 ? Change(store, model, address)
                                                  : Delete(store, model, address);
  }

  std::string Add(RecordStore& store, StoreModel& model) {
    const Bytes image = RandomImage(*model.info);
    std::memcpy(store.RecordBytes(), image.data(), image.size());
    const std::uint32_t address = store.AddRecord();
    Log(model, "AddRecord -> " + std::to_string(address));
    if (address == 0) {
      if (!fault_) return "AddRecord failed without a fault";
      ++failed_;
      // When the file takes no more writes, the block taken cannot be given back.
      strayAllowed_ = persistent_;
      strayImage_ = StoredImage(*model.info, image);
      return "";
    }
    if (model.records.count(address) != 0) return "AddRecord gave the address of a live record";
    model.records[address] = Entry{{StoredImage(*model.info, image)}, false, false};
    return "";
  }

  // The read before an edit. A failed or warned read (only under a fault)
  // ends the action there, as the user would cancel it.
  bool ReadFirst(RecordStore& store, StoreModel& model, std::uint32_t address, std::string& problem) {
    const RecordReadStatus status = store.ReadRecord(address);
    if (status != RecordReadStatus::Ok) {
      if (!fault_) problem = "ReadRecord(" + std::to_string(address) + ") failed without a fault";
      ++failed_;
      return false;
    }
    if (!SameAsRead(model.records.at(address).images[0], store.RecordBytes(), address))
      problem = "ReadRecord(" + std::to_string(address) + ") gave other bytes";
    return problem.empty();
  }

  std::string Change(RecordStore& store, StoreModel& model, std::uint32_t address) {
    Log(model, "ChangeRecordImage(" + std::to_string(address) + ")");
    std::string problem;
    if (!ReadFirst(store, model, address, problem)) return problem;
    const Bytes image = RandomImage(*model.info);
    const Bytes onDisk = StoredImage(*model.info, image);
    if (store.ChangeRecordImage(image.data()) == address) {
      model.records[address] = Entry{{onDisk}, false, false};
      return "";
    }
    if (!fault_) return "ChangeRecordImage failed without a fault";
    ++failed_;
    // The write is in place: it may have landed whole or in part.
    Entry& entry = model.records[address];
    entry.images.push_back(onDisk);
    entry.mayBeDamaged = true;
    return "";
  }

  std::string Delete(RecordStore& store, StoreModel& model, std::uint32_t address) {
    Log(model, "DeleteRecord(" + std::to_string(address) + ")");
    std::string problem;
    if (!ReadFirst(store, model, address, problem)) return problem;
    if (store.DeleteRecord() == address) {
      model.records.erase(address);
      return "";
    }
    if (!fault_) return "DeleteRecord failed without a fault";
    ++failed_;
    // Not freed: the record stays live, unless the undo could not be written either.
    model.records[address].mayBeAbsent = persistent_;
    return "";
  }

  // The store from a fresh open, faults cleared: every record of the model
  // with bytes it may have, and nothing else. The model then takes what was
  // found.
  std::string Walk(StoreModel& model) {
    std::unique_ptr<RecordStore> store = MakeRecordStore(model.info->kind);
    if (OpenOrCreateStoreFile(*store, model.path) != 0) return "cannot open for the walk";
    std::map<std::uint32_t, Entry> found;
    std::string problem;
    store->ForEachRecord([&](std::uint32_t address) {
      if (!problem.empty()) return;
      const bool warned = !boxes_.shown.empty();
      boxes_.shown.clear();
      const auto it = model.records.find(address);
      if (it == model.records.end()) {
        if (warned && strayAllowed_) {
          found[address] = Entry{{}, true, false};
          return;
        }
        if (!warned && strayAllowed_ && SameAsRead(strayImage_, store->RecordBytes(), address)) {
          found[address] = Entry{{strayImage_}, false, false};
          strayAllowed_ = false;  // one add, one record at most
          return;
        }
        problem = "the walk shows a record at " + std::to_string(address) + " that should not be there" +
                  (warned ? " (with a CRC warning)" : "");
        return;
      }
      if (warned) {
        if (!it->second.mayBeDamaged) problem = "the record at " + std::to_string(address) + " is damaged";
        found[address] = Entry{{}, true, false};
        return;
      }
      for (const Bytes& image : it->second.images) {
        if (SameAsRead(image, store->RecordBytes(), address)) {
          found[address] = Entry{{image}, false, false};
          return;
        }
      }
      problem = "the record at " + std::to_string(address) + " holds other bytes";
    });
    if (!CloseStoreFile(*store) && problem.empty()) problem = "an error was reported on Close";
    if (!problem.empty()) return problem;
    for (const auto& entry : model.records)
      if (found.count(entry.first) == 0 && !entry.second.mayBeAbsent)
        return "the record at " + std::to_string(entry.first) + " is lost";
    model.records = found;
    return "";
  }

  RandomSource random_;
  qmtest::RecordedMessageBoxes& boxes_;
  std::vector<StoreModel> models_;
  std::deque<std::string> log_;
  bool fault_ = false;
  bool persistent_ = false;
  bool strayAllowed_ = false;  // a failed add under a persistent fault
  Bytes strayImage_;           // the record that add tried to store
  std::string faultText_;
  int failed_ = 0;
};

class RecordStoreFaultModelTest : public RecordsTest, public ::testing::WithParamInterface<SeedSlot> {};

TEST_P(RecordStoreFaultModelTest, FailedActionsUnderInjectedFaultsLoseNothingStoredBefore) {
  std::uint32_t seed = 0;
  if (!qmtest::SeedOfSlot(GetParam(), seed)) GTEST_SKIP() << "seed slot not used in this run";
  qmtest::AnnounceSeed(seed);

  // Odd seeds use one store, even ones two.
  std::vector<std::string> paths;
  for (std::size_t i = 0; i < (seed % 2 == 0 ? 2u : 1u); ++i)
    paths.push_back(PathOf(std::string(RecordKindInfoOf(kKinds[i]).storeName) + ".qmf"));
  FaultModelRun run(seed, paths, boxes_);
  for (int step = 0; step < kSteps; ++step) {
    const std::string problem = run.Step();
    ASSERT_EQ(problem, "") << "seed " << seed << ", step " << step << "; last operations:\n"
                           << run.RecentOperations();
  }
  EXPECT_GT(run.RecordCount(), 0u);
  // The faults must have made some actions fail, or nothing was tested.
  EXPECT_GT(run.FailedOperations(), 0);
}

INSTANTIATE_TEST_SUITE_P(Seeds, RecordStoreFaultModelTest,
                         ::testing::ValuesIn(qmtest::SeedSlots(kFixedSeeds)), qmtest::SeedSlotName);

}  // namespace
}  // namespace qmrecords
