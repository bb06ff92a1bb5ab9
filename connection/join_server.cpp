#include "connection/join_server.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "connection/end_game.h"
#include "connection/fetch_map.h"
#include "connection/host_server.h"
#include "game/game_state.h"
#include "platform/menu_ids.h"
#include "protocol/client_receive.h"
#include "protocol/datagrams.h"
#include "protocol/join_token.h"
#include "protocol/receive_from_server.h"

namespace {

constexpr uint32_t kReplyPauseMs = 1000;

// The rest of a reply from its fifth byte, as far as it was received.
std::string TextFromFifthByte(const uint8_t* d, size_t len) {
  std::string text;
  for (size_t i = 4; i < len && d[i] != 0; ++i) text.push_back(static_cast<char>(d[i]));
  return text;
}

// The next datagram from the server into ConnectReply (zero-filled past
// what arrived), *len bytes of it.
ServerReceive NextReply(GameState& g, size_t* len) {
  uint8_t buf[kClientReceiveMax];
  static_assert(sizeof buf == sizeof g.ConnectReply);
  const ServerReceive got = ReceiveFromServer(g.Socket.get(), g.ServerAddress, buf, sizeof buf, len);
  if (got == ServerReceive::Got) std::memcpy(g.ConnectReply, buf, sizeof buf);
  return got;
}

// False when giveUp ended the hold first.
bool HoldUntil(GameState& g, uint32_t start, uint32_t ms, const JoinGiveUp& giveUp) {
  // No window message, timer or game step runs meanwhile, as intended: the
  // game holds while the server gets a second to answer.
  // The socket is asked whether anything waits (nothing is read) at every
  // poll: a simulated bad link lets its delayed datagrams out only when its
  // socket is used, and the handshake's second join must reach the server
  // within this hold, as a real network's would.
  Clock* clock = g.platform.clock;
  for (uint32_t passed; (passed = clock->TickCount() - start) < ms;) {
    if (giveUp && giveUp()) return false;
    if (g.Socket) g.Socket->Pending();
    clock->Sleep(std::min(ms - passed, kGiveUpPollMs));
  }
  return true;
}

// The marked join request with the cookie held (none: zeros). False when
// the socket itself failed (the flags are then cleared); a send the path
// refused counts as lost, and the attempt's second passes with no reply.
bool SendJoin(GameState& g) {
  DatagramBuffer request;
  BuildMarkedJoin(request, g.TokenCookie);
  const uint64_t droppedBefore = g.DroppedSends;
  if (!SendDatagram(g, g.ServerAddress, request.data(), request.size(), "Send error #15") &&
      g.DroppedSends == droppedBefore) {
    g.IsServer = 0;
    g.IsClient = 0;
    return false;
  }
  return true;
}

void EnterClientMenu(GameState& g) {
  Ui* ui = g.platform.ui;
  if (!ui) return;
  for (int id : {CmdServerOptions, CmdLoadMap, CmdGenerateMap, CmdNickname}) ui->EnableMenuItem(id, false);
  for (int id : {CmdDisconnect, CmdSaveMap, CmdPrediction}) ui->EnableMenuItem(id, true);
}

}  // namespace

const char* DenialLine(uint8_t reason) {
  switch (reason) {
    case 'a': return "There is already a connection from your address to the server.";
    case 'b': return "Your computer address has been banned from the server.";
    case 'f': return "The server is full, try again later.";
    case 'v': return "The server is different version than client.";
    default: return nullptr;
  }
}

bool JoinDialogGo(GameState& g, const JoinForm& form, std::string* serverName) {
  Ui* ui = g.platform.ui;
  size_t digits = form.port.find_first_not_of(' ');
  long port = digits == std::string::npos ? 0 : LeadingNumber(form.port.substr(digits));
  if (port < 1 || port > 65000) {
    // The text says 0 but a port of 0 is refused with it too.
    ui->MessageBox("Please enter a value between 0-65000 for the ip port", "Oops..", MsgButtons::Ok,
                   MsgIcon::None, false);
    return false;
  }
  *serverName = form.address.substr(0, kServerNameMax);
  if ((g.IsServer || g.IsClient) &&
      ui->MessageBox("Are you sure you want to end this game and attempt a new connection?",
                     "Connect", MsgButtons::YesNo, MsgIcon::Question, false) != MsgAnswer::Yes)
    return false;
  EndGame(g);
  g.AllowInternet = 1;
  g.Port = static_cast<int>(port);
  return true;
}

