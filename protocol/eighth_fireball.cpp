#include "protocol/eighth_fireball.h"

#include <algorithm>
#include <cstdlib>

#include "game/game_state.h"
#include "game/rules.h"
#include "protocol/update_datagram.h"

namespace {

constexpr int kLetterSplit = 255;  // the y range letter changes here
// A fireball crosses the field in 44 steps: more steps since the last
// update cannot tell a launch apart any better.
constexpr int kMaxLaunchSteps = 48;
// Costs of a launch guess, in pixels of x that would not fit: the letter
// is the server's own word on y; the owner's direction is only likely,
// as the owner may have turned since (a turn shifts x by at most 4 pixels a step).
constexpr int kWrongSideOfLetter = 1000;
constexpr int kNotTheOwnersWay = 20;
// The owner's energy counts the steps since the launch (it starts again
// from 0 and gains 1 a step): a hint only, as a shield spends it. It is
// what tells the steps of an upward or downward flight, where x cannot.
constexpr int kPerStepOffTheEnergy = 3;

struct Heading {
  int dx = 0, dy = 0;
};

Heading HeadingOf(int dir) {
  switch (dir) {
    case DirUp: return {0, -1};
    case DirDown: return {0, 1};
    case DirLeft: return {-1, 0};
    case DirRight: return {1, 0};
    default: return {};
  }
}

bool Sideways(int dir) { return dir == DirLeft || dir == DirRight; }

// A y on the wrong side of what the range letter says moves to the nearest
// value on the right side.
int OnLetterSide(int y, bool high) {
  if (high) return std::max(y, kLetterSplit);
  return std::min(y, kLetterSplit - 1);
}

// The launch that best explains where the fireball now is: each direction
// and each number of steps since the launch, from where the owner stood
// then (had it kept its direction since).
Fireball ReckonLaunch(const PlayerSlot& owner, const UpdateFireball& u, int steps) {
  const int ownersWay = owner.Dir == DirStop ? DirLeft : owner.Dir;
  const Heading back = HeadingOf(owner.Dir);
  // A computer player fires after the energy pass, anyone else before it.
  const int stepsByEnergy = owner.Energy + (owner.Kind == KindComputer ? 1 : 0);
  Fireball best;
  int bestCost = -1;
  for (int dir : {DirLeft, DirRight, DirUp, DirDown}) {
    const Heading h = HeadingOf(dir);
    for (int k = 1; k <= std::min(steps, kMaxLaunchSteps); ++k) {
      const int fromX = owner.X - back.dx * kPlayerSpeed * k;
      const int fromY = owner.Y - back.dy * kPlayerSpeed * k;
      const int reach = kFireballLaunchOffset + kFireballSpeed * k;
      const int x = fromX + h.dx * reach, y = fromY + h.dy * reach;
      int cost = std::abs(std::clamp(x, 0, kCoordMax) - u.X);
      if ((y >= kLetterSplit) != u.YHigh) cost += kWrongSideOfLetter;
      if (dir != ownersWay) cost += kNotTheOwnersWay;
      cost += kPerStepOffTheEnergy * std::abs(k - stepsByEnergy);
      if (bestCost < 0 || cost < bestCost) {
        bestCost = cost;
        best.Dir = dir;
        best.Y = y;
      }
    }
  }
  return best;
}

// A fireball that was flying at the last update and is still live.
Fireball ReckonFlight(const Fireball& last, const UpdateFireball& u, int steps) {
  Fireball f = last;
  if (u.State == FireFlying && u.X != last.X) {
    // Moving sideways: x tells which way.
    f.Dir = u.X > last.X ? DirRight : DirLeft;
    return f;
  }
  if (Sideways(f.Dir)) {
    // A fireball that flies sideways always moves in x: standing still
    // means it flies up or down; the letter says which half it is in.
    if (u.State == FireFlying) f.Dir = u.YHigh ? DirDown : DirUp;
    return f;
  }
  f.Y += HeadingOf(f.Dir).dy * kFireballSpeed * steps;
  // It explodes within one move of the field limits at the latest.
  if (u.State == FireExploding)
    f.Y = std::clamp(f.Y, kFieldLow - kFireballSpeed, kFieldHigh + kFireballSpeed);
  return f;
}

}  // namespace

void ReckonEighthFireball(GameState& g, const UpdateFireball& u, int steps) {
  Fireball& f = g.Fireballs[kSlotCount - 1];
  Fireball& last = g.EighthFireball;
  f.State = u.State;
  // A cleared or unused fireball keeps where it was, as the others do.
  if (u.State != FireFlying && u.State != FireExploding) {
    last.State = u.State;
    return;
  }
  steps = std::max(steps, 1);
  Fireball now = last;  // an explosion seen before stays where it is
  if (last.State == FireFlying)
    now = ReckonFlight(last, u, steps);
  else if (last.State != FireExploding || u.State != FireExploding)
    now = ReckonLaunch(g.Players[kSlotCount - 1], u, steps);
  now.State = u.State;
  now.X = u.X;
  now.Y = OnLetterSide(now.Y, u.YHigh);
  last = now;
  f.X = now.X;
  f.Y = now.Y;
  f.Dir = now.Dir;
}
