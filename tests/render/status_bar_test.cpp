#include "render/status_bar.h"

#include <gtest/gtest.h>

#include <cstring>

#include "render/paint_window.h"
#include "render/test_pictures.h"
#include "support/test_game.h"

namespace {

struct StatusBarTest : ::testing::Test {
  TestGame t;
  GameState& g = t.g;
  PictureSet pics = TestPictures();
  Surface s;

  StatusBarTest() {
    g.Bitmaps = &pics;
    g.ConnectionStatus = "Server Running";
    g.FrameCounter = 1;
    g.LeaderFrags = 9;
  }
  PlayerSlot& Activate(int i, const char* name, int frags = 0) {
    PlayerSlot& p = g.Players[i];
    p.Active = 1;
    p.Kind = KindInternet;
    p.Number = static_cast<uint8_t>(i + 1);
    p.Frags = static_cast<uint8_t>(frags);
    SetPlayerName(p, name);
    return p;
  }
  // Pixels of the colour on the name line of the k-th listed player.
  int NameLine(int k, uint32_t colour) const {
    return CountColour(s, PlayerLineX(k) + 40, PlayerLineY(k) - 16, 100, 16, colour);
  }
  int MessageLine(uint32_t colour) const { return CountColour(s, 550, 84, 150, 17, colour); }
  void SetChatLine(int k, int r, int gr, int b, const char* text) {
    char* line = g.Board.Lines[k];
    line[0] = static_cast<char>(r);
    line[1] = static_cast<char>(gr);
    line[2] = static_cast<char>(b);
    std::strncpy(line + 3, text, kChatTextMax);
  }
};

TEST_F(StatusBarTest, IdleBarIsAllBricksWithOnlyTheMusicIcon) {
  g.ConnectionStatus = "Not Connected";
  g.SoundsOn = 1;
  g.MusicOn = 1;
  DrawStatusBar(g, s);
  // The band's top 40 rows repeat down the column, clipped at x 700.
  EXPECT_EQ(s.At(540, 0), BrickColour(0));
  EXPECT_EQ(s.At(699, 39), BrickColour(39));
  EXPECT_EQ(s.At(560, 200), BrickColour(0));
  EXPECT_EQ(s.At(560, 516), BrickColour(36));
  EXPECT_EQ(CountColour(s, 540, 0, 160, 517, 0), 0);
  // Note icon at (610, 470), ORed; no speaker unless a client.
  EXPECT_EQ(s.At(615, 480), BrickColour(0) | IconColour(1, 0));
  EXPECT_EQ(s.At(605, 480), BrickColour(0));

  g.IsClient = 1;
  g.FrameCounter = 6;  // phase 3: the icons drift apart
  DrawStatusBar(g, s);
  EXPECT_EQ(s.At(597, 480), BrickColour(0) | IconColour(0, 3));
  EXPECT_EQ(s.At(596, 480), BrickColour(0));
  EXPECT_EQ(s.At(640, 480), BrickColour(0) | IconColour(1, 3));
}

TEST_F(StatusBarTest, FullBarBandsCopyOnlyTheRowsThePictureHas) {
  s.FillWhite(540, 0, 160, 517);
  DrawStatusBar(g, s);
  EXPECT_EQ(s.At(600, 51), BrickColour(51));
  EXPECT_EQ(s.At(600, 55), 0xFFFFFFu);     // rows 52..59 of the band do not exist
  EXPECT_EQ(s.At(600, 460), BrickColour(20));
  EXPECT_EQ(s.At(600, 491), BrickColour(51));
  EXPECT_EQ(s.At(600, 492), BrickColour(12));  // the band from row 4 below it
  EXPECT_EQ(s.At(600, 516), BrickColour(36));
}

TEST_F(StatusBarTest, SecondListedPlayerSitsAt544_155InItsSlotColour) {
  Activate(0, "alpha", 1);
  Activate(3, "delta", 2);
  DrawStatusBar(g, s);
  const uint32_t slot3 = Rgb(90, 165, 90);
  EXPECT_EQ(PlayerLineX(1), 544);
  EXPECT_EQ(PlayerLineY(1), 155);
  EXPECT_GT(NameLine(1, slot3), 20);
  EXPECT_EQ(NameLine(0, slot3), 0);
  EXPECT_GT(NameLine(0, Rgb(0, 255, 0)), 20);
  // The picture: top 20 rows of the left-facing vehicle at (x, y - 21).
  EXPECT_EQ(CountColour(s, 544, 134, 40, 20, VehicleColour(4, 0, 0)), 800);
  EXPECT_EQ(s.At(544, 154), 0u);
}

TEST_F(StatusBarTest, EveryoneAtZeroFragsFlashesRedAfterCounter2) {
  g.LeaderFrags = 0;
  for (int i : {0, 2, 5}) Activate(i, "p");
  const uint32_t red = Rgb(255, 20, 20);
  g.FrameCounter = 2;
  DrawStatusBar(g, s);
  for (int k = 0; k < 3; ++k) EXPECT_EQ(NameLine(k, red), 0) << k;
  g.FrameCounter = 3;
  DrawStatusBar(g, s);
  for (int k = 0; k < 3; ++k) EXPECT_GT(NameLine(k, red), 10) << k;
}

TEST_F(StatusBarTest, LocalPlayerFlickersWhiteFromRandom) {
  Activate(0, "other");
  Activate(1, "me");
  g.LocalSlot = 1;
  g.Rng.Script({17});
  DrawStatusBar(g, s);
  EXPECT_GT(NameLine(1, Rgb(255, 255, 255 - 17)), 10);
  EXPECT_EQ(CountColour(s, 543, 113, 40, 20, VehicleColour(1, 0, 0)), 800);
  EXPECT_EQ(s.At(545, 135), kOwnMarkColour | VehicleColour(2, 0, 0));
}

TEST_F(StatusBarTest, EnergyGaugeAndShieldAndComputerMark) {
  PlayerSlot& p = Activate(0, "full");
  p.Energy = kFullEnergy;
  p.Shield = 1;
  p.Kind = KindComputer;
  s.FillWhite(540, 100, 160, 60);
  DrawStatusBar(g, s);
  const int x = 543, y = 134;
  EXPECT_EQ(s.At(x + 50, y), 0xFFFFFFu);
  EXPECT_EQ(s.At(x + 51, y), 0u);
  EXPECT_EQ(CountColour(s, x + 52, y, 70, 4, 0xFFFFFF), 280);
  EXPECT_EQ(s.At(x + 122, y), 0u);
  EXPECT_EQ(s.At(x + 123, y + 3), 0xFFFFFFu);
  EXPECT_EQ(CountColour(s, x + 50, y + 4, 74, 1, 0), 74);
  // Shield's top 19 rows from y - 20; the computer mark over the picture.
  EXPECT_EQ(s.At(x + 5, y - 21), VehicleColour(1, 0, 0) | kComputerMarkColour);
  EXPECT_EQ(s.At(x + 5, y - 20), VehicleColour(1, 0, 0) | kComputerMarkColour | ShieldColour(0));
  EXPECT_EQ(s.At(x + 5, y - 2), VehicleColour(1, 0, 0) | kComputerMarkColour | ShieldColour(0));
  EXPECT_EQ(s.At(x + 5, y - 1), 0xFFFFFFu);

  p.Energy = 3;
  DrawStatusBar(g, s);
  EXPECT_EQ(CountColour(s, x + 52, y, 70, 4, 0xFFFFFF), 12);
}

TEST_F(StatusBarTest, ServerAddressLineRotatesAndSkipsEmptyLines) {
  g.IsServer = 1;
  g.ServerAddressText[0] = "No Internet Players";
  const uint32_t first = Rgb(20, 200, 200);
  DrawStatusBar(g, s);
  EXPECT_GT(MessageLine(first), 20);

  // One address only: phase 1 falls through to 2 and then back to 0.
  g.StatusPhase = 1;
  DrawStatusBar(g, s);
  EXPECT_EQ(g.StatusPhase, 0);
  EXPECT_GT(MessageLine(first), 20);

  g.ServerAddressText[1] = "10.0.0.1:2727";
  g.ServerAddressText[2] = "192.168.0.9:2727";
  g.StatusPhase = 2;
  DrawStatusBar(g, s);
  EXPECT_EQ(MessageLine(first), 0);
  EXPECT_GT(MessageLine(Rgb(200, 50, 200)), 20);
}

TEST_F(StatusBarTest, PhaseAdvancesEveryThirdPaintAtCounterZero) {
  g.FrameCounter = 0;
  for (int paint = 1; paint <= 9; ++paint) {
    AdvanceStatusPhase(g);
    EXPECT_EQ(g.StatusPhase, (paint / 3) % 3) << paint;
  }
  g.FrameCounter = 4;
  AdvanceStatusPhase(g);
  EXPECT_EQ(g.StatusPhaseCount, 0);
  EXPECT_EQ(g.StatusPhase, 0);
}

TEST_F(StatusBarTest, SilentServerShowsConnectionInterruptedToAClient) {
  g.IsClient = 1;
  g.ServerSilence = 6;
  DrawStatusBar(g, s);
  EXPECT_EQ(MessageLine(Rgb(255, 1, 1)), 0);
  g.ServerSilence = 7;
  DrawStatusBar(g, s);
  EXPECT_GT(MessageLine(Rgb(255, 1, 1)), 50);
}

TEST_F(StatusBarTest, ChatLinesTrembleWithBDrawnBeforeA) {
  SetChatLine(7, 255, 1, 1, "|");
  SetChatLine(0, 1, 255, 1, "|");
  // Per line: b then a. Line 0 gets b 1, a 0; line 7 gets b 0, a 1.
  std::vector<int> draws(16, 0);
  draws[0] = 1;
  draws[15] = 1;
  g.Rng.Script(draws);
  DrawStatusBar(g, s);
  EXPECT_EQ(g.Rng.ScriptLeft(), 0u);
  auto leftmost = [&](int yTop, uint32_t colour, int* top) {
    int best = 1000;
    *top = 1000;
    for (int y = yTop; y < yTop + 15; ++y)
      for (int x = 540; x < 560; ++x)
        if (s.At(x, y) == colour) {
          best = std::min(best, x);
          *top = std::min(*top, y);
        }
    return best;
  };
  int top0, top7;
  int x0 = leftmost(300, Rgb(1, 255, 1), &top0);
  int x7 = leftmost(405, Rgb(255, 1, 1), &top7);
  EXPECT_EQ(x7, x0 + 1);
  EXPECT_EQ(top0 - 305 - 1, top7 - 410);
}

TEST_F(StatusBarTest, InputLineCursorAndPaleColourOnlyForAClient) {
  std::strcpy(g.ChatInput, "hi");
  g.Rng.Script(std::vector<int>(16, 0));
  DrawStatusBar(g, s);
  EXPECT_EQ(CountColour(s, 542, 435, 160, 17, Rgb(200, 200, 200)), 0);

  g.IsClient = 1;
  g.FrameCounter = 2;
  // Chat board: 16 draws; then blue, green, red.
  std::vector<int> draws(16, 0);
  draws.insert(draws.end(), {1, 2, 3});
  g.Rng.Script(draws);
  DrawStatusBar(g, s);
  const uint32_t pale = Rgb(203, 202, 201);
  int withCursor = CountColour(s, 542, 435, 160, 17, pale);
  EXPECT_GT(withCursor, 10);
  const int cursorX = 542 + Surface::TextWidth("Say:hi");
  EXPECT_GT(CountColour(s, cursorX, 435, 10, 17, pale), 0);

  g.FrameCounter = 3;
  g.Rng.Script(draws);
  DrawStatusBar(g, s);
  EXPECT_EQ(CountColour(s, cursorX, 435, 10, 17, pale), 0);
  EXPECT_LT(CountColour(s, 542, 435, 160, 17, pale), withCursor);
}

TEST_F(StatusBarTest, UnterminatedNameAndChatLineStayInTheirFields) {
  PlayerSlot& p = Activate(0, "x");
  std::memset(p.Name, 'W', sizeof p.Name);
  std::memset(g.Board.Lines, 'W', sizeof g.Board.Lines);
  std::memset(g.ChatInput, 'W', sizeof g.ChatInput);
  g.IsClient = 1;
  DrawStatusBar(g, s);  // must not read past the fields (checked under ASan)
  EXPECT_GT(NameLine(0, Rgb(0, 255, 0)), 0);
}

}  // namespace
