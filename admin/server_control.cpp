#include "admin/server_control.h"

#include <cstdio>
#include <cstring>

#include "game/game_state.h"
#include "protocol/chat_board.h"
#include "protocol/datagrams.h"

namespace {

// The dialogs' message boxes belong to the dialog that asks.
MsgAnswer Box(GameState& g, const std::string& text, const char* title,
              MsgButtons buttons = MsgButtons::Ok, MsgIcon icon = MsgIcon::Exclamation) {
  if (!g.platform.ui) return MsgAnswer::No;
  return g.platform.ui->MessageBox(text, title, buttons, icon, false);
}

bool AskSure(GameState& g, const std::string& question) {
  return Box(g, question, "Are you sure?", MsgButtons::YesNo, MsgIcon::Question) ==
         MsgAnswer::Yes;
}

std::string NameOf(const PlayerSlot& p) { return std::string(p.Name, strnlen(p.Name, kNameBytes)); }

// The place of the selected line, or null when no line is selected.
PlayerSlot* SelectedPlace(GameState& g, const ListBox& list, int* index) {
  const int i = list.Selected();
  if (i < 0 || i >= kSlotCount) return nullptr;
  *index = i;
  return &g.Players[i];
}

// The question leaves the game running: the player may have left, and
// someone else may have joined into the place, before the answer comes.
bool SamePlayer(const PlayerSlot& p, const NetAddress& asked) {
  return p.Active && p.Kind == KindInternet && p.Address == asked;
}

}  // namespace

std::string PlayerListLine(const GameState& g, int i) {
  const PlayerSlot& p = g.Players[i];
  const std::string name = NameOf(p);
  char line[96];
  if (p.Active && p.Kind == KindInternet) {
    const auto& ip = p.Address.ip;
    std::snprintf(line, sizeof line, "%s,IP=[%d.%d.%d.%d],Frag:%d", name.c_str(), ip[0], ip[1],
                  ip[2], ip[3], p.Frags);
  } else if (p.Active && p.Kind == KindComputer) {
    std::snprintf(line, sizeof line, "%s,Computer,Frag:%d", name.c_str(), p.Frags);
  } else if (g.IsClient && i == (g.LocalSlot & 0xff)) {
    std::snprintf(line, sizeof line, "%s,Server Player,Frag:%d", name.c_str(), p.Frags);
  } else if (i < g.MaxPlayers && g.AllowInternet) {
    return "Open For Connection";
  } else {
    return "Space Closed";
  }
  return line;
}

void RefreshPlayerList(GameState& g, ListBox& list) {
  // The selection is taken at every refresh, not only on the timer: a
  // button acts on the line selected now, and its refresh must not move the
  // selection back to where it was at the last tick.
  if (list.LineCount() > 0) g.ControlSelection = list.Selected();
  std::vector<std::string> lines;
  for (int i = 0; i < kSlotCount; ++i) lines.push_back(PlayerListLine(g, i));
  list.SetLines(lines);
  list.Select(g.ControlSelection);
}

void ServerControlKick(GameState& g, ListBox& list) {
  int i = 0;
  PlayerSlot* p = SelectedPlace(g, list, &i);
  if (!p) return;
  if (!p->Active) {
    Box(g, "Non existant players cannot be kicked", "Cannot Kick Player");
  } else if (p->Kind != KindInternet) {
    Box(g, "Computer and Server players cannot be kicked", "Cannot Kick Player");
  } else {
    const NetAddress asked = p->Address;
    const std::string name = NameOf(*p);
    if (AskSure(g, "Are you sure you want to kick [" + name + "] from the server?") &&
        SamePlayer(*p, asked)) {
      if (g.AllowInternet) {
        DatagramBuffer kick;
        BuildKick(kick);
        SendDatagram(g, p->Address, kick.data(), kick.size(), "Send error #66");
      }
      ++g.Counters.Kicks;
      g.StatusMessage = name + " Was Kicked";
      PostStatusMessage(g);
      // Named from the index, as after a time-out: place 0 becomes "Comp 0".
      MakeComputerSlot(g, i, i);
    }
  }
  RefreshPlayerList(g, list);
}

bool ServerControlBan(GameState& g, ListBox& list) {
  int i = 0;
  PlayerSlot* p = SelectedPlace(g, list, &i);
  if (!p) return false;
  if (!p->Active) {
    Box(g, "Non existant players cannot be banned", "Cannot Ban Player");
    return false;
  }
  if (p->Kind != KindInternet) {
    Box(g, "Computer and Server players cannot be banned", "Cannot Ban Player");
    return false;
  }
  // The address asked about is banned, whoever holds the place afterwards.
  const BanAddress address = p->Address.ip;
  if (!AskSure(g, "Are you sure you want to ban [" + NameOf(*p) + "]'s IP address from the server?"))
    return false;
  if (BanLookup(address) == 2) {
    Box(g, "Selected IP address is already on the ban list.\nUse Ban Control to unban.", "Banned");
    return true;
  }
  if (BanAdd(address)) {
    Box(g, "Selected IP address has been added to the ban list.\nUse Ban Control to unban.",
        "Banned");
    return true;
  }
  Box(g, "Unable to implement ban on selected IP address", "Error!");
  return false;
}

void ServerControlZeroPlayerFrags(GameState& g, ListBox& list) {
  int i = 0;
  PlayerSlot* p = SelectedPlace(g, list, &i);
  if (!p) return;
  if (p->Frags != 0 &&
      AskSure(g, "Are you sure you want to reset the " + std::to_string(p->Frags) + " frags for [" +
                     NameOf(*p) + "]?"))
    p->Frags = 0;
  RefreshPlayerList(g, list);
}

void ServerControlZeroAllFrags(GameState& g, ListBox& list) {
  // "palyer" is the question's own spelling.
  if (AskSure(g, "Are you sure you want to reset all the palyer frags?"))
    for (PlayerSlot& p : g.Players) p.Frags = 0;
  RefreshPlayerList(g, list);
}

std::string BanListLine(const BanAddress& a) {
  char line[24];
  std::snprintf(line, sizeof line, "[%d.%d.%d.%d]", a[0], a[1], a[2], a[3]);
  return line;
}

void FillBanList(GameState& g, ListBox& list) {
  std::vector<BanAddress> bans;
  std::vector<std::string> lines;
  if (BanReadList(&bans)) {
    for (const BanAddress& a : bans) lines.push_back(BanListLine(a));
  } else {
    Box(g, "Could not open Ban List file!", "Error!", MsgButtons::Ok, MsgIcon::None);
  }
  list.SetLines(lines);
}

void BanControlRemove(GameState& g, ListBox& list) {
  const int line = list.Selected();
  if (line == ListBox::kNone) {
    Box(g, "No address to unban has been selected!", "Ban Not Cleared");
    return;
  }
  const bool removed = BanRemoveAt(line) != 0;
  list.SetLines({});
  // A failed rewrite is said as such rather than reported as a removal.
  if (removed)
    Box(g, "Selected internet address has been removed from the ban list.", "Ban Cleared",
        MsgButtons::Ok, MsgIcon::Information);
  else
    Box(g, "Could not remove the selected address ban!", "Ban Not Cleared");
  FillBanList(g, list);
}

void BanControlClearAll(GameState& g, ListBox& list) {
  const bool cleared = BanClear() != 0;
  list.SetLines({});
  if (cleared)
    Box(g, "All previous bans have been lifted.", "Ban List Cleared", MsgButtons::Ok,
        MsgIcon::Information);
  else
    Box(g, "Could not clear the ban list!", "Ban List Not Cleared");
  FillBanList(g, list);
}
