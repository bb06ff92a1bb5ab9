// The server's receive loop and what it does with each datagram type.
#include "protocol/server_receive.h"

#include <cstdio>

#include "game/game_state.h"
#include "game/player_commands.h"
#include "protocol/chat_board.h"
#include "protocol/datagrams.h"
#include "protocol/server_info.h"
#include "protocol/server_join.h"
#include "protocol/server_net.h"

namespace {

// A flood must not keep the server inside one step for ever: after this
// many datagrams the rest wait for the next step. The socket's receive
// buffer holds fewer small datagrams than this, so in practice every step
// still drains it.
constexpr int kMaxDatagramsPerStep = 2048;

void HandleMapRequest(GameState& g, const NetAddress& from) {
  DatagramBuffer map;
  BuildMap(map, g.Tiles);
  SendDatagram(g, from, map.data(), map.size(), "Send error #6");
}

// Answers anyone who asks what game runs here; the answer is never longer
// than the request (see server_info.h), and a stranger's answer is paced.
void HandleInfoRequest(GameState& g, size_t len, const NetAddress& from) {
  DatagramBuffer answer;
  BuildInfoAnswer(answer, DescribeServer(g));
  if (answer.size() > len) return;
  SendDatagram(g, from, answer.data(), answer.size(), "Send error #70");
}

void HandleKey(GameState& g, int s, const uint8_t* d, size_t len) {
  uint8_t key;
  if (!ParseKey(d, len, &key)) return;  // no key byte: nothing to act on
  PlayerSlot& p = g.Players[s];
  p.Silence = 0;
  switch (key) {
    case 'p': RaiseShield(g, s); break;
    case 'a': LowerShield(g, s); break;
    case 'b':
      // Fire, or come back when dead; no sound on the server for a remote key.
      Reappear(g, s);
      if (p.Life == Alive && p.Active) LaunchFireball(g, s);
      break;
    // Any other byte becomes the wanted direction, the "t" sent after a
    // chat line included; the rules treat unknown codes as no direction.
    default: SetWantDir(g, s, key); break;
  }
}

void HandleName(GameState& g, int s, const uint8_t* d, size_t len) {
  PlayerSlot& p = g.Players[s];
  p.Silence = 0;
  char name[kNameBytes];
  // A name longer than the field holds is cut, never written past it.
  ParseTextField(d, len, name, kNameBytes - 1);
  SetPlayerName(p, name);
  BroadcastChatBoard(g);
}

void HandleLeaving(GameState& g, int s) {
  char text[64];
  std::snprintf(text, sizeof text, "%s Has Left :(", g.Players[s].Name);
  g.StatusMessage = text;
  PostStatusMessage(g);
  // A leaving player's replacement is named from the slot number.
  MakeComputerSlot(g, s, s + 1);
}

void HandleChat(GameState& g, int s, const uint8_t* d, size_t len) {
  g.Players[s].Silence = 0;
  char text[kChatTextMax + 1];
  ParseTextField(d, len, text, kChatTextMax);
  AppendChatLine(g, s, text);
  PlayEffect(g, "ring.wav");
}

}  // namespace

void HandleServerDatagram(GameState& g, const uint8_t* d, size_t len, const NetAddress& from) {
  if (len > kServerReceiveMax) len = kServerReceiveMax;
  g.Counters.Received(d, len);
  char type = DatagramType(d, len);
  if (type == 0) return;
  int s = FindSenderSlot(g, from);
  switch (type) {
    // Join and map requests are answered whoever sends them; for a sender
    // without a place the reply must first pass the limiter (see
    // StrangerLimiter for why). A refused request is dropped as if lost.
    case 'c': HandleJoinDatagram(g, d, len, from, s); break;
    // A server that requires tokens sends the map only to a place: a
    // client asks for it after its join was accepted.
    case 'f':
      if ((s >= 0 || !g.RequireToken) && MayAnswerStranger(g, s, from)) HandleMapRequest(g, from);
      break;
    case kInfoRequestType:
      // A request too short to be answered costs no limiter token.
      if (InfoRequestAnswerable(d, len) && MayAnswerStranger(g, s, from)) HandleInfoRequest(g, len, from);
      break;
    case 'g': if (s >= 0) HandleKey(g, s, d, len); break;
    case 'n': if (s >= 0) HandleName(g, s, d, len); break;
    case 's': if (s >= 0) HandleLeaving(g, s); break;
    case 't': if (s >= 0) HandleChat(g, s, d, len); break;
    default: break;
  }
}

void ServerReceive(GameState& g) {
  if (!g.Socket) return;
  uint8_t buf[kServerReceiveMax];
  for (int n = 0; n < kMaxDatagramsPerStep; ++n) {
    int waiting = g.Socket->Pending();
    if (waiting == 0) return;
    NetAddress from;
    int len = waiting < 0 ? -1 : g.Socket->ReceiveFrom(buf, sizeof buf, &from);
    if (len == UdpSocket::kNothingWaiting) continue;  // nothing after all
    if (len < 0) {
      ReportFatalError(g, "Receive error #1");
      return;
    }
    HandleServerDatagram(g, buf, static_cast<size_t>(len), from);
  }
}
