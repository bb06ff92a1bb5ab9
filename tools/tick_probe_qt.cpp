// Measures how the real main window paces and paints the game: runs the
// window for a number of seconds, records the time of every step and prints
// the intervals' median, 1st and 99th percentiles and the process's CPU use.
//   tick_probe [seconds] [idle|play|join PORT]   (in a folder holding pakmap.map)
// "play" first starts a server of eight computer players on that map;
// "join" joins the server on localhost:PORT as a client and also prints the
// bytes per second the client receives. With TICK_PROBE_PAD=1 a virtual game
// controller is plugged in first, for the cost of reading a pad.
#include <QApplication>
#include <QTimer>
#include <SDL.h>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <string>
#include <sys/resource.h>
#include <vector>

#include "connection/host_server.h"
#include "connection/join_server.h"
#include "game/game_state.h"
#include "platform/posix_network.h"
#include "platform/qt_ui.h"
#include "platform/silent_audio.h"
#include "render/pictures.h"
#include "shell/main_window_qt.h"
#include "shell/program_qt.h"

namespace {

// Forwards to the real Ui and notes the time of each repaint request, which
// GameTick makes once after every step.
class ProbeUi : public QtUi {
 public:
  std::vector<double> stepTimes;
  void InvalidateWindow() override {
    using namespace std::chrono;
    stepTimes.push_back(duration<double, std::milli>(steady_clock::now().time_since_epoch()).count());
    QtUi::InvalidateWindow();
  }
};

// Counts the bytes every socket of the real network receives.
class CountingNetwork : public PosixNetwork {
 public:
  uint64_t received = 0;
  std::unique_ptr<UdpSocket> CreateSocket() override {
    return std::make_unique<Counting>(PosixNetwork::CreateSocket(), &received);
  }

 private:
  class Counting : public UdpSocket {
   public:
    Counting(std::unique_ptr<UdpSocket> s, uint64_t* n) : s_(std::move(s)), n_(n) {}
    bool Bind(uint16_t port) override { return s_->Bind(port); }
    SendResult SendTo(const NetAddress& to, const uint8_t* d, size_t len) override { return s_->SendTo(to, d, len); }
    int Pending() override { return s_->Pending(); }
    int ReceiveFrom(uint8_t* buf, size_t cap, NetAddress* from) override {
      int n = s_->ReceiveFrom(buf, cap, from);
      if (n > 0) *n_ += static_cast<uint64_t>(n);
      return n;
    }
    int LastError() override { return s_->LastError(); }

   private:
    std::unique_ptr<UdpSocket> s_;
    uint64_t* n_;
  };
};

double CpuSeconds() {
  rusage u{};
  getrusage(RUSAGE_SELF, &u);
  return u.ru_utime.tv_sec + u.ru_stime.tv_sec + (u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  int seconds = argc > 1 ? std::atoi(argv[1]) : 10;
  bool play = argc > 2 && std::string(argv[2]) == "play";
  bool join = argc > 3 && std::string(argv[2]) == "join";
  ProbeUi ui;
  SteadyClock clock;
  SilentAudio audio;
  CountingNetwork net;
  GameState g;
  PictureSet pictures;
  g.platform = Platform{&ui, &clock, &audio, &net};
  auto window = StartProgram(
      g, ui, static_cast<uint32_t>(std::time(nullptr)),
      [](GameState& gs) {  // the welcome dialog, answered with its defaults
        gs.Nickname = "probe";
        gs.SoundsOn = gs.MusicOn = 1;
        return 1;
      },
      &pictures);
  if (!window) return 1;
  if (qEnvironmentVariableIntValue("TICK_PROBE_PAD") &&
      SDL_JoystickAttachVirtual(SDL_JOYSTICK_TYPE_GAMECONTROLLER, SDL_CONTROLLER_AXIS_MAX,
                                SDL_CONTROLLER_BUTTON_DPAD_RIGHT + 1, 0) < 0)
    return 1;
  if (play) {
    g.MaxPlayers = 8;
    g.ComputerFill = 1;
    StartServer(g, [] { return 1; });
  }
  if (join && !JoinServer(g, "localhost", std::atoi(argv[3]), 3).Joined()) return 1;

  double cpuStart = 0;
  uint64_t bytesStart = 0;
  QTimer::singleShot(1000, [&] {  // let start-up settle first
    ui.stepTimes.clear();
    cpuStart = CpuSeconds();
    bytesStart = net.received;
    QTimer::singleShot(seconds * 1000, [] { QCoreApplication::exit(0); });
  });
  app.exec();
  double cpu = CpuSeconds() - cpuStart;
  uint64_t bytes = net.received - bytesStart;

  std::vector<double> d;
  for (size_t i = 1; i < ui.stepTimes.size(); ++i) d.push_back(ui.stepTimes[i] - ui.stepTimes[i - 1]);
  std::sort(d.begin(), d.end());
  if (d.empty()) return 1;
  auto pct = [&](double p) { return d[static_cast<size_t>(p * (d.size() - 1))]; };
  std::printf("%s: steps %zu in %d s: interval median %.2f ms, p1 %.2f ms, p99 %.2f ms, mean %.2f ms\n",
              join ? "join" : play ? "play" : "idle", d.size() + 1, seconds, pct(0.5), pct(0.01), pct(0.99),
              (ui.stepTimes.back() - ui.stepTimes.front()) / d.size());
  std::printf("cpu %.3f s over %d s = %.2f %% of one core\n", cpu, seconds, 100.0 * cpu / seconds);
  if (join)
    std::printf("received %llu bytes in %d s = %.0f bytes/s; still connected: %s\n",
                static_cast<unsigned long long>(bytes), seconds, double(bytes) / seconds,
                g.IsClient ? "yes" : "no");
  return 0;
}
