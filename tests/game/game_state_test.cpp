#include "game/game_state.h"

#include <gtest/gtest.h>

#include "support/test_game.h"

namespace {

TEST(GameStateTest, MakeComputerSlotNamingAndComputerFillOff) {
  TestGame t;
  for (int i = 1; i < 13; ++i) t.g.Tiles[14 + i] = 0;
  t.g.ComputerFill = 1;
  PlayerSlot& p = t.g.Players[0];
  p.Kind = KindInternet;
  p.Frags = 9;
  p.Address = NetAddress::Of(10, 0, 0, 1, 99);
  MakeComputerSlot(t.g, 0, 0);  // timed out or kicked: the index
  EXPECT_STREQ(p.Name, "Comp 0");
  EXPECT_EQ(p.Kind, 'c');
  EXPECT_EQ(p.Active, 1);
  EXPECT_EQ(p.Frags, 0);
  EXPECT_TRUE(p.Address.IsNull());
  EXPECT_EQ(p.X, t.g.SpawnX);
  MakeComputerSlot(t.g, 0, 1);  // left: index + 1
  EXPECT_STREQ(p.Name, "Comp 1");
  t.g.ComputerFill = 0;
  MakeComputerSlot(t.g, 3, 4);
  EXPECT_EQ(t.g.Players[3].Active, 0);
}

TEST(GameStateTest, DestinationSendFailuresAreDroppedSocketFailuresFatal) {
  TestGame t;
  uint8_t byte = 'x';
  t.socket().sendResult = SendResult::Dropped;
  EXPECT_FALSE(SendDatagram(t.g, NetAddress::Of(255, 255, 255, 255, 1), &byte, 1, "Send error #6"));
  EXPECT_EQ(t.g.DroppedSends, 1u);
  EXPECT_TRUE(t.rec.ui.boxes.empty());
  t.socket().sendResult = SendResult::Failed;
  EXPECT_FALSE(SendDatagram(t.g, NetAddress::Of(127, 0, 0, 1, 1), &byte, 1, "Send error #6"));
  ASSERT_EQ(t.rec.ui.boxes.size(), 1u);
  EXPECT_EQ(t.rec.ui.boxes[0].text, "Send error #6\nInternal error #10054");
  EXPECT_EQ(t.rec.ui.quits, 1);
}

}  // namespace
