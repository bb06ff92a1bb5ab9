// The server's datagram handling on a running game. An input is a sequence
// of datagrams, each as [control][length][length bytes] (a short last one
// takes what is left). The control byte picks:
//   bits 0-2  the sender, 10.0.0.1 to 10.0.0.8; 1 and 2 hold places from the
//             start, the others are strangers until they join
//   bit 3     another port of that host
//   bit 4     a game step before the datagram
//   bit 5     the clock a second on (strangers' replies are paced by it)
//   bit 6     the socket drops the replies (a forged, unreachable sender)
//   bit 7     through the receive loop (at most 255 bytes read) instead of
//             straight to the handler
// Each datagram sits in a buffer of exactly its length, so a read past it
// shows under AddressSanitizer.
// Join tokens: an input whose first byte is 0xFF runs a server that
// requires them (the byte is then skipped). A marked join whose cookie
// field is eight 0xFF bytes gets the sender's valid cookie in their place,
// so the fuzzer reaches the proven paths it could never guess a hash for.
// With tokens required, an address without a place is sent nothing but
// the challenge, denials and the answer to a game search (which is never
// larger than its request).
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

#include "connection/game_step.h"
#include "game/game_state.h"
#include "platform/recording_platform.h"
#include "protocol/join_token.h"
#include "protocol/server_net.h"
#include "protocol/server_info.h"
#include "protocol/server_receive.h"
#include "render/player_colours.h"
#include "tests/fuzz/fuzz_support.h"

namespace {

const uint8_t kJoin[] = "PMc10 - I wanna play!\r\n";

struct ServerUnderFuzz {
  RecordingPlatform rec;
  GameState g;
  RecordingSocket* socket;

  ServerUnderFuzz() {
    g.platform = rec.Get();
    g.Socket = rec.net.CreateSocket();
    socket = rec.net.lastSocket;
    g.Rng.Seed(7);
    for (int r = 0; r < kMapSide; ++r)
      for (int c = 0; c < kMapSide; ++c)
        g.Tiles[r * kMapSide + c] = (r == 0 || c == 0 || r == 13 || c == 13 || (r == 7 && c % 3 == 0)) ? 1 : 0;
    SetPlayerColours(g);
    g.MaxPlayers = 8;
    g.ComputerFill = 1;
    g.AllowInternet = 1;
    g.IsServer = 1;
    for (int i = 0; i < kSlotCount; ++i) MakeComputerSlot(g, i, i + 1);
    for (uint8_t host : {1, 2}) HandleServerDatagram(g, kJoin, sizeof kJoin - 1, Sender(host - 1, false));
  }

  static NetAddress Sender(int host, bool otherPort) {
    return NetAddress::Of(10, 0, 0, static_cast<uint8_t>(host + 1), otherPort ? 6000 : 5000);
  }

  // The placeholder cookie replaced by the sender's valid one.
  void FillCookie(std::vector<uint8_t>& d, const NetAddress& from) {
    JoinCookie cookie;
    if (!ParseMarkedJoin(d.data(), d.size(), &cookie)) return;
    if (cookie != JoinCookie{0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}) return;
    cookie = MakeJoinCookie(g.TokenKey, from, CookieWindow(rec.clock.now));
    std::memcpy(d.data() + kJoinCookieAt, cookie.data(), cookie.size());
  }

  // Whether the host of `a` held a place before this datagram or holds one
  // now (a player who leaves was sent the game until then).
  bool HadPlace(const NetAddress& a) const {
    if (FindSenderSlot(g, a) >= 0) return true;
    for (const NetAddress& p : placedBefore)
      if (p.SameHost(a)) return true;
    return false;
  }
  void NotePlaces() {
    placedBefore.clear();
    for (const PlayerSlot& p : g.Players)
      if (p.Active && p.Kind == KindInternet) placedBefore.push_back(p.Address);
  }
  std::vector<NetAddress> placedBefore;

  void CheckInvariants() {
    FUZZ_CHECK(rec.ui.boxes.empty());  // nothing a datagram sends is fatal
    if (g.RequireToken)
      for (const auto& d : socket->sent)
        if (!HadPlace(d.addr))
          FUZZ_CHECK(d.bytes.size() >= 3 && (d.bytes[2] == kChallengeType || d.bytes[2] == 'd' ||
                                             d.bytes[2] == kInfoAnswerType));
    for (const PlayerSlot& p : g.Players) {
      FUZZ_CHECK(p.Name[kNameBytes - 1] == 0);
      FUZZ_CHECK(p.Energy <= kFullEnergy);
      FUZZ_CHECK(p.Life == Alive || p.Life == Dead || p.Life == Exploding);
    }
    for (const auto& line : g.Board.Lines) FUZZ_CHECK(memchr(line, 0, kChatLineBytes) != nullptr);
    for (const auto& d : socket->sent) FUZZ_CHECK(d.bytes.size() <= 255);
    socket->sent.clear();
  }
};

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  EnterScratchDirectory("vrask_server_fuzz");  // no "banlist.dat" here
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  ServerUnderFuzz s;
  size_t at = 0;
  if (size > 0 && data[0] == 0xFF) {
    s.g.RequireToken = true;
    at = 1;
  }
  while (at < size) {
    uint8_t control = data[at++];
    size_t len = at < size ? data[at++] : 0;
    len = std::min(len, size - at);
    std::vector<uint8_t> datagram(data + at, data + at + len);
    at += len;

    NetAddress from = ServerUnderFuzz::Sender(control & 7, control & 8);
    s.FillCookie(datagram, from);
    s.NotePlaces();
    if (control & 16) GameStep(s.g);
    if (control & 32) s.rec.clock.now += 1000;
    s.socket->sendResult = (control & 64) ? SendResult::Dropped : SendResult::Sent;
    if (control & 128) {
      s.socket->inbox.push_back({from, std::move(datagram)});
      ServerReceive(s.g);
    } else {
      HandleServerDatagram(s.g, datagram.data(), datagram.size(), from);
    }
    s.CheckInvariants();
  }
  // The game goes on: a few more steps with whatever the datagrams left.
  s.NotePlaces();
  for (int n = 0; n < 4; ++n) GameStep(s.g);
  s.CheckInvariants();
  return 0;
}
