// The eighth fireball's y and direction do not travel in the update: a
// client joined to a real server over loopback rebuilds them. After two
// updates the client's fireball stays within 10 pixels of the server's,
// in every direction, with prediction on and off.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

#include "game/player_commands.h"
#include "game/rules.h"
#include "tests/connection/client_world.h"

namespace {

constexpr int kEighth = kSlotCount - 1;
// The goal is 10 pixels; in these games the client's reckoning is exact,
// so anything beyond one step of a player means it lost a clue. The rules
// of the reckoning are tested one by one in tests/protocol.
constexpr int kWithin = kPlayerSpeed;

// Where the server's fireball will be after one more move: what a
// predicting client shows after the step in which it applied an update.
Fireball OneMoveOn(Fireball f) {
  if (f.State != FireFlying) return f;
  switch (f.Dir) {
    case DirUp: f.Y -= kFireballSpeed; break;
    case DirDown: f.Y += kFireballSpeed; break;
    case DirLeft: f.X -= kFireballSpeed; break;
    case DirRight: f.X += kFireballSpeed; break;
    default: break;
  }
  return f;
}

bool InsideField(const Fireball& f) {
  return f.X >= kFieldLow && f.X <= kFieldHigh && f.Y >= kFieldLow && f.Y <= kFieldHigh;
}

// Steps the game and, at every update the client applies from the second
// one after a launch on, compares the client's eighth fireball with the
// server's while it flies inside the field.
struct Follow {
  ClientWorld& w;
  Program& c;
  int compared = 0, worst = 0, updatesSinceLaunch = 0;

  void Step() {
    const GameState& s = w.server.g;
    const bool flewBefore = s.Fireballs[kEighth].State == FireFlying;
    w.Step();
    if (s.Fireballs[kEighth].State == FireFlying && !flewBefore) updatesSinceLaunch = 0;
    if (c.g.ServerSilence != 0) return;  // no update applied this step
    if (++updatesSinceLaunch < 2) return;
    const Fireball server = c.g.PredictionOn ? OneMoveOn(s.Fireballs[kEighth]) : s.Fireballs[kEighth];
    const Fireball& client = c.g.Fireballs[kEighth];
    if (s.Fireballs[kEighth].State != FireFlying || !InsideField(server)) return;
    EXPECT_EQ(client.State, FireFlying) << "after " << updatesSinceLaunch << " updates";
    worst = std::max({worst, std::abs(client.X - server.X), std::abs(client.Y - server.Y)});
    ++compared;
  }
};

Program& JoinDead(ClientWorld& w, int prediction) {
  Program& c = w.AddClient("127.0.0.2", "Cleo");
  EXPECT_EQ(w.Join(c), 1);
  c.g.PredictionOn = prediction;
  // The client's own player is out of the way: dead players meet nothing.
  w.server.g.Players[w.SlotOf("127.0.0.2")].Life = Dead;
  return c;
}

TEST(EighthFireballLoopbackTest, FollowedInEveryDirectionAsTheOwnerFiresItWithAndWithoutPrediction) {
  struct Row {
    int dir;    // the owner's direction when it fires
    int turn;   // where it heads right after (0: keeps going)
    int flies;  // the fireball's direction on the server
  } rows[] = {
      {DirUp, 0, DirUp},         {DirDown, 0, DirDown},         {DirLeft, 0, DirLeft},
      {DirRight, 0, DirRight},   {DirStop, 0, DirLeft},         {DirUp, DirRight, DirUp},
      {DirRight, DirDown, DirRight}, {DirDown, DirLeft, DirDown},
  };
  for (const Row& row : rows)
    for (int prediction : {0, 1}) {
      SCOPED_TRACE(testing::Message() << "fires " << char(row.dir) << " turns "
                                      << (row.turn ? char(row.turn) : '-') << " prediction "
                                      << prediction);
      ClientWorld w(40, false);
      Program& c = JoinDead(w, prediction);
      GameState& s = w.server.g;
      PlayerSlot& owner = s.Players[kEighth];
      owner.Kind = KindInternet;
      owner.Active = 1;
      owner.Life = Alive;
      owner.Address = NetAddress::Of(127, 0, 0, 77, 4000);  // nobody listens there
      owner.X = 200;
      owner.Y = 240;
      owner.Dir = owner.WantDir = row.dir;
      ASSERT_TRUE(w.StepUntil([&] { return c.g.Players[kEighth].Active == 1; }));
      owner.Energy = kFullEnergy;
      LaunchFireball(s, kEighth);  // as a key from the owner would, before the step
      ASSERT_EQ(s.Fireballs[kEighth].Dir, row.flies);
      if (row.turn) owner.WantDir = row.turn;

      Follow f{w, c};
      f.updatesSinceLaunch = 0;
      for (int k = 0; k < 10; ++k) f.Step();  // no fireball reaches the field limits
      EXPECT_GE(f.compared, 3);
      EXPECT_LE(f.worst, kWithin);
    }
}

}  // namespace
