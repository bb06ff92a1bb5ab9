// The drawing against a running game: computer players moving, firing,
// shielding and dying, with a paint after every step as the window makes it.
#include <gtest/gtest.h>

#include <cstdio>

#include "render/game_scene.h"
#include "render/paint_window.h"
#include "render/status_bar.h"
#include "render/test_pictures.h"
#include "support/test_game.h"

namespace {

bool Covered(const GameState& g, int x, int y) {
  auto in = [&](int sx, int sy) { return x >= sx && x < sx + 40 && y >= sy && y < sy + 40; };
  for (const PlayerSlot& p : g.Players)
    if (p.Active && (p.Life == Alive || p.Life == Exploding) && in(p.X, p.Y)) return true;
  for (const Fireball& f : g.Fireballs)
    if ((f.State == FireFlying || f.State == FireExploding) && in(f.X, f.Y)) return true;
  return false;
}

TEST(GameScene, EveryPaintShowsAlivePlayersWholeAndLeavesNoTrails) {
  TestGame t;
  GameState& g = t.g;
  PictureSet pics = TestPictures();
  g.Bitmaps = &pics;
  Surface s;
  StartComputerGame(g, 77);
  std::vector<ScreenRect> changed;
  int deaths = 0, fireballs = 0;
  for (int step = 0; step < 600; ++step) {
    StepGame(g);
    for (const PlayerSlot& p : g.Players) deaths += p.Life == Exploding;
    PaintAndTakeChanges(g, s, changed);
    for (const PlayerSlot& p : g.Players) deaths -= p.Life == Exploding;
    for (const Fireball& f : g.Fireballs) fireballs += f.State == FireFlying;

    for (int i = 0; i < kSlotCount; ++i) {
      const PlayerSlot& p = g.Players[i];
      ASSERT_FALSE(g.FrameCounter == 0 && p.Life == Exploding) << "step " << step;
      if (p.Life != Alive) continue;
      // Whole: every visible pixel of the square carries the vehicle's bits
      // (pictures ORed over it may add more).
      const uint32_t bits = (0x40u | (i + 1u)) << 8;
      for (int y = std::max(p.Y, kScreenOffset); y < p.Y + 40; ++y)
        for (int x = std::max(p.X, kScreenOffset); x < p.X + 40; ++x)
          ASSERT_EQ(s.At(x - kScreenOffset, y - kScreenOffset) & bits, bits)
              << "step " << step << " slot " << i;
    }
    // Floor that nothing stands on is black: no trails, no ghosts.
    for (int y = kScreenOffset; y < 40 * kMapSide; ++y)
      for (int x = kScreenOffset; x < 40 * kMapSide; ++x)
        if (g.Tiles[(y / 40) * kMapSide + x / 40] == 0 && !Covered(g, x, y)) {
          ASSERT_EQ(s.At(x - kScreenOffset, y - kScreenOffset), 0u) << step << ": " << x << "," << y;
        }
  }
  // The game really ran: players died and fireballs flew.
  EXPECT_GT(deaths, 0);
  EXPECT_GT(fireballs, 0);
}

TEST(GameScene, TheStatusBarPaintedOverItselfIsTheBarPaintedAfresh) {
  // The bar leaves what has not changed as it stands: after every paint it
  // must be what a whole new paint of the same moment draws, while chat
  // lines arrive, the input line flickers, gauges and frags move and a
  // player joins. Two
  // games run alike from the same seed; the second is painted afresh.
  TestGame t, t2;
  PictureSet pics = TestPictures();
  Surface s;
  std::vector<ScreenRect> changed;
  for (GameState* g : {&t.g, &t2.g}) {
    g->Bitmaps = &pics;
    StartComputerGame(*g, 91);
    g->IsClient = 1;  // with the input line
  }
  for (int step = 0; step < 300; ++step) {
    for (GameState* g : {&t.g, &t2.g}) {
      StepGame(*g);
      // First one line that changes at every step (its tremble sometimes
      // repeats), then lines arriving now and then.
      if (step < 150 || step % 40 == 10) {
        char* line = g->Board.Lines[step < 150 ? kChatLines - 1 : (step / 40) % kChatLines];
        // Its text changes while its colour stays, then the other way round.
        const int text = step < 75 ? step % 10 : 0, blue = step < 75 ? 100 : 100 + step % 100;
        std::snprintf(line, kChatLineBytes, "%c%c%cline %d", 200, 100, blue, text);
      }
      if (step % 25 == 5) std::snprintf(g->ChatInput, sizeof g->ChatInput, "hello %d", step);
      // A player joins: the lines after its own move down, to other vehicles.
      if (step == 0) g->Players[2].Active = 0;
      if (step == 200) g->Players[2].Active = 1;
    }
    PaintAndTakeChanges(t.g, s, changed);
    Surface whole;
    t2.g.MapDirty = 1;
    PaintAndTakeChanges(t2.g, whole, changed);
    for (int y = 0; y < s.height; ++y)
      for (int x = kStatusBarX; x < s.width; ++x)
        ASSERT_EQ(s.At(x, y), whole.At(x, y)) << "step " << step << " at " << x << "," << y;
  }
}

}  // namespace