bool ParseDottedAddress(const std::string& text, NetAddress* out) {
  NetAddress a;
  size_t at = 0;
  for (int part = 0; part < 4; ++part) {
    if (part > 0 && (at >= text.size() || text[at++] != '.')) return false;
    int value = 0, digits = 0;
    while (at < text.size() && text[at] >= '0' && text[at] <= '9' && digits < 4) {
      value = value * 10 + (text[at++] - '0');
      ++digits;
    }
    if (digits == 0 || digits > 3 || value > 255) return false;
    a.ip[part] = static_cast<uint8_t>(value);
  }
  if (at != text.size()) return false;
  *out = a;
  return true;
}

int ResolveServer(GameState& g, const std::string& serverName) {
  NetAddress a;
  // A dotted address is used as it is. Looking it up in reverse first
  // would refuse every address without a name, which on a home network is
  // most of them, the one the host's status bar shows included.
  if (!ParseDottedAddress(serverName, &a) &&
      !(g.platform.net && g.platform.net->Resolve(serverName, &a))) {
    if (g.platform.ui)
      g.platform.ui->MessageBox("Could not resolve internet address (#13)", serverName,
                                MsgButtons::Ok, MsgIcon::None);
    g.IsServer = 0;
    g.IsClient = 0;
    return 0;
  }
  a.port = static_cast<uint16_t>(g.Port);
  g.ServerAddress = a;
  return 1;
}

std::string FirstLogLine(const GameState& g) {
  const NetAddress& a = g.ServerAddress;
  char line[64];
  std::snprintf(line, sizeof line, "Connecting to server %d.%d.%d.%d:%d...", a.ip[0], a.ip[1],
                a.ip[2], a.ip[3], g.Port);
  return line;
}

AttemptResult ConnectionAttempt(GameState& g, int attempt, const ConnectLog& log,
                                const JoinGiveUp& giveUp) {
  log("==================================");
  log("Connection attempt " + std::to_string(attempt) + "...");
  const uint32_t start = g.platform.clock->TickCount();
  log("Sending connect request...");
  // A new connection starts without a cookie; later attempts send the one
  // the server handed out (valid 10 to 20 s), so that a lost challenge or a
  // lost accept costs one attempt.
  if (attempt == 1) g.TokenCookie = {};
  if (!SendJoin(g)) return AttemptResult::Failed;
  if (!HoldUntil(g, start, kReplyPauseMs, giveUp)) return AttemptResult::Stopped;

  bool invalid = false;
  bool answeredChallenge = false;
  for (;;) {
    size_t len = 0;
    const ServerReceive got = NextReply(g, &len);
    if (got == ServerReceive::Failed) {
      ReportFatalError(g, "Receive error #16");
      return AttemptResult::Failed;
    }
    if (got == ServerReceive::Nothing) {
      log("No replies received, please try again.");
      return invalid ? AttemptResult::Invalid : AttemptResult::NoReply;
    }
    const uint8_t* r = g.ConnectReply;
    // A server that knows tokens answers with a challenge first: join
    // again with its cookie and give the server another second. This is
    // not shown in the log, which reads as with any other server. One
    // challenge per attempt is answered, so a server that only ever
    // challenges cannot hold the client here.
    if (ParseChallenge(r, len, &g.TokenCookie)) {
      if (answeredChallenge) continue;
      answeredChallenge = true;
      if (!SendJoin(g)) return AttemptResult::Failed;
      if (!HoldUntil(g, g.platform.clock->TickCount(), kReplyPauseMs, giveUp))
        return AttemptResult::Stopped;
      continue;
    }
    log("Remote Packet received...");
    int tick = 0;
    if (ParseAccept(r, len, &tick)) {
      log("Remote Packet is verified.");
      return AttemptResult::Accepted;
    }
    if (len < 2 || r[0] != 'P' || r[1] != 'M') return AttemptResult::NotPm;
    g.IsServer = 0;
    g.IsClient = 0;
    if (r[2] == 'd') {
      log("The server has denied access.");
      const char* line = DenialLine(r[3]);
      log(line ? line : TextFromFifthByte(r, len));
      return AttemptResult::Denied;
    }
    log("Received Packet is invalid.");
    log(TextFromFifthByte(r, len));
    invalid = true;
    // The next waiting datagram, if any, is read as the reply instead.
  }
}

