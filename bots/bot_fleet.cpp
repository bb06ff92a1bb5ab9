#include "bots/bot_fleet.h"

#include <algorithm>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "bots/bot_player.h"
#include "connection/end_game.h"
#include "connection/join_server.h"
#include "game/frame_transitions.h"
#include "game/game_state.h"
#include "platform/faulty_socket.h"
#include "platform/posix_network.h"
#include "protocol/datagrams.h"
#include "shell/game_tick.h"

namespace {

constexpr int kJoinAttempts = 5;  // each holds the thread for a second
// How long a bot keeps asking while the server has no answer or still
// holds a place for its address: longer than the server takes to time a
// silent player out.
constexpr uint32_t kJoinPatienceMs = 40000;

struct Counters {
  std::atomic<uint64_t> sent{0}, received{0};
};

// Counts the datagrams that really cross the machine's network.
class CountingSocket : public UdpSocket {
 public:
  CountingSocket(std::unique_ptr<UdpSocket> inner, Counters& c) : inner_(std::move(inner)), c_(c) {}
  bool Bind(uint16_t port) override { return inner_->Bind(port); }
  SendResult SendTo(const NetAddress& to, const uint8_t* data, size_t len) override {
    const SendResult r = inner_->SendTo(to, data, len);
    if (r == SendResult::Sent) ++c_.sent;
    return r;
  }
  int Pending() override { return inner_->Pending(); }
  int ReceiveFrom(uint8_t* buf, size_t cap, NetAddress* from) override {
    const int n = inner_->ReceiveFrom(buf, cap, from);
    if (n >= 0) ++c_.received;
    return n;
  }
  int LastError() override { return inner_->LastError(); }

 private:
  std::unique_ptr<UdpSocket> inner_;
  Counters& c_;
};

class CountingNetwork : public Network {
 public:
  CountingNetwork(Network& inner, Counters& c) : inner_(inner), c_(c) {}
  std::unique_ptr<UdpSocket> CreateSocket() override {
    auto s = inner_.CreateSocket();
    return s ? std::make_unique<CountingSocket>(std::move(s), c_) : nullptr;
  }
  bool Resolve(const std::string& name, NetAddress* out) override { return inner_.Resolve(name, out); }
  std::vector<NetAddress> LocalAddresses() override { return inner_.LocalAddresses(); }

 private:
  Network& inner_;
  Counters& c_;
};

// A bot has nobody to show a box to: the boxes that end its game become
// event lines, the others (a missing map file after leaving) are dropped.
class BotUi : public Ui {
 public:
  BotUi(const BotSay& say, const std::string& name) : say_(say), name_(name) {}
  MsgAnswer MessageBox(const std::string& text, const std::string& title, MsgButtons buttons,
                       MsgIcon, bool) override {
    if (title == "Disconnected...") {
      say_(name_ + (text.find("kicked") != std::string::npos ? ": kicked"
                                                              : ": the server shut down"));
    } else if (title == "You Were Disconnected") {
      say_(name_ + ": gave the server up (nothing heard from it for a long time)");
    } else if (title != "File Error") {
      std::string line = name_ + ": " + title + ": " + text;
      std::replace(line.begin(), line.end(), '\n', ' ');
      say_(line);
    }
    return buttons == MsgButtons::Ok ? MsgAnswer::Ok : MsgAnswer::No;
  }
  void EnableMenuItem(int, bool) override {}
  void CheckMenuItem(int, bool) override {}
  void SetWindowTitle(const std::string&) override {}
  void InvalidateWindow() override {}
  void PostQuit() override {}

