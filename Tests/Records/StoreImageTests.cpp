// The bytes a fixed sequence of actions leaves on disk, compared with images
// kept in StoreImages/: adds, changes, deletes and re-adds into freed blocks
// on the stores of six kinds (each action one store session, as the program
// runs them), and mixed object sizes straight on the engine for every
// revision letter (exact reuse, skipped and split free blocks, appends by
// method 0, 'D' and 'R' frees). Any change to the engine or the stores must
// leave these files byte for byte as they are.
//
// The images were recorded with the engine as it stood before its I/O was
// rewritten; QM_WRITE_STORE_IMAGES=<folder> writes the images of this build
// there instead of comparing (for recording them again on purpose only).
#include <cstdlib>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "Records/DatabaseObject.h"
#include "RecordsTestSupport.h"
#include "Support/RandomSeeds.h"
#include "Support/ReachablePath.h"
#include "Support/StoredImage.h"

namespace qmrecords {
namespace {

using qmtest::RandomSource;

enum class Action { Add, Change, Delete };
struct Step {
  Action action;
  int record;  // for Change and Delete: the record by the order it was added
};

// Twelve adds, changes, deletes that build a three-block free list, re-adds
// that take its blocks in LIFO order, then more of each, ending with appends.
const Step kStoreSteps[] = {
    {Action::Add, 0},     {Action::Add, 0},     {Action::Add, 0},     {Action::Add, 0},
    {Action::Add, 0},     {Action::Add, 0},     {Action::Add, 0},     {Action::Add, 0},
    {Action::Add, 0},     {Action::Add, 0},     {Action::Add, 0},     {Action::Add, 0},
    {Action::Change, 2},  {Action::Change, 5},  {Action::Change, 9},  {Action::Delete, 3},
    {Action::Delete, 4},  {Action::Delete, 7},  {Action::Add, 0},     {Action::Add, 0},
    {Action::Delete, 0},  {Action::Delete, 11}, {Action::Change, 12}, {Action::Change, 13},
    {Action::Add, 0},     {Action::Add, 0},     {Action::Add, 0},     {Action::Add, 0},
    {Action::Delete, 16}, {Action::Change, 1},  {Action::Add, 0},     {Action::Add, 0},
};

const RecordKind kKinds[] = {RecordKind::TextNote,  RecordKind::PhotoAlbum, RecordKind::TimeNotif,
                             RecordKind::EmailRes,  RecordKind::InternetRes, RecordKind::FastText};

// A record image with texts of random lengths (some longer than 254
// characters, which the store cuts) and random bytes elsewhere.
Bytes RecordImage(const RecordKindInfo& info, RandomSource& random) {
  Bytes image(info.recordSize);
  for (unsigned char& byte : image) byte = random.Byte();
  for (std::size_t i = 0; i < info.fieldCount; ++i) {
    const RecordField& field = info.fields[i];
    if (field.type != RecordFieldType::Text) continue;
    const std::uint32_t length = random.Below(256);
    for (std::uint32_t j = 0; j < length && j < 255; ++j)
      image[field.offset + j] = static_cast<unsigned char>(random.Between('a', 'z'));
    if (length < 255) image[field.offset + length] = 0;
  }
  return image;
}

class StoreImageTest : public RecordsTest {
 protected:
  static std::string ImagePath(const std::string& name) {
    return qmtest::ReachablePath(std::string(QM_STORE_IMAGES_DIR) + "/" + name);
  }

