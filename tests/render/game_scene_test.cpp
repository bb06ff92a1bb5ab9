// The drawing against a real running game: computer players moving,
// firing, shielding and dying for a few hundred steps, with a paint after
// every step as the window makes it.
#include <gtest/gtest.h>

#include "render/game_scene.h"
#include "render/paint_window.h"
#include "render/test_pictures.h"
#include "support/test_game.h"

namespace {

struct Seen {
  int explosions = 0, deaths = 0, flying = 0, shields = 0;
};

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
  Seen seen;
  for (int step = 0; step < 600; ++step) {
    StepGame(g);
    int exploding = 0;
    for (const PlayerSlot& p : g.Players) exploding += p.Life == Exploding;
    PaintWindow(g, s);
    g.MapDirty = 0;

    int nowExploding = 0;
    for (int i = 0; i < kSlotCount; ++i) {
      const PlayerSlot& p = g.Players[i];
      nowExploding += p.Life == Exploding;
      seen.shields += p.Shield != 0;
      if (p.Life != Alive) continue;
      // Whole: every visible pixel of the square carries the bits of the
      // vehicle's number (other pictures ORed over it may add more).
      const uint32_t bits = (0x40u | (i + 1u)) << 8;
      int whole = 0, visible = 0;
      for (int y = p.Y; y < p.Y + 40; ++y)
        for (int x = p.X; x < p.X + 40; ++x) {
          if (x - kScreenOffset < 0 || y - kScreenOffset < 0) continue;
          ++visible;
          whole += (s.At(x - kScreenOffset, y - kScreenOffset) & bits) == bits;
        }
      ASSERT_EQ(whole, visible) << "step " << step << " slot " << i;
    }
    seen.explosions += exploding;
    seen.deaths += exploding - nowExploding;
    for (const Fireball& f : g.Fireballs) seen.flying += f.State == FireFlying;
    if (g.FrameCounter == 0) {
      ASSERT_EQ(nowExploding, 0) << "step " << step;  // explosions end at counter 0
    }

    // Floor that nothing stands on is black: no trails, no ghosts.
    for (int r = 0; r < kMapSide; ++r)
      for (int c = 0; c < kMapSide; ++c) {
        if (g.Tiles[r * kMapSide + c] != 0) continue;
        for (int y = 40 * r; y < 40 * r + 40; ++y)
          for (int x = 40 * c; x < 40 * c + 40; ++x)
            if (!Covered(g, x, y))
              ASSERT_EQ(s.At(x - kScreenOffset, y - kScreenOffset), 0u)
                  << "step " << step << " at " << x << "," << y;
      }
  }
  // The game really ran: the pictures above were exercised.
  EXPECT_GT(seen.flying, 0);
  EXPECT_GT(seen.shields, 0);
  EXPECT_GT(seen.explosions, 0);
  EXPECT_GT(seen.deaths, 0);
}

}  // namespace
