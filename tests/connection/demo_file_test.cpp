#include "connection/demo_file.h"

#include <gtest/gtest.h>

#include <cstring>

#include "connection/demo_playback.h"
#include "connection/demo_recorder.h"
#include "connection/game_tick.h"
#include "support/test_game.h"

namespace {

// A small game whose frames change as a real one's do: players move, one
// joins, the map changes, the board scrolls, sounds play.
struct DemoFileTest : ::testing::Test {
  TestGame t;
  GameState& g = t.g;
  DemoHeader header;

  void SetUp() override {
    g.IsServer = 1;
    g.IsClient = 1;
    g.LocalSlot = 0;
    g.ConnectionStatus = "Server, port 2727";
    for (int i = 0; i < kMapSide; ++i) g.Tiles[static_cast<size_t>(i)] = 2;
    for (int i = 0; i < 3; ++i) {
      g.Players[i].Active = 1;
      g.Players[i].Number = static_cast<uint8_t>(i + 1);
      g.Players[i].X = 40 + 40 * i;
      g.Players[i].Y = 80;
      SetPlayerName(g.Players[i], "Comp");
    }
    header.ProgramVersion = "1.0";
    header.TickInterval = 40;
    header.Tiles = g.Tiles;
    header.Description = "Test map";
    header.Date = 1796860800;
  }

  // Frame n of the game: step n's changes on the state so far.
  DemoFrame Step(int n) {
    for (int i = 0; i < 3; ++i) g.Players[i].X += 4;
    g.FrameCounter = static_cast<uint8_t>(n % 8);
    if (n == 5) {  // a join
      g.Players[5].Active = 1;
      g.Players[5].Kind = KindInternet;
      SetPlayerName(g.Players[5], "Joiner");
    }
    if (n == 7) g.Tiles[100] = 3;  // a map change
    if (n == 8) PlayEffect(g, "launchf.wav");
    if (n % 4 == 0) {
      ScrollChatBoard(g);
      std::snprintf(g.Board.Lines[7], kChatLineBytes, "%c%c%cline %d", 128, 100, 100, n);
    }
    DemoFrame f = TakeDemoFrame(g);
    g.LastEffect.clear();
    return f;
  }

  // The demo of `frames` steps; boundaries gets where each record begins.
  std::vector<uint8_t> Encode(int frames, std::vector<DemoFrame>* taken = nullptr,
                              std::vector<size_t>* boundaries = nullptr) {
    DemoEncoder e;
    std::vector<uint8_t> out;
    e.Header(header, out);
    for (int n = 0; n < frames; ++n) {
      if (boundaries && (boundaries->empty() || boundaries->back() != out.size()))
        boundaries->push_back(out.size());
      DemoFrame f = Step(n);
      if (taken) taken->push_back(f);
      e.Frame(f, out);
    }
    if (boundaries && boundaries->back() != out.size()) boundaries->push_back(out.size());
    e.End(out);
    return out;
  }