  // Compares the file with its kept image, or writes it when asked to record.
  void ExpectKeptImage(const std::string& path, const std::string& name) {
    const Bytes made = ReadFileBytes(path);
    ASSERT_FALSE(made.empty()) << name;
    if (const char* folder = std::getenv("QM_WRITE_STORE_IMAGES")) {
      WriteFileBytes(std::string(folder) + "/" + name, made);
      return;
    }
    const Bytes kept = ReadFileBytes(ImagePath(name));
    ASSERT_FALSE(kept.empty()) << "no kept image " << ImagePath(name);
    ASSERT_EQ(made.size(), kept.size()) << name;
    for (std::size_t i = 0; i < made.size(); ++i)
      ASSERT_EQ(made[i], kept[i]) << name << ": first difference at offset " << i;
  }
};

TEST_F(StoreImageTest, AddChangeDeleteAndReAddOnSixKindsWriteTheKeptImages) {
  for (RecordKind kind : kKinds) {
    const RecordKindInfo& info = RecordKindInfoOf(kind);
    SCOPED_TRACE(info.storeName);
    const std::string path = PathOf(std::string(info.storeName) + ".qmt");
    RandomSource random(static_cast<std::uint32_t>(kind) + 1);
    std::vector<std::uint32_t> added;       // by the order of the adds
    std::map<std::uint32_t, Bytes> onDisk;  // live records: address -> image on disk
    for (const Step& step : kStoreSteps) {
      std::unique_ptr<RecordStore> store = MakeRecordStore(kind);
      ASSERT_EQ(OpenOrCreateStoreFile(*store, path), 0);
      const Bytes image = RecordImage(info, random);
      if (step.action == Action::Add) {
        std::copy(image.begin(), image.end(), store->RecordBytes());
        const std::uint32_t address = store->AddRecord();
        ASSERT_NE(address, 0u);
        added.push_back(address);
        onDisk[address] = qmtest::StoredImage(info, image);
      } else {
        const std::uint32_t address = added.at(static_cast<std::size_t>(step.record));
        ASSERT_EQ(store->ReadRecord(address), RecordReadStatus::Ok);
        if (step.action == Action::Change) {
          ASSERT_EQ(store->ChangeRecordImage(image.data()), address);
          onDisk[address] = qmtest::StoredImage(info, image);
        } else {
          ASSERT_EQ(store->DeleteRecord(), address);
          onDisk.erase(address);
        }
      }
      ASSERT_TRUE(CloseStoreFile(*store));
    }
    ExpectKeptImage(path, std::string(info.storeName) + ".qmt");

    // The walk reads back exactly the live records, in file order.
    std::unique_ptr<RecordStore> store = MakeRecordStore(kind);
    ASSERT_EQ(OpenOrCreateStoreFile(*store, path), 0);
    std::map<std::uint32_t, Bytes> walked;
    std::uint32_t previous = 0;
    store->ForEachRecord([&](std::uint32_t address) {
      EXPECT_GT(address, previous);
      previous = address;
      Bytes record(store->RecordBytes(), store->RecordBytes() + info.recordSize);
      std::fill(record.end() - 4, record.end(), 0);  // the own-address slot holds the address
      walked[address] = record;
    });
    EXPECT_TRUE(CloseStoreFile(*store));
    EXPECT_EQ(walked, onDisk);
  }
  EXPECT_TRUE(boxes_.shown.empty());
}

TEST_F(StoreImageTest, MixedObjectSizesOnEveryRevisionWriteTheKeptImages) {
  struct Revision {
    char letter;
    std::uint32_t staticSize;
    const char* name;
  };
  const Revision revisions[] = {{'C', 0, "engine-C.qmt"},
                                {'A', 10, "engine-A.qmt"},
                                {'B', 0, "engine-B.qmt"},
                                {' ', 5, "engine-blank.qmt"}};
  for (const Revision& revision : revisions) {
    SCOPED_TRACE(revision.name);
    const std::string path = PathOf(revision.name);
    RandomSource random(99);
    gxDatabase db;
    ASSERT_EQ(db.Create(path.c_str(), revision.staticSize, revision.letter), 0);
    const std::uint32_t overhead = db.BlockHeaderSize() + (db.HasChecksums() ? 4u : 0u);
    std::vector<std::uint32_t> objects;
    auto add = [&](std::uint32_t length, int method) {
      const std::uint32_t object = db.Allocate(length, method);
      ASSERT_NE(object, 0u);
      Bytes bytes(length);
      for (unsigned char& byte : bytes) byte = random.Byte();
      ASSERT_EQ(db.WriteAt(bytes.data(), length, object, true, true), 0);
      db.StoreChecksum(object);
      ASSERT_EQ(db.LastError(), 0);
      objects.push_back(object);
    };
    for (std::uint32_t length : {773u, 100u, 500u, 2809u, 20u, 1024u, 1u, 790u}) add(length, 2);
    ASSERT_EQ(db.FreeBlock(objects[1]), 1);         // 100
    ASSERT_EQ(db.FreeBlock(objects[3], false), 1);  // 2809, status 'D'
    ASSERT_EQ(db.FreeBlock(objects[5]), 1);         // 1024; list: 1024 -> 2809 -> 100
    add(1024 - overhead, 2);      // the 1024 block is too short to split: the 'D' block is split
    add(1024 - overhead - 1, 2);  // now the 1024 block is split
    add(100, 2);                  // split off the 'D' block's remainder
    ASSERT_EQ(db.Close(), 0);

    ASSERT_EQ(db.Open(path.c_str(), 2), 0);
    add(2000, 2);  // fits no free block: appended
    add(300, 0);   // method 0 appends
    ASSERT_EQ(db.FreeBlock(objects[0]), 1);
    ASSERT_EQ(db.FreeBlock(objects[7]), 1);
    add(1, 2);    // splits the block freed last
    add(773, 2);  // takes the first block again, an exact fit
    const Bytes patch = {1, 2, 3, 4, 5};
    ASSERT_EQ(db.WriteAt(patch.data(), 5, objects[2] + 7, true, true), 0);
    db.StoreChecksum(objects[2]);
    ASSERT_EQ(db.LastError(), 0);
    ASSERT_EQ(db.Close(), 0);
    ExpectKeptImage(path, revision.name);
  }
}

}  // namespace
}  // namespace qmrecords
