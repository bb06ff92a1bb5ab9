#include "render/paint_window.h"

#include <gtest/gtest.h>

#include "render/test_pictures.h"
#include "support/test_game.h"

namespace {

struct PaintTest : ::testing::Test {
  TestGame t;
  GameState& g = t.g;
  PictureSet pics = TestPictures();
  Surface s;
  std::vector<ScreenRect> changed;

  PaintTest() { g.Bitmaps = &pics; }

  void Paint() { PaintAndTakeChanges(g, s, changed); }
  PlayerSlot& Place(int i, int x, int y, int dir = DirLeft) {
    PlayerSlot& p = g.Players[i];
    p.Active = 1;
    p.Kind = KindInternet;
    p.Life = Alive;
    p.Number = static_cast<uint8_t>(i + 1);
    p.X = p.DrawX = x;
    p.Y = p.DrawY = y;
    p.Dir = dir;
    return p;
  }
  // The colour at playfield point (x, y).
  uint32_t Field(int x, int y) const { return s.At(x - kScreenOffset, y - kScreenOffset); }
  // Pixels of the square at playfield (x, y) that have the colour.
  int InSquare(int x, int y, uint32_t colour) const {
    return CountColour(s, x - kScreenOffset, y - kScreenOffset, 40, 40, colour);
  }
};

TEST_F(PaintTest, FullClearOnlyWhenMapDirtyAndWallsOfCodes9And10StayBlack) {
  std::fill(s.pixels.begin(), s.pixels.end(), 0x555555);
  g.Tiles[2 * kMapSide + 2] = 9;
  g.Tiles[2 * kMapSide + 3] = 10;
  g.Tiles[2 * kMapSide + 4] = 8;
  g.FrameCounter = 5;  // phase 2
  g.MapDirty = 1;
  Paint();
  EXPECT_EQ(InSquare(80, 80, 0), 1600);
  EXPECT_EQ(InSquare(120, 80, 0), 1600);
  EXPECT_EQ(InSquare(160, 80, TileColour(2, 8)), 1600);
  EXPECT_EQ(Field(300, 300), 0u);
  // Without MapDirty nothing clears.
  s.FillWhite(300, 300, 5, 5);
  Paint();
  EXPECT_EQ(s.At(300, 300), 0xFFFFFFu);
}

TEST_F(PaintTest, ExplosionRunsFromTheCounterToStep5ThenBlankThenDead) {
  g.MapDirty = 1;
  PlayerSlot& p = Place(0, 200, 200);
  p.Life = Exploding;
  for (int counter = 3; counter <= 7; ++counter) {
    g.FrameCounter = static_cast<uint8_t>(counter);
    Paint();
    uint32_t expect = counter <= 5 ? ExplosionColour(counter) : 0u;
    EXPECT_EQ(InSquare(200, 200, expect), 1600) << counter;
    EXPECT_EQ(p.Life, Exploding);
  }
  g.FrameCounter = 0;
  Paint();
  EXPECT_EQ(p.Life, Dead);
  EXPECT_EQ(InSquare(200, 200, 0), 1600);  // step 0 shown and erased in the same paint
  // A dead player is not erased again.
  s.FillWhite(200 - kScreenOffset, 200 - kScreenOffset, 4, 4);
  Paint();
  EXPECT_EQ(InSquare(200, 200, 0xFFFFFF), 16);
}

TEST_F(PaintTest, PlayerHitWhileMovingAtCounterZeroLeavesNoBlastBehind) {
  g.MapDirty = 1;
  PlayerSlot& p = Place(2, 200, 200, DirDown);
  Paint();
  // Killed in the step that moved it 4 pixels down and brought the counter
  // to 0: the blast is drawn at the new place, which must be erased too.
  p.DrawY = 200;
  p.Y = 204;
  p.Life = Exploding;
  g.FrameCounter = 0;
  Paint();
  EXPECT_EQ(p.Life, Dead);
  EXPECT_EQ(InSquare(200, 204, 0), 1600);
}

TEST_F(PaintTest, MovingOffAnEarlierPlayersSquareLeavesNoNotch) {
  g.MapDirty = 1;
  Place(0, 200, 200);
  PlayerSlot& mover = Place(1, 220, 200, DirRight);
  Paint();
  // Slot 1 moves 4 pixels right: its old square overlapped slot 0's.
  mover.DrawX = 220;
  mover.X = 224;
  Paint();
  EXPECT_EQ(InSquare(200, 200, 0), 0);  // slot 0 is whole again
  EXPECT_EQ(Field(200, 200), VehicleColour(1, 0, 0));
  EXPECT_EQ(Field(223, 210), VehicleColour(1, 0, 0));  // the erased strip was redrawn
  EXPECT_EQ(Field(230, 210), VehicleColour(1, 0, 0) | VehicleColour(2, 2, 0));
  EXPECT_EQ(Field(263, 210), VehicleColour(2, 2, 0));
}

TEST_F(PaintTest, AVehicleShowsItsMarksAndShieldInEveryLook) {
  // {slot, facing up, counter, computer, own, shield, number}, in turn: no look may stand in for another.
  // A counter past 7 (a bad update) names no cell; a number outside 1..8 draws the marks alone.
  const int rows[][7] = {{0, 0, 0, 1, 0, 0, 1}, {0, 0, 0, 0, 1, 0, 1}, {0, 0, 0, 1, 1, 0, 1}, {0, 0, 0, 1, 0, 1, 1},
                         {0, 1, 0, 1, 0, 1, 1}, {0, 1, 3, 1, 0, 1, 1}, {5, 1, 3, 1, 0, 1, 6}, {2, 1, 0, 1, 0, 0, 3},
                         {2, 0, 9, 1, 0, 0, 3}, {2, 0, 0, 1, 0, 0, 9}};
  for (const auto& r : rows) {
    PlayerSlot& p = Place(r[0], 200, 200, r[1] ? DirUp : DirLeft);
    p.Kind = r[3] ? KindComputer : KindInternet;
    p.Shield = static_cast<uint8_t>(r[5]);
    p.Number = static_cast<uint8_t>(r[6]);
    g.LocalSlot = r[4] ? r[0] : kNoSlot;
    g.FrameCounter = static_cast<uint8_t>(r[2]);
    Paint();
    const int phase = r[2] / 2;
    const uint32_t vehicle = r[6] <= 8 ? VehicleColour(r[6], r[1], phase) : 0;
    const uint32_t marks =
        (r[3] ? kComputerMarkColour : 0) | (r[4] ? Rgb(0x40, 0, 0) : 0) | (r[5] ? ShieldColour(phase) : 0);
    EXPECT_EQ(InSquare(200, 200, phase > 3 ? 0 : vehicle | marks), 1600) << "row " << (&r - rows);
    p.Active = 0;
  }
}

TEST_F(PaintTest, ClearedFireballRestoresFloorAndEndsParked) {
  g.MapDirty = 1;
  g.Tiles[5 * kMapSide + 6] = 2;  // a wall next to the fireball
  Fireball& f = g.Fireballs[3];
  f.State = FireFlying;
  f.X = f.DrawX = 200;
  f.Y = f.DrawY = 200;
  Paint();
  EXPECT_EQ(InSquare(200, 200, FireballColour(0, 0)), 1600);

  f.State = FireExploding;
  f.DrawX = 200;
  f.X = 220;  // moved half into the wall column
  Paint();
  EXPECT_EQ(Field(230, 210), FireballColour(0, 1));

  f.State = FireCleared;
  f.DrawX = 220;
  Paint();
  EXPECT_EQ(f.State, FireNone);
  EXPECT_EQ(f.X, 0);
  EXPECT_EQ(f.Y, 640);
  EXPECT_EQ(InSquare(200, 200, 0), 1600);          // floor restored
  EXPECT_EQ(InSquare(240, 200, TileColour(0, 2)), 1600);  // the wall kept
}

TEST_F(PaintTest, BadVehicleNumberOrNoPicturesDrawNothingAndStillEndTransitions) {
  g.MapDirty = 1;
  Place(1, 200, 200).Number = 200;
  Paint();
  EXPECT_EQ(InSquare(200, 200, 0), 1600);

  g.Bitmaps = nullptr;
  g.Tiles[0] = 1;
  Place(0, 200, 200).Life = Exploding;
  g.Fireballs[0].State = FireCleared;
  g.ConnectionStatus = "Connected";
  Paint();
  EXPECT_EQ(g.Players[0].Life, Dead);
  EXPECT_EQ(g.Fireballs[0].State, FireNone);
}

}  // namespace