int ConnectToServer(GameState& g, const std::string& serverName,
                    const ConnectionDialogRunner& runConnectionDialog) {
  if (!ResolveServer(g, serverName)) return 0;
  if (!runConnectionDialog()) return 0;
  return FinishJoin(g);
}

namespace {

// FinishJoin, with FetchMap's result: kMapTaken when the program is a client.
int TakeMapAndBecomeClient(GameState& g, const JoinGiveUp& giveUp) {
  g.LocalSlot = kNoSlot;  // the first update names the client's own place
  // A server sends 40 or 60. A smaller byte, which only a broken or hostile
  // server sends, would make this client step, and send, every millisecond:
  // it counts as the fast speed.
  g.TickInterval = (g.TickInterval & ~0xFF) | std::max<int>(g.ConnectReply[4], kFastTickInterval);
  const int map = FetchMap(g, giveUp);
  if (map != kMapTaken) {
    // The server has already given this client a place: end the game as a
    // client's, so that EndGame tells the server it is leaving (it would not
    // while IsClient is clear) and renews the socket with the server's
    // datagrams queued on it.
    g.IsClient = 1;
    g.IsServer = 0;
    EndGame(g);
    if (map == kMapGaveUp && g.platform.ui)
      g.platform.ui->MessageBox("The server did not send the map.", "Connect", MsgButtons::Ok,
                                MsgIcon::Exclamation);
    return map;
  }
  ClientReceive(g);  // not yet a client: this sends the name
  g.ConnectionStatus = "Client Connected";
  g.ClientQuiet = 0;
  g.IsServer = 0;
  g.IsClient = 1;
  EnterClientMenu(g);
  return kMapTaken;
}

}  // namespace

int FinishJoin(GameState& g, const JoinGiveUp& giveUp) {
  return TakeMapAndBecomeClient(g, giveUp) == kMapTaken ? 1 : 0;
}

JoinResult JoinServer(GameState& g, const std::string& serverName, int port, int maxAttempts,
                      const ConnectLog& log, const JoinGiveUp& giveUp) {
  if (g.IsServer || g.IsClient) EndGame(g);
  g.AllowInternet = 1;
  g.Port = port;
  const ConnectLog write = log ? log : [](const std::string&) {};
  JoinResult result;
  auto ended = [&](JoinOutcome outcome) {
    result.Outcome = outcome;
    return result;
  };
  if (!ResolveServer(g, serverName)) return ended(JoinOutcome::Unresolved);
  write(FirstLogLine(g));
  for (int attempt = 1; attempt <= maxAttempts; ++attempt) {
    if (giveUp && giveUp()) return ended(JoinOutcome::Stopped);
    switch (ConnectionAttempt(g, attempt, write, giveUp)) {
      case AttemptResult::Accepted:
        switch (TakeMapAndBecomeClient(g, giveUp)) {
          case kMapTaken: return ended(JoinOutcome::Joined);
          case kMapStopped: return ended(JoinOutcome::Stopped);
          case kMapReceiveFailed: return ended(JoinOutcome::Failed);
          default: return ended(JoinOutcome::NoMap);
        }
      case AttemptResult::Failed: return ended(JoinOutcome::Failed);
      case AttemptResult::Stopped: return ended(JoinOutcome::Stopped);
      case AttemptResult::Denied: result.Denials.push_back(static_cast<char>(g.ConnectReply[3])); break;
      default: break;
    }
  }
  return ended(result.Denials.empty() ? JoinOutcome::NoAnswer : JoinOutcome::Denied);
}
