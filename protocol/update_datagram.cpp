#include "protocol/update_datagram.h"

#include <algorithm>
#include <cstring>

#include "protocol/datagrams.h"

void PutCoord(uint8_t* at, int v) {
  // Fireballs start 39 pixels beyond their player and explode just past the
  // rim (x = -9 or 529 are possible). Sent unclamped, -9 would arrive as 247
  // and 529 as 18; clamped, the explosion is drawn at the edge of the field.
  v = std::clamp(v, 0, kCoordMax);
  at[0] = v < 255 ? 'l' : 'm';
  at[1] = PutValue(v);
}

int GetCoord(const uint8_t* at) { return at[0] == 'l' ? at[1] - 1 : at[1] + 255; }

namespace {

void PutPlayer(uint8_t* r, const PlayerSlot& p, int i) {
  r[0] = static_cast<uint8_t>(i + 1);
  r[1] = p.Kind == KindComputer ? 'c' : 'p';
  PutCoord(r + 2, p.X);
  PutCoord(r + 4, p.Y);
  r[6] = PutValue(p.Dir & 0xFF);
  r[7] = PutValue(p.WantDir & 0xFF);
  r[8] = PutValue(p.Life);
  r[9] = p.Active ? '1' : '0';
  r[10] = PutValue(p.Energy);
  r[11] = PutValue(p.Frags);
  r[12] = PutValue(p.Shield);
  std::memset(r + 13, 0, 8);
  std::memcpy(r + 13, p.Name, strnlen(p.Name, 8));
}

// Writes at most room bytes of the fireball record (the last one is cut).
void PutFireball(uint8_t* r, const Fireball& f, size_t room) {
  uint8_t full[kFireballRecordLength];
  full[0] = PutValue(static_cast<uint8_t>(f.State));
  PutCoord(full + 1, f.X);
  PutCoord(full + 3, f.Y);
  full[5] = PutValue(f.Dir & 0xFF);
  std::memcpy(r, full, std::min(room, kFireballRecordLength));
}

}  // namespace

void BuildUpdateDatagram(const GameState& g, UpdateDatagram& out) {
  out[0] = 'P';
  out[1] = 'M';
  out[2] = 'm';
  for (int i = 0; i < kSlotCount; ++i)
    PutPlayer(&out[kPlayerRecordsAt + kPlayerRecordLength * i], g.Players[i], i);
  for (int i = 0; i < kSlotCount; ++i) {
    size_t at = kFireballRecordsAt + kFireballRecordLength * i;
    PutFireball(&out[at], g.Fireballs[i], std::min(kFireballRecordLength, kUpdateSeqAt - at));
  }
  out[kUpdateSeqAt] = 0;
}

uint8_t AddressUpdateTo(UpdateDatagram& u, PlayerSlot& p, int slot) {
  size_t tagAt = kPlayerRecordsAt + kPlayerRecordLength * slot + 1;
  uint8_t old = u[tagAt];
  u[tagAt] = 'y';
  // 0 is never sent: a fresh slot's first two updates both carry 1.
  u[kUpdateSeqAt] = p.UpdateSeq == 0 ? 1 : p.UpdateSeq;
  p.UpdateSeq = static_cast<uint8_t>(p.UpdateSeq + 1);
  return old;
}

void RestoreTag(UpdateDatagram& u, int slot, uint8_t tag) {
  u[kPlayerRecordsAt + kPlayerRecordLength * slot + 1] = tag;
}

bool ParseUpdateDatagram(const uint8_t* d, size_t len, ParsedUpdate* out) {
  if (len < kUpdateLength || DatagramType(d, len) != 'm') return false;
  for (int i = 0; i < kSlotCount; ++i) {
    const uint8_t* r = d + kPlayerRecordsAt + kPlayerRecordLength * i;
    UpdatePlayer& p = out->Players[i];
    p.Number = r[0];
    p.Tag = static_cast<char>(r[1]);
    p.X = GetCoord(r + 2);
    p.Y = GetCoord(r + 4);
    p.Dir = GetValue(r[6]);
    p.WantDir = GetValue(r[7]);
    p.Life = GetValue(r[8]);
    p.Active = r[9] == '1';
    p.Energy = GetValue(r[10]);
    p.Frags = GetValue(r[11]);
    p.Shield = GetValue(r[12]);
    std::memset(p.Name, 0, sizeof p.Name);
    std::memcpy(p.Name, r + 13, strnlen(reinterpret_cast<const char*>(r + 13), 8));
  }
  for (int i = 0; i < kSlotCount; ++i) {
    const uint8_t* r = d + kFireballRecordsAt + kFireballRecordLength * i;
    UpdateFireball& f = out->Fireballs[i];
    f.State = static_cast<char>(GetValue(r[0]));
    f.X = GetCoord(r + 1);
    f.YHigh = r[3] != 'l';
    f.HasYAndDir = i < kSlotCount - 1;
    if (f.HasYAndDir) {
      f.Y = GetCoord(r + 3);
      f.Dir = GetValue(r[5]);
    }
  }
  out->Seq = d[kUpdateSeqAt];
  return true;
}
