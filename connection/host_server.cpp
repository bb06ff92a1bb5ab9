#include "connection/host_server.h"

#include <cstdio>

#include "connection/end_game.h"
#include "game/frame_transitions.h"
#include "game/game_state.h"
#include "platform/menu_ids.h"
#include "protocol/chat_board.h"
#include "protocol/join_token.h"

namespace {

void Oops(GameState& g, const char* text) {
  g.platform.ui->MessageBox(text, "Oops..", MsgButtons::Ok, MsgIcon::None);
}

struct PendingSettings {
  int allowInternet, computerFill, participates, tickInterval, port;
  uint8_t maxPlayers;
};

void ResetPlace(GameState& g, int i, char kind, const char* name) {
  PlaceNewPlayer(g, i, kind);
  SetPlayerName(g.Players[i], name);
}

}  // namespace

long LeadingNumber(const std::string& text) {
  long n = 0;
  for (char c : text) {
    if (c < '0' || c > '9') break;
    n = n * 10 + (c - '0');
    if (n > 1000000) return 1000000;  // far beyond any valid value
  }
  return n;
}

bool ServerSettingsGo(GameState& g, const ServerSettingsForm& form) {
  PendingSettings p{};
  p.allowInternet = form.internet;
  p.computerFill = form.computer;
  p.participates = form.participates;
  p.tickInterval = form.fast ? kFastTickInterval : kSlowTickInterval;

  long players = LeadingNumber(form.players.substr(0, 1));
  if (players < 1 || players > 8) {
    Oops(g, "Please enter a value between 1-8 for the maximum number of players");
    return false;
  }
  p.maxPlayers = static_cast<uint8_t>(players);

  long port = LeadingNumber(form.port);
  if (form.internet && (port < 1 || port > 65000)) {
    // The text says 0 but a port of 0 is refused with it too.
    Oops(g, "Please enter a value between 0-65000 for the ip port");
    return false;
  }
  p.port = static_cast<int>(port);

  if (!form.fast && !form.slow) {
    Oops(g, "Please choose 'Fast' or 'Slow' for the server speed");
    return false;
  }

  if ((g.IsServer || g.IsClient) &&
      g.platform.ui->MessageBox("Are you sure you want to disconnect and launch a new server?",
                                "Start New Server", MsgButtons::YesNo,
                                MsgIcon::Question) != MsgAnswer::Yes)
    return false;

  EndGame(g);

  g.MaxPlayers = p.maxPlayers;
  g.ServerParticipates = p.participates;
  g.TickInterval = p.tickInterval;
  g.AllowInternet = p.allowInternet;
  g.ComputerFill = p.computerFill;
  g.Port = p.port;
  return true;
}

void SetUpServerPlaces(GameState& g) {
  for (int i = 0; i < g.MaxPlayers && i < kSlotCount; ++i) {
    if (g.ComputerFill) {
      char name[16];
      std::snprintf(name, sizeof name, "Comp %d", i + 1);  // numbered from 1
      ResetPlace(g, i, KindComputer, name);
    } else {
      g.Players[i].Active = 0;
    }
    ParkFireball(g.Fireballs[i]);
  }
  g.IsClient = 0;
  if (g.ServerParticipates) {
    ResetPlace(g, 0, KindLocal, g.Nickname.c_str());
    g.Players[0].Silence = 0;
    g.ClientQuiet = 0;
    g.IsClient = 1;
    g.LocalSlot = 0;
  }
}

bool OpenServerPort(GameState& g) {
  // A new key with every start: cookies of an earlier server are refused.
  g.TokenKey = NewJoinTokenKey();
  g.ServerAddress = NetAddress{};
  g.ServerAddress.port = static_cast<uint16_t>(g.Port);
  bool bound = g.Socket && g.Socket->Bind(static_cast<uint16_t>(g.Port));

  char text[160];
  std::snprintf(text, sizeof text, "Server, port %d", g.Port);
  g.ConnectionStatus = text;
  // Show the addresses other machines can reach this host by, not the
  // loopback address its own name usually resolves to.
  std::vector<NetAddress> addresses;
  if (g.platform.net) addresses = g.platform.net->LocalAddresses();
  for (int k = 0; k < 3; ++k)
    g.ServerAddressText[k] = k < static_cast<int>(addresses.size())
                                 ? "IP " + addresses[k].DottedIp()
                                 : std::string();
  if (addresses.empty()) g.ServerAddressText[0] = "IP unknown";
  return bound;
}

int StartServer(GameState& g, const std::function<int()>& chooseMap) {
  for (int i = 1; i < kSlotCount; ++i) g.Players[i].Active = 0;
  if (!chooseMap()) {
    EndGame(g);
    return 0;
  }
  SetUpServerPlaces(g);

  if (g.AllowInternet) {
    if (!OpenServerPort(g)) {
      // A server that cannot receive would wait for players who can never
      // join: say so, and let the host play on without them.
      char text[200];
      std::snprintf(text, sizeof text,
                    "Could not open port %d, it may be in use by another program.\n"
                    "Nobody will be able to join this game.",
                    g.Port);
      g.platform.ui->MessageBox(text, "Server Warning", MsgButtons::Ok, MsgIcon::Exclamation);
    }
  } else {
    g.ConnectionStatus = "Server";
    g.ServerAddressText[0] = "No Internet Players";
    g.ServerAddressText[1].clear();
    g.ServerAddressText[2].clear();
  }

  g.IsServer = 1;
  Ui* ui = g.platform.ui;
  for (int id : {CmdServerOptions, CmdDisconnect, CmdLoadMap, CmdSaveMap, CmdGenerateMap})
    ui->EnableMenuItem(id, true);
  ui->EnableMenuItem(CmdNickname, false);

  g.StatusMessage = "=Server Started=";
  PostStatusMessage(g);
  return 1;
}
