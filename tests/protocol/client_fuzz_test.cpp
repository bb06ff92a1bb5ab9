// Random and mutated datagrams from the server thrown at a predicting
// client: nothing may crash or read past what arrived (ASan shows it), and
// the copy stays drawable.
#include <gtest/gtest.h>

#include <random>

#include "connection/game_step.h"
#include "game/frame_transitions.h"
#include "protocol/board_datagram.h"
#include "protocol/datagrams.h"
#include "tests/protocol/client_fixture.h"

namespace {

TEST(ClientFuzzTest, TwentyThousandHostileDatagramsFromTheServer) {
  ClientGame t;
  GameState src;
  for (int i = 0; i < kSlotCount; ++i) {
    src.Players[i].Active = 1;
    src.Players[i].X = 40 + 40 * i;
    src.Players[i].Y = 200;
  }
  DatagramBuffer map;
  BuildMap(map, TileMap{});
  const std::string seeds[] = {UpdateBytes(src, 3),
                               std::string(map.bytes.begin(), map.bytes.begin() + map.len),
                               [] {
                                 auto b = BuildBoardDatagram(ChatBoard{});
                                 return std::string(b.begin(), b.end());
                               }(),
                               "PMt", "PMz", "PMok"};
  std::mt19937 rng(4242);
  auto pick = [&](size_t n) { return static_cast<size_t>(rng() % n); };
  for (int n = 0; n < 20000; ++n) {
    std::string d = seeds[pick(std::size(seeds))];
    if (pick(3) == 0) d.resize(pick(d.size() + 1));
    for (size_t k = pick(6); k > 0 && !d.empty(); --k) d[pick(d.size())] = static_cast<char>(rng());
    if (pick(50) == 0) d = pick(2) ? "PMk" : "PMs";  // now and then the game ends
    t.FromServer(d);
    GameStep(t.g);
    ApplyFrameTransitions(t.g);
    if (!t.g.IsClient) {  // join again
      t.g.IsClient = 1;
      t.g.AllowInternet = 1;
    }
    for (const PlayerSlot& p : t.g.Players) ASSERT_EQ(p.Name[kNameBytes - 1], 0);
  }
  EXPECT_EQ(t.rec.ui.quits, 0);
}

}  // namespace
