// The wait for the server's map, when joining and after the server
// announced a new one.
#pragma once

#include <cstdint>
#include <functional>

#include "game/game_state.h"

// Asked again and again while a join holds the thread (at least every
// kGiveUpPollMs): true ends the wait at once. A program without a window
// uses it to stop joining on a signal or when its time is up; the window
// passes none and waits as long as the waits last.
using JoinGiveUp = std::function<bool()>;
constexpr uint32_t kGiveUpPollMs = 50;

// FetchMap's results.
enum FetchMapResult : int {
  kMapReceiveFailed = 0,  // the socket failed (a fatal error has been reported)
  kMapTaken = 1,          // the map datagram arrived and is in Tiles
  kMapGaveUp = 2,         // nothing came within kMapWaitMs
  kMapGameEnded = 3,      // during a game the server kicked the client or closed: the game is ended
  kMapStopped = 4,        // giveUp ended the wait
};
constexpr uint32_t kMapRequestRepeatMs = 500;
constexpr uint32_t kMapRequestGapMs = 100;
constexpr uint32_t kMapWaitMs = 5000;

// Waits for the server's map, holding the thread. While connecting
// (IsClient clear) it asks first; during a game it waits for the next
// datagram. Asks again for other datagrams from the server (at most once
// per kMapRequestGapMs) and every kMapRequestRepeatMs; gives up after
// kMapWaitMs. During a game a kick or close notice from the server ends
// the game there and then. giveUp, when given, may end the wait sooner.
int FetchMap(GameState& g, const JoinGiveUp& giveUp = {});

// A map datagram's tiles become the map, unless they already are it; a new
// map is marked for a full redraw.
void ApplyServerMap(GameState& g, const TileMap& tiles);
