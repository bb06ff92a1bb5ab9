// The golden demo: an eight-player game from fixed seeds (a server with
// computer players and one loopback client), recorded by the client. Its
// frames at fixed steps must be the live frames of the same game, and
// those must be the pictures this game has always drawn at those steps: a
// change in the rules, the drawing or the recording shows here.
#include <gtest/gtest.h>

#include <cstdio>

#include "connection/demo_playback.h"
#include "connection/demo_recorder.h"
#include "connection/end_game.h"
#include "connection/game_tick.h"
#include "render/pictures.h"
#include "tests/connection/client_world.h"

namespace {

uint64_t Fnv1a(const std::vector<uint32_t>& pixels) {
  uint64_t h = 1469598103934665603ull;
  for (uint32_t p : pixels)
    for (int k = 0; k < 4; ++k) {
      h ^= (p >> (8 * k)) & 0xFF;
      h *= 1099511628211ull;
    }
  return h;
}

struct GoldenFrame {
  int frame;
  uint64_t hash;  // of the whole frame's pixels
};
// When the picture changes on purpose, the test prints the new values.
constexpr GoldenFrame kGolden[] = {
    {20, 0x2e99bcaaa7d26a85},
    {120, 0xcea60318a2dcb2f9},
    {260, 0x0e6bbe73b0460db0},
};

TEST(GoldenDemoTest, PlaybackShowsTheLiveFramesOfTheSeededGame) {
  ClientWorld w;
  PictureSet pictures;
  LoadBitmaps(w.server.g, pictures);
  Program& c = w.AddClient("127.0.0.2", "Golden");
  c.g.Bitmaps = &pictures;
  ArmDemoRecording(c.g, "golden.vrd", 1796860800, [](const std::string& text) { FAIL() << text; });
  auto* recorder = static_cast<DemoRecorder*>(c.g.Watcher.get());
  ASSERT_EQ(w.Join(c), 1);
  ASSERT_EQ(c.g.IsClient, 1);
  c.g.LastStepTime = w.clock.now;

  std::vector<std::pair<int, std::vector<uint32_t>>> live;
  size_t next = 0;
  while (next < std::size(kGolden)) {
    w.clock.now += 41;
    w.CatchUpServer();
    ClientWorld::Settle();
    ASSERT_TRUE(GameTick(c.g));
    const int frame = static_cast<int>(recorder->Frames()) - 1;
    if (frame == kGolden[next].frame) {
      Surface s;
      RenderWholeFrame(c.g, s);
      live.emplace_back(frame, s.pixels);
      ++next;
    }
    ApplyFrameTransitions(c.g);
  }
  const int frames = static_cast<int>(recorder->Frames());
  ASSERT_EQ(EndGame(c.g), 1);
  ASSERT_EQ(recorder->State(), DemoRecorder::Phase::Finished);

  DemoPlayback playback;
  std::string error;
  ASSERT_TRUE(playback.Load("golden.vrd", &error)) << error;
  ASSERT_EQ(playback.Frames(), frames);
  playback.Shown().Bitmaps = &pictures;
  for (size_t k = 0; k < live.size(); ++k) {
    playback.SeekTo(live[k].first);
    Surface s;
    RenderWholeFrame(playback.Shown(), s);
    EXPECT_EQ(s.pixels, live[k].second) << "frame " << live[k].first << " differs from the live game";
    EXPECT_EQ(Fnv1a(live[k].second), kGolden[k].hash)
        << "frame " << live[k].first << " is not the golden picture; if that is meant, its hash is now 0x"
        << std::hex << Fnv1a(live[k].second);
  }
}

}  // namespace
