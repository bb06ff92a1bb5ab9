#include "game/game_state.h"

#include <cstdio>
#include <cstring>

#include "game/spawn.h"

uint8_t TileAt(const GameState& g, int x, int y) {
  int c = x / kCellSize;  // truncating, as the rules define the cell tests
  int r = y / kCellSize;
  if (x < 0 || y < 0 || c >= kMapSide || r >= kMapSide) return 1;
  return g.Tiles[r * kMapSide + c];
}

void PlayEffect(GameState& g, const char* file) {
  g.LastEffect = file;
  if (g.SoundsOn && g.platform.audio) g.platform.audio->PlayEffect(file);
}

void SetPlayerName(PlayerSlot& p, const char* name, size_t maxLen) {
  if (maxLen > kNameBytes - 1) maxLen = kNameBytes - 1;
  std::memset(p.Name, 0, sizeof p.Name);
  size_t n = strnlen(name, maxLen);
  std::memcpy(p.Name, name, n);
}

void MakeComputerSlot(GameState& g, int index, int nameNumber) {
  PlayerSlot& p = g.Players[index];
  p.Active = g.ComputerFill;
  p.Number = static_cast<uint8_t>(index + 1);
  p.Kind = KindComputer;
  p.Frags = p.Shield = p.Energy = 0;
  char name[32];
  std::snprintf(name, sizeof name, "Comp %d", nameNumber);
  SetPlayerName(p, name);
  p.Life = Alive;
  FindSpawnPoint(g);
  p.X = g.SpawnX;
  p.Y = g.SpawnY;
  p.Silence = 0;
  p.Address = g.NullAddress;
  p.Dir = p.WantDir = DirStop;
}

void PlaceNewPlayer(GameState& g, int index, char kind) {
  PlayerSlot& p = g.Players[index];
  p.Active = 1;
  p.Number = static_cast<uint8_t>(index + 1);
  p.Life = Alive;
  p.Energy = p.Shield = p.Frags = 0;
  FindSpawnPoint(g);
  p.X = g.SpawnX;
  p.Y = g.SpawnY;
  p.Kind = kind;
  p.Dir = p.WantDir = DirStop;
}

void ScrollChatBoard(GameState& g) {
  for (int k = 1; k < kChatLines; ++k)
    std::memcpy(g.Board.Lines[k - 1], g.Board.Lines[k], kChatLineBytes);
}

void SendToInternetPlayers(GameState& g, const uint8_t* data, size_t len, const char* errorText) {
  for (int i = 0; i < g.MaxPlayers && i < kSlotCount; ++i) {
    const PlayerSlot& p = g.Players[i];
    if (p.Active && p.Kind == KindInternet) SendDatagram(g, p.Address, data, len, errorText);
  }
}

void EmptyChatInput(GameState& g) {
  std::memset(g.ChatInput, 0, sizeof g.ChatInput);
  g.ChatInputLength = 0;
}

void ReportFatalError(GameState& g, const char* message) {
  int err = g.Socket ? g.Socket->LastError() : 0;
  char text[200];
  std::snprintf(text, sizeof text, "%s\nInternal error #%d", message, err);
  if (g.platform.ui) {
    g.platform.ui->MessageBox(text, "Fatal Error!", MsgButtons::Ok, MsgIcon::Exclamation);
    g.platform.ui->PostQuit();
  }
}

bool SendDatagram(GameState& g, const NetAddress& to, const uint8_t* data, size_t len,
                  const char* errorText) {
  if (!g.Socket) {
    ReportFatalError(g, errorText);
    return false;
  }
  switch (g.Socket->SendTo(to, data, len)) {
    case SendResult::Sent:
      g.Counters.Sent(data, len);
      return true;
    case SendResult::Dropped:
      ++g.DroppedSends;
      return false;
    case SendResult::Failed:
      ReportFatalError(g, errorText);
      return false;
  }
  return false;
}
