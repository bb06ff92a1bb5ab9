// Measures how the real main window paces the game: runs the window for a
// number of seconds, records the time of every step and prints the
// intervals' median, 1st and 99th percentiles, plus the process's CPU time.
//   tick_probe [seconds]   (run it in a folder holding pakmap.map)
#include <QApplication>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <sys/resource.h>
#include <vector>

#include "game/game_state.h"
#include "platform/posix_network.h"
#include "platform/qt_ui.h"
#include "platform/silent_audio.h"
#include "shell/main_window_qt.h"
#include "shell/startup.h"

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

double CpuSeconds() {
  rusage u{};
  getrusage(RUSAGE_SELF, &u);
  return u.ru_utime.tv_sec + u.ru_stime.tv_sec + (u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  int seconds = argc > 1 ? std::atoi(argv[1]) : 10;
  ProbeUi ui;
  SteadyClock clock;
  SilentAudio audio;
  PosixNetwork net;
  GameState g;
  g.platform = Platform{&ui, &clock, &audio, &net};
  if (!StartUpBeforeWelcome(g, static_cast<uint32_t>(std::time(nullptr)))) return 1;
  MainWindow window(g, ui);
  StartUpAfterWelcome(g);
  window.show();
  window.StartTimer();

  double cpuStart = 0;
  QTimer::singleShot(1000, [&] {  // let start-up settle first
    ui.stepTimes.clear();
    cpuStart = CpuSeconds();
    QTimer::singleShot(seconds * 1000, [] { QCoreApplication::exit(0); });
  });
  app.exec();
  double cpu = CpuSeconds() - cpuStart;

  std::vector<double> d;
  for (size_t i = 1; i < ui.stepTimes.size(); ++i) d.push_back(ui.stepTimes[i] - ui.stepTimes[i - 1]);
  std::sort(d.begin(), d.end());
  if (d.empty()) return 1;
  auto pct = [&](double p) { return d[static_cast<size_t>(p * (d.size() - 1))]; };
  std::printf("steps %zu in %d s: interval median %.2f ms, p1 %.2f ms, p99 %.2f ms, mean %.2f ms\n",
              d.size() + 1, seconds, pct(0.5), pct(0.01), pct(0.99),
              (ui.stepTimes.back() - ui.stepTimes.front()) / d.size());
  std::printf("cpu %.3f s over %d s = %.2f %% of one core\n", cpu, seconds, 100.0 * cpu / seconds);
  return 0;
}
