#include "shell/control_input.h"

#include "game/game_state.h"
#include "game/player_commands.h"
#include "protocol/datagrams.h"
#include "shell/chat_entry.h"

void ApplyControlKey(GameState& g, int code) {
  if (code == 't') SendChatLine(g);

  // LocalSlot names one of the eight slots or none; anything else would
  // index past the players.
  const int slot = g.LocalSlot;
  if (slot < 0 || slot >= kSlotCount) return;
  if (!((g.IsClient && g.AllowInternet) || g.IsServer)) return;
  PlayerSlot& p = g.Players[slot];

  if (g.IsClient && !g.IsServer && code != p.WantDir) {
    DatagramBuffer d;
    BuildKey(d, static_cast<char>(code));
    SendDatagram(g, g.ServerAddress, d.data(), d.size(), "Send error #12");
    g.ClientQuiet = 0;
  }

  switch (code) {
    case 'p':
      if (p.Active && p.Life == Alive && p.Energy != 0) {
        RaiseShield(g, slot);
        PlayEffect(g, "shieldup.wav");  // again on every call, also when already up
      }
      break;
    case 'a':
      if (p.Active && p.Life == Alive) {
        if (p.Shield) PlayEffect(g, "shielddo.wav");
        LowerShield(g, slot);
      }
      break;
    case 'b': {
      // A client's dead player comes back only when the server says so.
      if (g.IsServer) Reappear(g, slot);
      const Fireball& f = g.Fireballs[slot];
      if (p.Life == Alive && f.State != FireFlying && f.State != FireExploding &&
          p.Energy == kFullEnergy) {
        PlayEffect(g, "launchf.wav");
        LaunchFireball(g, slot);
      }
      break;
    }
    case 'u':
    case 'd':
    case 'l':
    case 'r':
    case 't':
      SetWantDir(g, slot, code);
      break;
    default:
      break;
  }
}
