#include "admin/ban_list.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "support/test_game.h"

namespace {

std::string Rec(uint8_t a, uint8_t b, uint8_t c, uint8_t d) {
  return std::string{static_cast<char>(a), static_cast<char>(b), static_cast<char>(c),
                     static_cast<char>(d), ','};
}

bool Exists(const char* name) { return std::filesystem::exists(name); }

TEST(BanListTest, AddressesWithZeroBytesAreStoredWholeAndMatchOnlyThemselves) {
  ScopedTempDir dir;
  EXPECT_EQ(BanLookup({10, 0, 0, 1}), 0);  // no file: cannot be read
  EXPECT_EQ(BanAdd({10, 0, 0, 1}), 1);     // creates it
  EXPECT_EQ(ReadFile("banlist.dat"), Rec(10, 0, 0, 1));
  EXPECT_EQ(BanLookup({10, 0, 0, 1}), 2);
  EXPECT_EQ(BanLookup({10, 0, 5, 7}), 1);
  EXPECT_EQ(BanLookup({10, 0, 0, 0}), 1);

  EXPECT_EQ(BanAdd({192, 168, 1, 20}), 1);
  EXPECT_EQ(BanAdd({10, 0, 0, 1}), 1);  // listed twice: the caller looks first
  EXPECT_EQ(ReadFile("banlist.dat"),
            std::string("\x0a\x00\x00\x01,\xc0\xa8\x01\x14,\x0a\x00\x00\x01,", 15));
  std::vector<BanAddress> list;
  EXPECT_EQ(BanReadList(&list), 1);
  EXPECT_EQ(list, (std::vector<BanAddress>{{10, 0, 0, 1}, {192, 168, 1, 20}, {10, 0, 0, 1}}));
}

TEST(BanListTest, RecordsMustMatchInAllFiveBytes) {
  ScopedTempDir dir;
  WriteFile("banlist.dat", std::string("\x01\x02\x03\x04;", 5));  // no comma
  EXPECT_EQ(BanLookup({1, 2, 3, 4}), 1);
}

TEST(BanListTest, ASevenByteFileHoldsOneRecord) {
  ScopedTempDir dir;
  const std::string tail = Rec(9, 9, 9, 9).substr(0, 2);
  WriteFile("banlist.dat", Rec(1, 2, 3, 4) + tail);
  EXPECT_EQ(BanLookup({1, 2, 3, 4}), 2);
  EXPECT_EQ(BanLookup({9, 9, 9, 9}), 1);
  std::vector<BanAddress> list;
  BanReadList(&list);
  EXPECT_EQ(list.size(), 1u);

  EXPECT_EQ(BanRemoveAt(5), 1);  // rewritten without the short tail
  EXPECT_EQ(ReadFile("banlist.dat"), Rec(1, 2, 3, 4));
}

TEST(BanListTest, AddingAfterAShortTailKeepsRecordsAligned) {
  ScopedTempDir dir;
  WriteFile("banlist.dat", Rec(1, 2, 3, 4) + "xy");
  EXPECT_EQ(BanAdd({5, 6, 7, 8}), 1);
  EXPECT_EQ(ReadFile("banlist.dat"), Rec(1, 2, 3, 4) + Rec(5, 6, 7, 8));
  EXPECT_EQ(BanLookup({5, 6, 7, 8}), 2);
}

TEST(BanListTest, RemovingPositionZeroOfThreeKeepsTheOthersInOrder) {
  ScopedTempDir dir;
  WriteFile("banlist.dat", Rec(1, 1, 1, 1) + Rec(2, 2, 2, 2) + Rec(3, 3, 3, 3));
  EXPECT_EQ(BanRemoveAt(0), 1);
  EXPECT_EQ(ReadFile("banlist.dat"), Rec(2, 2, 2, 2) + Rec(3, 3, 3, 3));
  EXPECT_TRUE(Exists("banlist.swp"));
  EXPECT_EQ(ReadFile("banlist.swp"), "");
  EXPECT_EQ(BanRemoveAt(1), 1);
  EXPECT_EQ(ReadFile("banlist.dat"), Rec(2, 2, 2, 2));
}

TEST(BanListTest, RemovingPastTheEndRewritesTheListUnchanged) {
  ScopedTempDir dir;
  const std::string list = Rec(1, 1, 1, 1) + Rec(2, 2, 2, 2);
  WriteFile("banlist.dat", list);
  WriteFile("banlist.swp", "stale leftovers");
  EXPECT_EQ(BanRemoveAt(2), 1);
  EXPECT_EQ(BanRemoveAt(-1), 1);
  EXPECT_EQ(ReadFile("banlist.dat"), list);
  EXPECT_EQ(ReadFile("banlist.swp"), "");
}

TEST(BanListTest, RemovingFromAMissingListFails) {
  ScopedTempDir dir;
  EXPECT_EQ(BanRemoveAt(0), 0);
  EXPECT_FALSE(Exists("banlist.dat"));
  std::vector<BanAddress> list{{1, 1, 1, 1}};
  EXPECT_EQ(BanReadList(&list), 0);
  EXPECT_TRUE(list.empty());
}

TEST(BanListTest, ClearingCreatesAnEmptyListOrEmptiesOne) {
  ScopedTempDir dir;
  EXPECT_EQ(BanClear(), 1);
  EXPECT_TRUE(Exists("banlist.dat"));
  EXPECT_EQ(ReadFile("banlist.dat"), "");
  EXPECT_EQ(BanLookup({1, 2, 3, 4}), 1);  // an empty list can be read
  BanAdd({1, 2, 3, 4});
  EXPECT_EQ(BanClear(), 1);
  EXPECT_EQ(ReadFile("banlist.dat"), "");
}

TEST(BanListTest, ListThatCannotBeCreatedIsReported) {
  ScopedTempDir dir;
  std::filesystem::create_directory("banlist.dat");  // in the way
  EXPECT_EQ(BanClear(), 0);
  EXPECT_EQ(BanAdd({1, 2, 3, 4}), 0);
}

// A removal stopped after any of its writes (as by a crash or a full disk)
// leaves "banlist.dat" holding a whole list: the old one or the new one.
TEST(BanListTest, InterruptedRemovalAlwaysLeavesAWholeList) {
  ScopedTempDir dir;
  const std::string before = Rec(1, 1, 1, 1) + Rec(2, 2, 2, 2) + Rec(3, 3, 3, 3) + "z";
  const std::string after = Rec(1, 1, 1, 1) + Rec(3, 3, 3, 3);

  int writes = 0;
  WriteFile("banlist.dat", before);
  ASSERT_EQ(BanRemoveAt(1, [&] { ++writes; return true; }), 1);
  ASSERT_EQ(ReadFile("banlist.dat"), after);
  ASSERT_GE(writes, 4);  // two records, the flush, the rename, the empty scratch

  for (int stopAt = 1; stopAt <= writes; ++stopAt) {
    WriteFile("banlist.dat", before);
    std::filesystem::remove("banlist.swp");
    int seen = 0;
    int result = BanRemoveAt(1, [&] { return ++seen < stopAt; });
    EXPECT_EQ(result, 0) << stopAt;
    const std::string now = ReadFile("banlist.dat");
    EXPECT_TRUE(now == before || now == after) << "stopped after write " << stopAt;
    // Whatever is left, a look-up reads a whole list.
    EXPECT_EQ(BanLookup({3, 3, 3, 3}), 2) << stopAt;
  }
}

}  // namespace
