#include "bots/bot_fleet.h"

#include <algorithm>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "bots/bot_session.h"
#include "connection/game_tick.h"
#include "connection/join_server.h"
#include "game/game_state.h"
#include "platform/faulty_socket.h"
#include "platform/posix_network.h"

namespace {

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

  const JoinResult join = JoinAsBot(g, o.Server, o.Port, faults, giveUp);
  if (!join.Joined()) {
    say(name + NotJoinedLine(join));
    return;
  }
  result->joined = true;
  say(name + ": joined");

  while (!giveUp() && g.IsClient) {
    if (GameTick(g)) {
      if (!AfterBotStep(g, choices, &result->updates)) break;
      continue;
    }
    clock.Sleep(std::min<uint32_t>(MsUntilNextStep(g), 20));
  }
  result->playing = g.IsClient != 0;
  if (!g.IsClient) return;
  LeaveAsBot(g, faults);
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
