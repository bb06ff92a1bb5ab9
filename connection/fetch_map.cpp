// FetchMap: the wait for the server's map, when joining and after the
// server announced a new one.
#include <cstring>

#include "connection/join_server.h"
#include "connection/server_notices.h"
#include "game/game_state.h"
#include "protocol/datagrams.h"

namespace {

// How long the wait sleeps between two looks at the socket.
constexpr uint32_t kPollMs = 2;

void RequestMap(GameState& g) {
  DatagramBuffer request;
  BuildMapRequest(request);
  SendDatagram(g, g.ServerAddress, request.data(), request.size(), "Send error #19");
}

}  // namespace

void ApplyServerMap(GameState& g, const TileMap& tiles) {
  // The same map again is not copied and forces no redraw of the background.
  if (tiles == g.Tiles) return;
  g.Tiles = tiles;
  g.MapDirty = 1;
  if (g.platform.ui) g.platform.ui->InvalidateWindow();
}

int FetchMap(GameState& g, const JoinGiveUp& giveUp) {
  // UDP loses datagrams, and a server can fall silent right after it
  // accepted: so the wait asks again every half second and gives up after
  // five, rather than hang the program. The thread is held meanwhile (no
  // window message or game step runs), as it is meant to be.
  Clock* clock = g.platform.clock;
  const uint32_t start = clock->TickCount();
  uint32_t lastRequest = start;
  bool asked = false;
  auto ask = [&] {
    RequestMap(g);
    lastRequest = clock->TickCount();
    asked = true;
  };
  if (!g.IsClient) ask();  // joining: the server is waiting to be asked
  uint8_t buf[kClientReceiveMax];
  for (;;) {
    const uint32_t now = clock->TickCount();
    if (now - start >= kMapWaitMs) return kMapGaveUp;
    if (giveUp && giveUp()) return kMapStopped;
    if (now - lastRequest >= kMapRequestRepeatMs) ask();
    const int waiting = g.Socket ? g.Socket->Pending() : 0;
    if (waiting == 0) {
      clock->Sleep(kPollMs);
      continue;
    }
    std::memset(buf, 0, sizeof buf);
    NetAddress from;
    const int len = waiting < 0 ? -1 : g.Socket->ReceiveFrom(buf, sizeof buf, &from);
    if (len == UdpSocket::kNothingWaiting) continue;  // a refused earlier send: like loss
    if (len < 0) {
      ReportFatalError(g, "Receive error #20");
      return kMapReceiveFailed;
    }
    // Only the server's datagrams count: anyone else could swap the map.
    if (!(from == g.ServerAddress)) continue;
    TileMap tiles;
    if (ParseMap(buf, static_cast<size_t>(len), &tiles)) {
      ApplyServerMap(g, tiles);
      return kMapTaken;
    }
    // A game ended meanwhile: the kick or the close is shown now, not
    // missed, with the client left to time out.
    if (g.IsClient && HandleGameEndingNotice(g, buf, static_cast<size_t>(len))) return kMapGameEnded;
    // Any other datagram from the server asks for the map, but not faster
    // than a server answers (within a step): the updates queued behind the
    // request would otherwise each draw one more map datagram.
    if (!asked || clock->TickCount() - lastRequest >= kMapRequestGapMs) ask();
  }
}
