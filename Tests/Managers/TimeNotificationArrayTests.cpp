// CSimpleArray: the growth rule of the pending list and removal by byte move.
#include <gtest/gtest.h>

#include <cstring>

#include "Library/CSimpleArray.h"
#include "Records/DatabaseData.h"
#include "Records/RecordText.h"

namespace {

DatabaseDataTimeNotif Numbered(int n) {
  DatabaseDataTimeNotif record{};
  CopyRecordText(record.title, ("title " + std::to_string(n)).c_str());
  record.type = n % 2;
  record.time.year = static_cast<std::uint16_t>(2000 + n % 50);
  record.ownAddress = static_cast<std::uint32_t>(1000 + n);
  return record;
}

// The capacity after appending one element to an array that holds count.
int CapacityAfterAppendingTo(int count) {
  CSimpleArray<int> array;
  EXPECT_TRUE(array.SetSize(count));
  EXPECT_EQ(array.GetCapacity(), count);  // a first allocation is exactly the size asked
  EXPECT_TRUE(array.Add(7));
  return array.GetCapacity();
}

}  // namespace

TEST(TimeNotificationArray, GrowsByFourBelowThirtyTwoByAnEighthAndByAtMost1024From8200) {
  EXPECT_EQ(CapacityAfterAppendingTo(0), 4);
  EXPECT_EQ(CapacityAfterAppendingTo(16), 20);  // 16 / 8 would be 2
  EXPECT_EQ(CapacityAfterAppendingTo(31), 35);  // 31 / 8 would be 3
  EXPECT_EQ(CapacityAfterAppendingTo(32), 36);  // from 32 on: count / 8
  EXPECT_EQ(CapacityAfterAppendingTo(40), 45);
  EXPECT_EQ(CapacityAfterAppendingTo(8000), 9000);
  EXPECT_EQ(CapacityAfterAppendingTo(8199), 9223);    // 8199 / 8 = 1024
  EXPECT_EQ(CapacityAfterAppendingTo(8200), 9224);    // 8200 / 8 would be 1025
  EXPECT_EQ(CapacityAfterAppendingTo(16000), 17024);  // 16000 / 8 would be 2000

  // Appending one by one from empty: steps of 4 up to 32 elements, then an
  // eighth of the count.
  CSimpleArray<int> array;
  int previous = 0;
  std::vector<int> capacities;
  for (int i = 0; i < 60; ++i) {
    ASSERT_TRUE(array.Add(i));
    if (array.GetCapacity() != previous) capacities.push_back(array.GetCapacity());
    previous = array.GetCapacity();
  }
  EXPECT_EQ(capacities, (std::vector<int>{4, 8, 12, 16, 20, 24, 28, 32, 36, 40, 45, 50, 56, 63}));
  for (int i = 0; i < 60; ++i) EXPECT_EQ(array[i], i);

  // A given growth step wins; a size beyond capacity + step is taken whole.
  CSimpleArray<int> stepped;
  stepped.SetGrowBy(10);
  ASSERT_TRUE(stepped.Add(1));
  EXPECT_EQ(stepped.GetCapacity(), 10);
  ASSERT_TRUE(stepped.SetSize(50));
  EXPECT_EQ(stepped.GetCapacity(), 50);
}

TEST(TimeNotificationArray, SizeChangesZeroNewElementsKeepOldOnesAndSizeZeroFreesStorage) {
  CSimpleArray<DatabaseDataTimeNotif> array;
  for (int i = 0; i < 10; ++i) ASSERT_TRUE(array.Add(Numbered(i)));
  ASSERT_TRUE(array.SetSize(3));
  EXPECT_EQ(array.GetSize(), 3);
  int capacity = array.GetCapacity();
  EXPECT_GE(capacity, 10);  // shrinking keeps the storage
  ASSERT_TRUE(array.SetSize(6));
  EXPECT_EQ(array.GetCapacity(), capacity);
  DatabaseDataTimeNotif zero{};
  for (int i = 3; i < 6; ++i) EXPECT_EQ(std::memcmp(&array[i], &zero, sizeof zero), 0) << i;
  for (int i = 0; i < 3; ++i) {
    DatabaseDataTimeNotif expected = Numbered(i);
    EXPECT_EQ(std::memcmp(&array[i], &expected, sizeof expected), 0) << i;
  }
  ASSERT_TRUE(array.SetSize(0));
  EXPECT_EQ(array.GetSize(), 0);
  EXPECT_EQ(array.GetCapacity(), 0);
  EXPECT_EQ(array.GetData(), nullptr);

  // A request that cannot be met leaves the array as it was.
  ASSERT_TRUE(array.Add(Numbered(1)));
  EXPECT_FALSE(array.SetSize(0x7FFFFFFF));
  EXPECT_FALSE(array.SetSize(-1));
  ASSERT_EQ(array.GetSize(), 1);
  EXPECT_EQ(array[0].ownAddress, 1001u);
}

TEST(TimeNotificationArray, RemovalMovesLaterElementsDownAndKeepsTheOthersIntact) {
  CSimpleArray<DatabaseDataTimeNotif> array;
  const int count = 40;
  for (int i = 0; i < count; ++i) ASSERT_TRUE(array.Add(Numbered(i)));
  int capacity = array.GetCapacity();

  ASSERT_TRUE(array.RemoveAt(0));                    // first
  ASSERT_TRUE(array.RemoveAt(17));                   // middle: element 18
  ASSERT_TRUE(array.RemoveAt(array.GetSize() - 1));  // last: element 39
  EXPECT_FALSE(array.RemoveAt(array.GetSize()));
  EXPECT_FALSE(array.RemoveAt(-1));
  EXPECT_EQ(array.GetCapacity(), capacity);

  std::vector<int> left;
  for (int i = 1; i < count - 1; ++i) {
    if (i != 18) left.push_back(i);
  }
  ASSERT_EQ(array.GetSize(), static_cast<int>(left.size()));
  for (int i = 0; i < array.GetSize(); ++i) {
    DatabaseDataTimeNotif expected = Numbered(left[i]);
    EXPECT_EQ(std::memcmp(&array[i], &expected, sizeof expected), 0) << "element " << i;
  }

  // Appending an element of the array itself while the array grows.
  CSimpleArray<DatabaseDataTimeNotif> full;
  for (int i = 0; i < 4; ++i) ASSERT_TRUE(full.Add(Numbered(i)));
  ASSERT_EQ(full.GetSize(), full.GetCapacity());
  ASSERT_TRUE(full.Add(full[2]));
  EXPECT_EQ(full[4].ownAddress, 1002u);
}
