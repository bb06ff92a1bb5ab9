// Writing the message board's newest line and sending the board to the
// remote players.
#include "protocol/chat_board.h"

#include <cstring>

#include "game/game_state.h"
#include "protocol/board_datagram.h"

namespace {

void WriteNewestLine(GameState& g, uint8_t r, uint8_t gr, uint8_t b, const char* text) {
  char* line = g.Board.Lines[kChatLines - 1];
  std::memset(line, 0, kChatLineBytes);
  line[0] = static_cast<char>(r);
  line[1] = static_cast<char>(gr);
  line[2] = static_cast<char>(b);
  std::memcpy(line + 3, text, strnlen(text, kChatTextMax));
  if (g.OnBoardLine) g.OnBoardLine(line + 3);
}

}  // namespace

void PostStatusMessage(GameState& g) {
  ScrollChatBoard(g);
  WriteNewestLine(g, 128, 100, 100, g.StatusMessage.c_str());
  BroadcastChatBoard(g);
}

void AppendChatLine(GameState& g, int slot, const char* text) {
  ScrollChatBoard(g);
  const uint8_t* c = g.PlayerColours[slot];
  WriteNewestLine(g, c[0], c[1], c[2], text);
  BroadcastChatBoard(g);
}

void BroadcastChatBoard(GameState& g) {
  if (!g.IsServer || !g.AllowInternet) return;
  auto d = BuildBoardDatagram(g.Board);
  SendToInternetPlayers(g, d.data(), d.size(), "Send error #26");
}
