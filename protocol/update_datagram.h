// The game state update: "PMm", eight 21-byte player records, the fireball
// records of 6 bytes and the recipient's sequence number in byte 217.
// 218 bytes. Built once per step; per recipient only byte 1 of its own
// player record and the sequence byte change.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "game/game_state.h"

constexpr size_t kUpdateLength = 218;
constexpr size_t kPlayerRecordsAt = 3;
constexpr size_t kPlayerRecordLength = 21;
constexpr size_t kFireballRecordsAt = 171;
constexpr size_t kFireballRecordLength = 6;
constexpr size_t kUpdateSeqAt = 217;
constexpr int kCoordMax = 510;  // the largest value two coordinate bytes carry

using UpdateDatagram = std::array<uint8_t, kUpdateLength>;

// Small values travel as value + 1, modulo 256.
inline uint8_t PutValue(int v) { return static_cast<uint8_t>((v + 1) & 0xFF); }
inline int GetValue(uint8_t b) { return (b - 1) & 0xFF; }

// A coordinate as a range letter ("l" below 255, "m" otherwise) and the byte
// (v + 1) modulo 256. Values outside 0..510 cannot travel: they are clamped
// into that range (a fireball leaving the field is sent at the edge).
void PutCoord(uint8_t* at, int v);
// v = byte - 1 after "l", byte + 255 after any other letter.
int GetCoord(const uint8_t* at);

// Fills the whole update from the state after this step's simulation.
void BuildUpdateDatagram(const GameState& g, UpdateDatagram& out);

// Readies the update for the player of slot: its record's byte 1 becomes
// "y" and byte 217 the slot's sequence number (1 when UpdateSeq is 0); the
// slot's UpdateSeq then advances. Returns byte 1 as it was, for RestoreTag.
uint8_t AddressUpdateTo(UpdateDatagram& u, PlayerSlot& p, int slot);
void RestoreTag(UpdateDatagram& u, int slot, uint8_t tag);

struct UpdatePlayer {
  int Number = 0;
  char Tag = 0;  // 'y' for the receiver's own slot, 'c' computer, 'p' other
  int X = 0, Y = 0;
  int Dir = 0, WantDir = 0;
  int Life = 0;
  int Active = 0;
  int Energy = 0, Frags = 0, Shield = 0;
  char Name[9] = {};
};

struct UpdateFireball {
  char State = 0;
  int X = 0, Y = 0;
  int Dir = 0;
  bool YHigh = false;  // the y range letter: y is 255 or more
  // The last record has room only for its state, x and the y range letter
  // before the sequence byte; its y and direction do not travel, and the
  // receiver rebuilds them (ReckonEighthFireball).
  bool HasYAndDir = true;
};

struct ParsedUpdate {
  std::array<UpdatePlayer, kSlotCount> Players;
  std::array<UpdateFireball, kSlotCount> Fireballs;
  uint8_t Seq = 0;
};

// False (nothing read) unless the datagram is a complete 218-byte update: a
// partial state cannot be applied safely.
bool ParseUpdateDatagram(const uint8_t* d, size_t len, ParsedUpdate* out);
