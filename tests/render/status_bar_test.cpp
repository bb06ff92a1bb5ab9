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
};

TEST_F(StatusBarTest, SecondListedPlayerSitsAt544_155InItsSlotColour) {
  Activate(0, "alpha", 1);
  Activate(3, "delta", 2);
  DrawStatusBar(g, s);
  const uint32_t slot3 = Rgb(90, 165, 90);
  EXPECT_EQ(PlayerLineX(1), 544);  // the second listed line
  EXPECT_EQ(PlayerLineY(1), 155);
  EXPECT_GT(NameLine(1, slot3), 20);
  EXPECT_EQ(NameLine(0, slot3), 0);
  // The picture: top 20 rows of the left-facing vehicle at (x, y - 21).
  EXPECT_EQ(CountColour(s, 544, 134, 40, 20, VehicleColour(4, 0, 0)), 800);
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

TEST_F(StatusBarTest, EnergyGaugeInAFrameAndShieldUnderTheComputerMark) {
  PlayerSlot& p = Activate(0, "full");
  p.Energy = kFullEnergy;
  p.Shield = 1;
  p.Kind = KindComputer;
  s.FillWhite(540, 100, 160, 60);
  DrawStatusBar(g, s);
  const int x = 543, y = 134;
  EXPECT_EQ(s.At(x + 51, y), 0u);
  EXPECT_EQ(CountColour(s, x + 52, y, 70, 4, 0xFFFFFF), 280);  // x + 52 .. x + 121
  EXPECT_EQ(s.At(x + 122, y), 0u);
  EXPECT_EQ(s.At(x + 123, y + 3), 0xFFFFFFu);
  EXPECT_EQ(CountColour(s, x + 50, y + 4, 74, 1, 0), 74);
  // Shield's top 19 rows from y - 20.
  EXPECT_EQ(s.At(x + 5, y - 21), VehicleColour(1, 0, 0) | kComputerMarkColour);
  EXPECT_EQ(s.At(x + 5, y - 2), VehicleColour(1, 0, 0) | kComputerMarkColour | ShieldColour(0));
  EXPECT_EQ(s.At(x + 5, y - 1), 0xFFFFFFu);

  p.Energy = 3;
  DrawStatusBar(g, s);
  EXPECT_EQ(CountColour(s, x + 52, y, 70, 4, 0xFFFFFF), 12);
}

TEST_F(StatusBarTest, ShieldAndVehicleFollowTheAnimationPhase) {
  PlayerSlot& p = Activate(0, "s");
  p.Shield = 1;
  const int x = 543, y = 134;
  for (int counter = 0; counter < 8; ++counter) {
    g.FrameCounter = static_cast<uint8_t>(counter);
    DrawStatusBar(g, s);
    const int phase = counter / 2;
    EXPECT_EQ(s.At(x + 5, y - 21), VehicleColour(1, 0, phase)) << counter;  // above the shield
    EXPECT_EQ(s.At(x + 5, y - 2), VehicleColour(1, 0, phase) | ShieldColour(phase)) << counter;
  }
}

TEST_F(StatusBarTest, ChatBoardLinesInTheirOwnColoursFifteenPixelsApart) {
  for (int k = 0; k < kChatLines; ++k) {
    char* line = g.Board.Lines[k];
    line[0] = static_cast<char>(0x10 + k);  // red, green, blue
    line[1] = 0x20;
    line[2] = 0x30;
    std::strcpy(line + 3, k % 2 ? "Wm" : "Hi!");
  }
  // The tremble: b (down) is drawn before a (right) for every line.
  std::vector<int> draws;
  for (int k = 0; k < kChatLines; ++k) draws.insert(draws.end(), {k == 0, k == 1});
  g.Rng.Script(draws);
  s.FillWhite(540, 290, 160, 170);
  DrawStatusBar(g, s);
  EXPECT_EQ(g.Rng.ScriptLeft(), 0u);

  Surface want;
  want.FillBlack(542, 300, 160, 155);
  for (int k = 0; k < kChatLines; ++k)
    want.DrawText(542 + (k == 1), 305 + 15 * k + (k == 0), g.Board.Lines[k] + 3,
                  Rgb(0x10 + k, 0x20, 0x30));
  int differing = 0;
  for (int yy = 300; yy < 455; ++yy)
    for (int xx = 542; xx < 700; ++xx) differing += s.At(xx, yy) != want.At(xx, yy);
  EXPECT_EQ(differing, 0);
  EXPECT_GT(CountColour(s, 542, 305 + 15 * 7, 160, 15, Rgb(0x17, 0x20, 0x30)), 10);
}

TEST_F(StatusBarTest, SayLineOnlyWithALocalPlayerAndItsCursorInThreeFramesOfEight) {
  std::strcpy(g.ChatInput, "ab");
  g.ChatInputLength = 2;
  const uint32_t pale = Rgb(203, 202, 201);  // drawn blue, green, red
  auto sayPixels = [&](int client, int server, int counter) {
    g.IsClient = client;
    g.IsServer = server;
    g.FrameCounter = static_cast<uint8_t>(counter);
    std::vector<int> draws(2 * kChatLines, 0);
    draws.insert(draws.end(), {1, 2, 3});
    g.Rng.Script(draws);
    Surface fresh;
    DrawStatusBar(g, fresh);
    return CountColour(fresh, 542, 435, 160, 17, pale);
  };
  Surface text;
  text.DrawText(542, 435, "Say:ab", pale);
  const int plain = CountColour(text, 542, 435, 160, 17, pale);
  text.DrawText(542, 435, "Say:ab_", pale);
  const int withCursor = CountColour(text, 542, 435, 160, 17, pale);
  ASSERT_GT(withCursor, plain);

  EXPECT_EQ(sayPixels(0, 1, 0), 0);  // a server without a player of its own
  for (int counter = 0; counter < 8; ++counter) {
    const int expected = counter < 3 ? withCursor : plain;
    EXPECT_EQ(sayPixels(1, 0, counter), expected) << "client, counter " << counter;
    EXPECT_EQ(sayPixels(1, 1, counter), expected) << "playing host, counter " << counter;
  }
}

TEST_F(StatusBarTest, NoInternetPlayersInPhase0AndTheAddressLineSkipsEmptyLines) {
  g.IsServer = 1;
  g.ServerAddressText[0] = "No Internet Players";
  const uint32_t first = Rgb(20, 200, 200);
  Surface text;  // the words alone, as the message line should show them
  text.DrawText(550, 84, "No Internet Players", first);
  DrawStatusBar(g, s);
  EXPECT_EQ(MessageLine(first), CountColour(text, 550, 84, 150, 17, first));
  EXPECT_GT(MessageLine(first), 20);

  // The phase moves every third paint at counter 0; with one address only,
  // phase 1 falls through to 2 and then back to 0.
  for (int paint = 0; paint < 3; ++paint) {
    g.FrameCounter = 4;  // other counters do not count
    AdvanceStatusPhase(g);
    g.FrameCounter = 0;
    AdvanceStatusPhase(g);
  }
  EXPECT_EQ(g.StatusPhase, 1);
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

TEST_F(StatusBarTest, SilentServerShowsConnectionInterruptedToAClient) {
  g.IsClient = 1;
  g.ServerSilence = 6;
  DrawStatusBar(g, s);
  EXPECT_EQ(MessageLine(Rgb(255, 1, 1)), 0);
  g.ServerSilence = 7;
  DrawStatusBar(g, s);
  EXPECT_GT(MessageLine(Rgb(255, 1, 1)), 50);
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
