// The game drawn with the real pictures: a frame of a running eight-player
// game with blasts, fireballs, shields and chat. Set VRASK_SCREENSHOT to a
// file name to keep the frame as a PPM picture.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>

#include "render/game_scene.h"
#include "render/paint_window.h"
#include "render/pictures.h"
#include "render/test_pictures.h"
#include "support/test_game.h"

namespace {

void WritePpm(const Surface& s, const char* path) {
  FILE* f = std::fopen(path, "wb");
  ASSERT_NE(f, nullptr) << path;
  std::fprintf(f, "P6\n%d %d\n255\n", s.width, s.height);
  for (uint32_t px : s.pixels) {
    const unsigned char rgb[3] = {static_cast<unsigned char>(px >> 16),
                                  static_cast<unsigned char>(px >> 8), static_cast<unsigned char>(px)};
    std::fwrite(rgb, 1, 3, f);
  }
  std::fclose(f);
}

bool Busy(const GameState& g) {
  int blasts = 0, fireballs = 0, shields = 0;
  for (const PlayerSlot& p : g.Players) {
    blasts += p.Life == Exploding && g.FrameCounter >= 1 && g.FrameCounter <= 4;
    shields += p.Life == Alive && p.Shield;
  }
  for (const Fireball& f : g.Fireballs) fireballs += f.State == FireFlying;
  return blasts >= 1 && fireballs >= 2 && shields >= 1;
}

TEST(GamePicture, RunningGameWithTheRealPictures) {
  TestGame t;
  GameState& g = t.g;
  PictureSet pictures;
  LoadBitmaps(g, pictures);
  ASSERT_EQ(g.Bitmaps, &pictures);
  Surface s;
  StartComputerGame(g, 31);
  g.StatusMessage = "Server Started";
  PostStatusMessage(g);
  int step = 0;
  for (; step < 3000; ++step) {
    StepGame(g);
    if (step == 60) AppendChatLine(g, 2, "gg everyone");
    if (step == 90) AppendChatLine(g, 5, "who has the shield?");
    if (step == 120) {
      g.StatusMessage = "Player Has Joined =)";
      PostStatusMessage(g);
    }
    if (step == 150) AppendChatLine(g, 0, "watch the fireballs!");
    PaintWindow(g, s);
    g.MapDirty = 0;
    if (step >= 250 && Busy(g)) break;
  }
  ASSERT_LT(step, 3000) << "no busy frame";

  for (const PlayerSlot& p : g.Players) {
    if (!p.Active || p.Life == Dead) continue;
    // Something is drawn in the middle of every vehicle and blast.
    EXPECT_LT(CountColour(s, p.X - kScreenOffset + 10, p.Y - kScreenOffset + 10, 20, 20, 0), 400);
  }
  EXPECT_GT(CountColour(s, 540, 50, 160, 65, Rgb(0, 0, 255)), 30);       // headings
  EXPECT_GT(CountColour(s, 542, 300, 160, 135, Rgb(1, 255, 255)), 30);   // slot 2's chat
  EXPECT_GT(CountColour(s, 542, 300, 160, 135, Rgb(128, 100, 100)), 30); // status lines

  if (const char* path = std::getenv("VRASK_SCREENSHOT")) WritePpm(s, path);
}

}  // namespace
