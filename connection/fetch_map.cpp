// FetchMap: the wait for the server's map, when joining and after the
// server announced a new one.
#include <cstring>

#include "connection/fetch_map.h"
#include "connection/server_notices.h"
#include "game/game_state.h"
#include "protocol/datagrams.h"
#include "protocol/receive_from_server.h"

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
    // One datagram per look, so that the time is checked between any two.
    int budget = 1;
    size_t len = 0;
    const ServerReceive got =
        ReceiveFromServer(g.Socket.get(), g.ServerAddress, buf, sizeof buf, &len, &budget);
    if (got == ServerReceive::Failed) {
      ReportFatalError(g, "Receive error #20");
      return kMapReceiveFailed;
    }
    if (got == ServerReceive::Nothing) {
      // A stranger's datagram or a refused earlier send used the look: the
      // next one comes at once. Only an empty socket is waited on.
      if (budget > 0) clock->Sleep(kPollMs);
      continue;
    }
    TileMap tiles;
    if (ParseMap(buf, len, &tiles)) {
      ApplyServerMap(g, tiles);
      return kMapTaken;
    }
    // A game ended meanwhile: the kick or the close is shown now, not
    // missed, with the client left to time out.
    if (g.IsClient && HandleGameEndingNotice(g, buf, len)) return kMapGameEnded;
    // Any other datagram from the server asks for the map, but not faster
    // than a server answers (within a step): the updates queued behind the
    // request would otherwise each draw one more map datagram.
    if (!asked || clock->TickCount() - lastRequest >= kMapRequestGapMs) ask();
  }
}
