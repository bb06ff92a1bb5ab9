#pragma once

struct GameState;

// One action of the local user ('u' 'd' 'l' 'r' direction, 'p' shield up,
// 'a' shield down, 'b' fire or reappear, 't' send chat). On a server whose
// user plays it acts on the real state; a client first sends it to the
// server as a key datagram (once per change of wanted direction) and then
// applies it to its own copy at once, so the player sees it without waiting.
void ApplyControlKey(GameState& g, int code);
