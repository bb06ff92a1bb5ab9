#include "protocol/ban_list.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "support/test_game.h"

namespace {

std::string Rec(uint8_t a, uint8_t b, uint8_t c, uint8_t d) {
  return std::string{static_cast<char>(a), static_cast<char>(b), static_cast<char>(c),
                     static_cast<char>(d), ','};
}

TEST(BanListTest, AddingToAMissingListAndAddressesWithZeroBytes) {
  ScopedTempDir dir;
  EXPECT_EQ(BanLookup({10, 0, 0, 1}), 0);  // no file: cannot be read
  EXPECT_EQ(BanAdd({10, 0, 0, 1}), 1);     // creates it
  EXPECT_EQ(BanAdd({192, 168, 1, 20}), 1);
  EXPECT_EQ(ReadFile("banlist.dat"), Rec(10, 0, 0, 1) + Rec(192, 168, 1, 20));
  EXPECT_EQ(BanLookup({10, 0, 0, 1}), 2);
  EXPECT_EQ(BanLookup({10, 0, 5, 7}), 1);
  std::vector<BanAddress> list;
  EXPECT_EQ(BanReadList(&list), 1);
  EXPECT_EQ(list, (std::vector<BanAddress>{{10, 0, 0, 1}, {192, 168, 1, 20}}));
}

TEST(BanListTest, ASevenByteFileHoldsOneRecord) {
  ScopedTempDir dir;
  WriteFile("banlist.dat", Rec(1, 2, 3, 4) + Rec(9, 9, 9, 9).substr(0, 2));
  EXPECT_EQ(BanLookup({1, 2, 3, 4}), 2);
  EXPECT_EQ(BanLookup({9, 9, 9, 9}), 1);
  EXPECT_EQ(BanRemoveAt(5), 1);  // rewritten without the short tail
  EXPECT_EQ(ReadFile("banlist.dat"), Rec(1, 2, 3, 4));
}

TEST(BanListTest, RemovingPositionZeroOfThreeOrPastTheEnd) {
  ScopedTempDir dir;
  const std::string rest = Rec(2, 2, 2, 2) + Rec(3, 3, 3, 3);
  WriteFile("banlist.dat", Rec(1, 1, 1, 1) + rest);
  EXPECT_EQ(BanRemoveAt(0), 1);
  EXPECT_EQ(ReadFile("banlist.dat"), rest);
  EXPECT_EQ(BanRemoveAt(2), 1);
  EXPECT_EQ(BanRemoveAt(-1), 1);
  EXPECT_EQ(ReadFile("banlist.dat"), rest);
  EXPECT_EQ(ReadFile("banlist.swp"), "");
}

TEST(BanListTest, ClearingAMissingListCreatesAnEmptyOne) {
  ScopedTempDir dir;
  EXPECT_EQ(BanRemoveAt(0), 0);
  EXPECT_EQ(BanClear(), 1);
  EXPECT_EQ(ReadFile("banlist.dat"), "");
  EXPECT_EQ(BanLookup({1, 2, 3, 4}), 1);  // an empty list can be read
}

// A removal stopped after any of its writes (a crash or a full disk) leaves
// "banlist.dat" holding a whole list: the old one or the new one.
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
    EXPECT_EQ(BanRemoveAt(1, [&] { return ++seen < stopAt; }), 0) << stopAt;
    const std::string now = ReadFile("banlist.dat");
    EXPECT_TRUE(now == before || now == after) << "stopped after write " << stopAt;
    EXPECT_EQ(BanLookup({3, 3, 3, 3}), 2) << stopAt;
  }
}

}  // namespace