 private:
  const BotSay& say_;
  std::string name_;
};

// Why a bot did not join, for its event line.
std::string NotJoinedLine(const JoinResult& join) {
  if (join.Denials.empty()) return ": could not join (no answer from the server)";
  const uint8_t reason = static_cast<uint8_t>(join.Denials[0]);
  const char* line = DenialLine(reason);
  return line ? ": denied: " + std::string(line)
              : ": denied (reason byte " + std::to_string(reason) + ")";
}

struct BotResult {
  bool joined = false;
  bool playing = false;
  uint64_t updates = 0;
};

void RunBot(const BotOptions& o, int number, bool loopback, uint32_t seed,
            const std::atomic<bool>& stop, const BotSay& say, Counters& counters,
            BotResult* result) {
  const std::string name = "Bot " + std::to_string(number);
  SteadyClock clock;
  BotUi ui(say, name);
  std::unique_ptr<PosixNetwork> posix =
      loopback ? std::make_unique<PosixNetwork>(
                     NetAddress{{127, 0, 0, static_cast<uint8_t>(1 + number)}, 0})
               : std::make_unique<PosixNetwork>();
  CountingNetwork counting(*posix, counters);
  LinkFaults faults = o.Faults;
  faults.Seed = uint64_t{seed} * 1000 + static_cast<uint64_t>(number);
  FaultyNetwork faulty(counting, faults, clock);
  Network& net = faults.Perfect() ? static_cast<Network&>(counting) : faulty;

  GameState g;
  g.platform = Platform{&ui, &clock, nullptr, &net};
  g.Socket = net.CreateSocket();
  g.Nickname = name;
  g.Rng.Seed(seed + static_cast<uint32_t>(number));
  RandomSource choices(seed * 7 + static_cast<uint32_t>(number));

  // --seconds bounds the whole run, joining included, and a stop request
  // ends every wait of the join as well as the play.
  const uint32_t runStart = clock.TickCount();
  const uint64_t limitMs = uint64_t{static_cast<uint32_t>(o.Seconds)} * 1000;
  const JoinGiveUp giveUp = [&] {
    return stop.load() || (limitMs && clock.TickCount() - runStart >= limitMs);
  };

  // Sends the leaving datagram and, on a delaying link, lets it out before
  // anything else is sent: a join that overtook it would be given a place
  // that the late leaving datagram then takes away again.
  auto sendLeaving = [&] {
    SendDatagram(g, g.ServerAddress, kLeavingDatagram, kLeavingLength, "Send error #25");
    if (faults.Perfect()) return;
    const uint32_t until = clock.TickCount() + faults.DelayMs + FaultySocket::kReorderHoldMs + 20;
    while (static_cast<int32_t>(until - clock.TickCount()) > 0) {
      if (g.Socket) g.Socket->Pending();
      clock.Sleep(5);
    }
  };

  // A lost accept leaves the bot a place on the server that it does not
  // know of: the server then denies it as "already connected" until it
  // times that place out, so the bot keeps trying for a while.
  JoinResult join;
  bool joined = false;
  bool heldPlace = false;
  const uint32_t joinStart = clock.TickCount();
  while (!joined && !giveUp()) {
    join = JoinServer(g, o.Server, o.Port, kJoinAttempts, {}, giveUp);
    joined = join.Joined();
    if (joined) break;
    // The first denial of this try says why it was refused.
    const char denial = join.Denials.empty() ? 0 : join.Denials[0];
    const bool full = denial == 'f';
    // A server denies a second request from a place-holder twice: "already
    // connected" ('a'), then "full" when no other place is free; the second
    // reply is read by the next attempt. Full is final only for a bot
    // without a place there.
    const bool heldNow = join.Denials.find('a') != std::string::npos;
    heldPlace |= heldNow;
    // When the link loses datagrams, "full" alone may also be about a place
    // held for this bot: its accept and the "already connected" after it
    // were both lost. Full is final only on a clean link.
    const bool mayHoldPlace = heldNow || (full && !faults.Perfect());
    // The place the server keeps for this address would only free itself
    // after the server's 400-step time-out, and a second lost accept on a
    // bad link would hold it again: give it back at once, as leaving does.
    // (A bot that holds no place there gives back nothing.)
    if (mayHoldPlace && g.Socket) sendLeaving();
    const bool mayPass =
        join.Denials.empty() || denial == 'a' || (full && (heldPlace || mayHoldPlace));
    if (!mayPass || clock.TickCount() - joinStart >= kJoinPatienceMs) break;
    // The next try starts on a fresh socket: a late accept for a place just
    // given back must not be read as the answer to the next request (the
    // bot would think it plays while the server has no place for it).
    g.Socket = net.CreateSocket();
  }
  if (!joined) {
    say(name + NotJoinedLine(join));
    return;
  }
  result->joined = true;
  say(name + ": joined");

  while (!giveUp() && g.IsClient) {
    if (GameTick(g)) {
      ApplyFrameTransitions(g);
      if (!g.IsClient) break;
      if (g.ServerSilence == 0) ++result->updates;
      PlayBotStep(g, choices);
      continue;
    }
    clock.Sleep(std::min<uint32_t>(MsUntilNextStep(g), 20));
  }
  result->playing = g.IsClient != 0;
  if (!g.IsClient) return;

  // Leaving: on a delaying link the leaving datagram is let out before the
  // socket goes (EndGame sends it and drops the socket at once).
  if (!faults.Perfect()) sendLeaving();
  g.platform.ui = nullptr;
  EndGame(g);
  say(name + ": left");
}

}  // namespace

bool ServerIsLoopback(const std::string& server, bool* resolved) {
  NetAddress a;
  PosixNetwork net;
  *resolved = ParseDottedAddress(server, &a) || net.Resolve(server, &a);
  return *resolved && a.ip[0] == 127;
}

BotTotals RunBots(const BotOptions& o, uint32_t seed, const std::atomic<bool>& stop,
                  const BotSay& say) {
  bool resolved = false;
  const bool loopback = ServerIsLoopback(o.Server, &resolved);
  std::mutex sayLock;
  const BotSay sayOne = [&](const std::string& line) {
    std::lock_guard<std::mutex> hold(sayLock);
    say(line);
  };
  Counters counters;
  std::vector<BotResult> results(static_cast<size_t>(o.Count));
  std::vector<std::thread> threads;
  for (int i = 0; i < o.Count; ++i)
    threads.emplace_back(RunBot, std::cref(o), i + 1, loopback, seed, std::cref(stop),
                         std::cref(sayOne), std::ref(counters), &results[static_cast<size_t>(i)]);
  for (std::thread& t : threads) t.join();

  BotTotals t;
  for (const BotResult& r : results) {
    t.Joined += r.joined;
    t.Playing += r.playing;
    t.Updates += r.updates;
  }
  t.Sent = counters.sent.load();
  t.Received = counters.received.load();
  t.AllPlayedThrough = t.Joined == o.Count && t.Playing == o.Count;
  return t;
}

std::string SummaryLine(const BotTotals& t, int count) {
  return "bots still playing: " + std::to_string(t.Playing) + " of " + std::to_string(count) +
         ", datagrams sent " + std::to_string(t.Sent) + ", received " +
         std::to_string(t.Received) + ", updates applied " + std::to_string(t.Updates);
}