  static bool Read(const std::vector<uint8_t>& bytes, std::vector<DemoFrame>* frames, DemoError* e,
                   DemoHeader* h = nullptr) {
    DemoHeader local;
    return ReadDemo(bytes.data(), bytes.size(), h ? h : &local,
                    [&](const DemoFrame& f) { frames->push_back(f); }, e);
  }
};

TEST_F(DemoFileTest, EveryRecordKindComesBackAsWritten) {
  std::vector<DemoFrame> taken;
  std::vector<uint8_t> bytes = Encode(12, &taken);
  std::vector<DemoFrame> read;
  DemoError e;
  DemoHeader h;
  ASSERT_TRUE(Read(bytes, &read, &e, &h)) << e.Text();
  EXPECT_EQ(h.ProgramVersion, "1.0");
  EXPECT_EQ(h.TickInterval, 40);
  EXPECT_EQ(h.Tiles, header.Tiles);
  EXPECT_EQ(h.Description, "Test map");
  EXPECT_EQ(h.Date, 1796860800);
  ASSERT_EQ(read.size(), taken.size());
  for (size_t n = 0; n < taken.size(); ++n) EXPECT_EQ(read[n], taken[n]) << "frame " << n;

  // What the frames carry reaches a state that shows them: the join, the
  // map change (which clears the window), the board and the sound.
  GameState shown;
  ApplyDemoFrame(read[4], shown);
  EXPECT_EQ(shown.Players[5].Active, 0);
  shown.MapDirty = 0;
  ApplyDemoFrame(read[5], shown);
  EXPECT_EQ(shown.Players[5].Active, 1);
  EXPECT_EQ(shown.Players[5].Kind, KindInternet);
  EXPECT_STREQ(shown.Players[5].Name, "Joiner");
  EXPECT_EQ(shown.MapDirty, 0);
  ApplyDemoFrame(read[7], shown);
  EXPECT_EQ(shown.Tiles[100], 3);
  EXPECT_EQ(shown.MapDirty, 1);
  EXPECT_EQ(ApplyDemoFrame(read[8], shown), DemoEffectNumber("launchf.wav"));
  EXPECT_STREQ(shown.Board.Lines[7] + 3, "line 8");
  EXPECT_EQ(shown.ConnectionStatus, "Server, port 2727");
  EXPECT_EQ(shown.Players[1].X, 40 + 40 + 4 * 9);
}

TEST_F(DemoFileTest, HeaderChecksNameTheByteAndWhatWasExpected) {
  const std::vector<uint8_t> good = Encode(3);
  const size_t version = 10, speed = 13 + 3, tiles = speed + 1, frameSize = tiles + 196 + 9 + 8;
  struct Row {
    size_t at;
    uint8_t value;
    std::string expected;
  } rows[] = {
      {0, 'X', "the text \"VRASKDEMO\""},
      {version, 2, "format version 1, found 2"},
      {12, 40, "the program version of at most 32 bytes"},
      {speed, 50, "the speed 40 or 60 ms, found 50"},
      {tiles + 17, 11, "a tile code 0..10, found 11"},
      {frameSize, 1, "the frame size 1199"},
  };
  for (const Row& r : rows) {
    std::vector<uint8_t> bytes = good;
    bytes[r.at] = r.value;
    std::vector<DemoFrame> frames;
    DemoError e;
    EXPECT_FALSE(Read(bytes, &frames, &e));
    EXPECT_EQ(e.Byte, r.at) << r.expected;
    EXPECT_NE(e.Expected.find(r.expected), std::string::npos) << e.Text();
  }
  // The speed 60 is a demo too.
  std::vector<uint8_t> slow = good;
  slow[speed] = 60;
  std::vector<DemoFrame> frames;
  DemoError e;
  EXPECT_TRUE(Read(slow, &frames, &e)) << e.Text();
}

TEST_F(DemoFileTest, TruncatedAtEveryRecordBoundaryAndInsideEveryRecord) {
  std::vector<size_t> boundaries;
  // Three records: two of a second's steps each, the last with the end.
  const std::vector<uint8_t> bytes = Encode(2 * kDemoFramesPerRecord + 10, nullptr, &boundaries);
  ASSERT_EQ(boundaries.size(), 3u);
  std::vector<size_t> cuts;
  for (size_t b = 0; b + 1 < boundaries.size(); ++b) {
    cuts.push_back(boundaries[b]);        // before a record
    cuts.push_back(boundaries[b] + 2);    // inside its length
    cuts.push_back(boundaries[b] + 7);    // inside its data
    cuts.push_back(boundaries[b + 1] - 1);  // its last byte missing
  }
  cuts.push_back(boundaries.back());      // the last record missing
  cuts.push_back(boundaries.back() + 9);  // inside it
  cuts.push_back(bytes.size() - 1);       // its last byte missing
  for (size_t h = 0; h < boundaries[0]; h += 13) cuts.push_back(h);  // inside the header
  for (size_t cut : cuts) {
    std::vector<uint8_t> part(bytes.begin(), bytes.begin() + static_cast<long>(cut));
    std::vector<DemoFrame> frames;
    DemoError e;
    EXPECT_FALSE(Read(part, &frames, &e)) << "cut at " << cut;
    EXPECT_LE(e.Byte, cut) << e.Text();
    EXPECT_FALSE(e.Expected.empty());
  }
  // A whole demo with a byte after it is not a demo either.
  std::vector<uint8_t> longer = bytes;
  longer.push_back(0);
  std::vector<DemoFrame> frames;
  DemoError e;
  EXPECT_FALSE(Read(longer, &frames, &e));
  EXPECT_EQ(e.Byte, bytes.size());
}

TEST_F(DemoFileTest, SeekingGivesTheFrameOfPlayingStraightThrough) {
  const int frames = 3 * kDemoKeyframeEvery + 10;
  std::vector<DemoFrame> taken;
  std::vector<uint8_t> bytes = Encode(frames, &taken);
  DemoPlayback straight, jumping;
  std::string error;
  ASSERT_TRUE(straight.LoadBytes(bytes, &error)) << error;
  ASSERT_TRUE(jumping.LoadBytes(bytes, &error)) << error;
  ASSERT_EQ(straight.Frames(), frames);
  // Forward, back across keyframes, back to the start, to the end.
  const int targets[] = {150, 63, 64, 65, 190, 2, 0, frames - 1, 128};
  std::vector<int> wanted(std::begin(targets), std::end(targets));
  for (int n : wanted) {
    jumping.SeekTo(n);
    straight.SeekTo(0);
    while (straight.Position() < n) ASSERT_TRUE(straight.Advance());
    EXPECT_EQ(jumping.Current(), taken[static_cast<size_t>(n)]) << n;
    EXPECT_EQ(straight.Current(), taken[static_cast<size_t>(n)]) << n;
    Surface a, b;
    RenderWholeFrame(jumping.Shown(), a);
    RenderWholeFrame(straight.Shown(), b);
    EXPECT_EQ(a.pixels, b.pixels) << n;
  }
  straight.SeekTo(frames - 1);
  EXPECT_FALSE(straight.Advance());  // at the end
  EXPECT_EQ(straight.Position(), frames - 1);
}

TEST_F(DemoFileTest, KeysMoveAndPace) {
  std::vector<uint8_t> bytes = Encode(100);
  DemoPlayback p;
  std::string error;
  ASSERT_TRUE(p.LoadBytes(bytes, &error));
  p.SeekTo(50);
  p.Press(DemoKey::Back);
  EXPECT_EQ(p.Position(), 50 - 24);  // a second at 41 ms a step
  p.Press(DemoKey::Forward);
  p.Press(DemoKey::Forward);
  EXPECT_EQ(p.Position(), 50 + 24);
  p.Press(DemoKey::Forward);
  p.Press(DemoKey::Forward);
  EXPECT_EQ(p.Position(), 99);  // kept within the demo
  p.Press(DemoKey::Restart);
  EXPECT_EQ(p.Position(), 0);
  EXPECT_EQ(p.MsPerFrame(), 41);
  for (int k = 0; k < 9; ++k) p.Press(DemoKey::Faster);
  EXPECT_EQ(p.MsPerFrame(), 41 / 8);  // 8x at most
  for (int k = 0; k < 9; ++k) p.Press(DemoKey::Slower);
  EXPECT_EQ(p.MsPerFrame(), 41 * 4);  // 1/4x at least
  p.Press(DemoKey::Pause);
  EXPECT_EQ(p.TitleText(), "Vrask Demo 0:00 / 0:04 1/4x paused");
  EXPECT_FALSE(p.Press(DemoKey::Quit));
}

// A recording whose file cannot take the bytes stops with one report; the
// game's steps go on.
TEST_F(DemoFileTest, AFailedWriteStopsTheRecordingWithOneReport) {
  std::vector<std::string> reports;
  ArmDemoRecording(g, "/dev/full", 0, [&](const std::string& text) { reports.push_back(text); });
  auto* recorder = static_cast<DemoRecorder*>(g.Watcher.get());
  t.rec.clock.now = 1000;
  // The first write comes once a few kilobytes are buffered.
  for (int n = 0; n < 5000 && recorder->State() != DemoRecorder::Phase::Failed; ++n) {
    t.rec.clock.now += 41;
    ASSERT_TRUE(GameTick(g));
  }
  EXPECT_EQ(recorder->State(), DemoRecorder::Phase::Failed);
  for (int n = 0; n < 100; ++n) {
    t.rec.clock.now += 41;
    ASSERT_TRUE(GameTick(g));
  }
  ASSERT_EQ(reports.size(), 1u);
  EXPECT_NE(reports[0].find("/dev/full"), std::string::npos) << reports[0];
  // A file that cannot be made at all is the same.
  ArmDemoRecording(g, "/nonexistent-folder/demo.vrd", 0, [&](const std::string& text) { reports.push_back(text); });
  t.rec.clock.now += 41;
  EXPECT_TRUE(GameTick(g));
  EXPECT_EQ(reports.size(), 2u);
}

}  // namespace
