// The update has room for only the state, the x position and the y range
// letter of the eighth fireball: byte 217, where its y would go on, holds
// the sequence number. The client rebuilds the rest.
#pragma once

struct GameState;
struct UpdateFireball;

// Sets the eighth fireball from its record, after the players of the same
// update were applied. A fireball first seen live was launched by its
// owner (player 8) as the launch rule says: in the owner's direction (a
// stopped player fires left), 39 pixels ahead, some of the steps since the
// last update ago. Which direction and how many steps is read from x; the
// y range letter settles up against down. A fireball seen flying before
// keeps its direction (x moving sideways or standing still corrects it)
// and its y moves 10 pixels a step. `steps` is the number of steps since
// the last applied update (ServerSilence).
void ReckonEighthFireball(GameState& g, const UpdateFireball& u, int steps);
