// The eighth fireball rebuilt from its cut record: each clue the client
// uses, one row each, with numbers worked out from the rules of the step.
#include <gtest/gtest.h>

#include "game/game_state.h"
#include "protocol/eighth_fireball.h"
#include "protocol/update_datagram.h"

namespace {

TEST(EighthFireballTest, EachClueSettlesWhereTheFireballIsAndWhereItGoes) {
  struct Owner {
    int x, y, dir, energy;
    char kind;
  };
  struct Row {
    const char* what;
    Owner owner;
    Fireball last;  // as the client made it out at the last update
    char state;     // the record
    int x;
    bool yHigh;
    int steps;
    int y, dir;  // expected
  } rows[] = {
      // A computer fires after the energy pass: at (200, 248) going up, two
      // steps ago; it has moved 8 since and gained 1 energy.
      {"computer launch, steps from energy", {200, 240, DirUp, 1, KindComputer}, {}, 'f', 200, false, 2, 189, DirUp},
      {"stopped owner fires left", {200, 240, DirStop, 2, KindInternet}, {}, 'f', 141, false, 2, 240, DirLeft},
      // Fired down from (196, 230), then turned right: x and the letter say down.
      {"letter settles down", {204, 230, DirRight, 2, KindInternet}, {}, 'f', 196, true, 2, 289, DirDown},
      {"owner's way settles up against down", {200, 392, DirDown, 2, KindInternet}, {}, 'f', 200, true, 2, 443, DirDown},
      {"flight goes on", {}, {FireFlying, 196, 289, DirDown}, 'f', 196, true, 2, 309, DirDown},
      {"letter corrects the flight", {}, {FireFlying, 200, 250, DirDown}, 'f', 200, false, 2, 254, DirDown},
      {"x standing still: not sideways", {}, {FireFlying, 200, 300, DirLeft}, 'f', 200, true, 2, 300, DirDown},
      {"x moving: sideways", {}, {FireFlying, 200, 300, DirUp}, 'f', 220, true, 2, 300, DirRight},
      {"explodes at the limit", {}, {FireFlying, 200, 475, DirDown}, 'e', 200, true, 2, 490, DirDown},
      {"an explosion stays", {}, {FireExploding, 200, 100, DirUp}, 'e', 200, false, 2, 100, DirUp},
      {"cleared keeps its place", {}, {FireFlying, 200, 100, DirUp}, 'c', 0, false, 2, 100, DirUp},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.what);
    GameState g;
    PlayerSlot& owner = g.Players[kSlotCount - 1];
    owner.X = r.owner.x;
    owner.Y = r.owner.y;
    owner.Dir = r.owner.dir;
    owner.Energy = static_cast<uint8_t>(r.owner.energy);
    owner.Kind = r.owner.kind;
    g.EighthFireball = r.last;
    g.Fireballs[kSlotCount - 1] = r.last;
    UpdateFireball u;
    u.State = r.state;
    u.X = r.x;
    u.YHigh = r.yHigh;
    ReckonEighthFireball(g, u, r.steps);
    const Fireball& f = g.Fireballs[kSlotCount - 1];
    EXPECT_EQ(f.State, r.state);
    EXPECT_EQ(f.Y, r.y);
    EXPECT_EQ(f.Dir, r.dir);
    EXPECT_EQ(g.EighthFireball.State, r.state);
  }
}

}  // namespace
