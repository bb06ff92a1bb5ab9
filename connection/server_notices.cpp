#include "connection/server_notices.h"

#include <cstring>

#include "connection/end_game.h"
#include "connection/fetch_map.h"
#include "game/game_state.h"
#include "protocol/board_datagram.h"
#include "protocol/client_receive.h"
#include "protocol/datagrams.h"

namespace {

void Disconnected(GameState& g, const char* text) {
  // EndGame still sends the client's own leaving datagram to the server.
  EndGame(g);
  if (g.platform.ui) g.platform.ui->MessageBox(text, "Disconnected...", MsgButtons::Ok, MsgIcon::None);
}

void NewMapNotice(GameState& g) {
  // A whole map datagram is the server's map: it is taken as it is. Fetching
  // another for it would feed a loop: each fetch that meets an update first
  // asks again, and the answer is one more map datagram to fetch for, while
  // the updates wait behind them (after joining, a dozen queue up).
  TileMap tiles;
  if (ParseMap(g.LastServerMessage, g.LastServerMessageLength, &tiles)) {
    ApplyServerMap(g, tiles);
    return;
  }
  // The 3-byte notice: fetch the new map; a fetch that gives up keeps the
  // map there is, and the server sends its map again later.
  FetchMap(g);
}

}  // namespace

void HandleServerNotice(GameState& g) {
  switch (g.LastServerMessage[2]) {
    case 'f': NewMapNotice(g); break;
    case 'k': Disconnected(g, "You have been kicked from the server"); break;
    // The time-out notice ("PMst") is a server closing the connection too.
    case 's': Disconnected(g, "Remote server closed connection"); break;
    case 't': TakeChatBoard(g); break;
    default: break;
  }
}

bool HandleGameEndingNotice(GameState& g, const uint8_t* d, size_t len) {
  if (len < 3 || d[0] != 'P' || d[1] != 'M' || (d[2] != 'k' && d[2] != 's')) return false;
  KeepServerMessage(g, d, len);
  HandleServerNotice(g);
  return true;
}

void TakeChatBoard(GameState& g) {
  const ChatBoard received = ParseBoardDatagram(g.LastServerMessage, sizeof g.LastServerMessage);
  bool differs = false;
  for (int k = 0; k < kChatLines && !differs; ++k)
    differs = std::strncmp(received.Lines[k], g.Board.Lines[k], kChatLineBytes) != 0;
  if (!differs) return;
  PlayEffect(g, "ring.wav");
  g.Board = received;
}

void ClientGiveUpOnServer(GameState& g) {
  DatagramBuffer notice;
  BuildTimeoutNotice(notice);
  SendDatagram(g, g.ServerAddress, notice.data(), notice.size(), "Send error #30");
  EndGame(g);
  if (g.platform.ui)
    g.platform.ui->MessageBox(
        "The remote server has not sent any data for a long time.\n"
        "The server may be experiencing technical difficulties or your internet connection "
        "may be down.",
        "You Were Disconnected", MsgButtons::Ok, MsgIcon::Exclamation);
}
