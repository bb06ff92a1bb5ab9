// A joined client's handling of what arrives at its socket: updates, the
// map, message boards, kicks and shutdowns, and anything else. An input is
// a sequence of datagrams, each as [control][length][length bytes] (a short
// last one takes what is left). The control byte picks:
//   bit 0     a game step after the datagram (the step reads the socket)
//   bit 1     the datagram comes from a stranger instead of the server
//   bit 2     the clock two seconds on first
//   bit 3     prediction off
//   bit 4     join again first when the game has ended (a kick, a shutdown)
//   bit 5     sounds on
//   bits 6-7  that many more datagrams queued behind it (copies), so the
//             client's skipping of queued updates is reached
// Each datagram sits in a buffer of exactly its length, so a read past it
// shows under AddressSanitizer.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

#include "connection/game_step.h"
#include "game/frame_transitions.h"
#include "game/game_state.h"
#include "platform/recording_platform.h"
#include "render/player_colours.h"
#include "tests/fuzz/fuzz_support.h"

namespace {

const NetAddress kServer = NetAddress::Of(127, 0, 0, 1, 2727);
const NetAddress kStranger = NetAddress::Of(127, 0, 0, 9, 2727);

struct ClientUnderFuzz {
  RecordingPlatform rec;
  GameState g;

  ClientUnderFuzz() {
    g.platform = rec.Get();
    g.Socket = rec.net.CreateSocket();
    g.Rng.Seed(11);
    SetPlayerColours(g);
    Join();
  }

  // The state FinishJoin leaves: a client of the server, no place known
  // until the first update names it.
  void Join() {
    g.IsClient = 1;
    g.IsServer = 0;
    g.AllowInternet = 1;
    g.Port = 2727;
    g.ServerAddress = kServer;
    g.Nickname = "Fuzz";
    g.ConnectionStatus = "Client Connected";
    if (!g.Socket) g.Socket = rec.net.CreateSocket();
  }

  RecordingSocket& Socket() { return *static_cast<RecordingSocket*>(g.Socket.get()); }

  void CheckInvariants() {
    FUZZ_CHECK(rec.ui.quits == 0);  // nothing from the network is fatal
    for (const auto& box : rec.ui.boxes)
      FUZZ_CHECK(box.title == "Disconnected..." || box.title == "You Were Disconnected" ||
                 box.title == "Connect");
    rec.ui.boxes.clear();
    // Life, direction and energy come as the server sends them (an odd
    // value is a state the rules treat as none of theirs); names must stay
    // terminated.
    for (const PlayerSlot& p : g.Players) FUZZ_CHECK(p.Name[kNameBytes - 1] == 0);
    FUZZ_CHECK(g.LocalSlot == kNoSlot || (g.LocalSlot >= 0 && g.LocalSlot < kSlotCount));
    for (const auto& line : g.Board.Lines) FUZZ_CHECK(memchr(line, 0, kChatLineBytes) != nullptr);
    for (uint8_t t : g.Tiles) FUZZ_CHECK(t <= 10);
    for (const auto& d : rec.net.sent) FUZZ_CHECK(d.addr == kServer && d.bytes.size() <= 255);
    rec.net.sent.clear();
  }
};

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  // EndGame reloads "pakmap.map" after a kick or a shutdown.
  EnterScratchDirectory("vrask_client_fuzz");
  std::string map;
  for (int r = 0; r < kMapSide; ++r) {
    for (int c = 0; c < kMapSide; ++c)
      map += (r == 0 || c == 0 || r == kMapSide - 1 || c == kMapSide - 1) ? '1' : '0';
    map += "\r\n";
  }
  map += "A walled square";
  WriteWholeFile("pakmap.map", reinterpret_cast<const uint8_t*>(map.data()), map.size());
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  ClientUnderFuzz c;
  size_t at = 0;
  while (at < size) {
    const uint8_t control = data[at++];
    size_t len = at < size ? data[at++] : 0;
    len = std::min(len, size - at);
    std::vector<uint8_t> datagram(data + at, data + at + len);
    at += len;

    if ((control & 16) && !c.g.IsClient) c.Join();
    if (control & 4) c.rec.clock.now += 2000;
    c.g.PredictionOn = (control & 8) ? 0 : 1;
    c.g.SoundsOn = (control & 32) ? 1 : 0;
    const NetAddress from = (control & 2) ? kStranger : kServer;
    if (c.g.Socket) {
      for (int copies = (control >> 6) & 3; copies >= 0; --copies)
        c.Socket().inbox.push_back({from, datagram});
    }
    if (control & 1) {
      GameStep(c.g);
      ApplyFrameTransitions(c.g);
    }
    c.CheckInvariants();
  }
  // The game goes on: a few more steps read whatever is still waiting.
  for (int n = 0; n < 4; ++n) GameStep(c.g);
  c.CheckInvariants();
  return 0;
}
