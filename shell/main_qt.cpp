// The windowed program: the command line, the game folder, start-up, the
// main window, the loop, shut-down.
#include <QApplication>
#include <cstdio>
#include <cstdlib>
#include <ctime>

#include "connection/find_servers.h"
#include "game/game_state.h"
#include "platform/posix_network.h"
#include "platform/qt_ui.h"
#include "platform/sdl_audio.h"
#include "platform/windows1252.h"
#include "render/pictures.h"
#include "shell/command_line.h"
#include "shell/demo_playback_qt.h"
#include "shell/game_folder.h"
#include "shell/main_window_qt.h"
#include "shell/program_qt.h"
#include "shell/startup.h"
#include "shell/welcome_dialog.h"

int main(int argc, char** argv) {
  // Our own options are read before Qt starts, so --help and --version work
  // without a display.
  GameOptions options;
  std::string error;
  switch (ParseGameOptions(std::vector<std::string>(argv + 1, argv + argc), &options, &error)) {
    case ParseResult::Help: std::fputs(kGameUsage, stdout); return 0;
    case ParseResult::Version: std::printf("vrask %d.%d\n", kVersionMajor, kVersionMinor); return 0;
    case ParseResult::Bad: std::fprintf(stderr, "vrask: %s\n%s", error.c_str(), kGameUsageLine); return 2;
    case ParseResult::Run: break;
  }
  if (!options.RenderDemo.empty())
    return RenderDemoPicture(options.RenderDemo, options.RenderOut, options.RenderAt);
  if (options.ListServers) {
    // No window, no game folder: ask, print what answered, end.
    PosixNetwork net;
    SteadyClock clock;
    std::vector<FoundServer> found = FindServers(net, clock, 0, static_cast<uint32_t>(options.TimeoutMs));
    for (const FoundServer& s : found) std::printf("%s\n", ServerListLine(s).c_str());
    return found.empty() ? 1 : 0;
  }

  // Demo files are named from where the program was started, not from the
  // game folder it works in.
  for (std::string* f : {&options.PlayFile, &options.RecordFile})
    if (!f->empty()) *f = std::filesystem::absolute(*f).string();

  QApplication app(argc, argv);
  app.setQuitOnLastWindowClosed(false);
  QGuiApplication::setDesktopFileName("vrask");
  QtUi ui;

  // The game works in its game folder, filled with whatever shipped files
  // are missing there.
  std::filesystem::path folder =
      GameFolderPath(std::getenv("VRASK_HOME"), std::getenv("XDG_DATA_HOME"), std::getenv("HOME"));
  std::vector<std::string> notCopied;
  if (folder.empty()) error = "neither VRASK_HOME, XDG_DATA_HOME nor HOME is set";
  if (folder.empty() || !EnterGameFolder(folder, &error, &notCopied)) {
    std::string text = "Could not use the game folder " + folder.string() + ":\n" + error;
    std::fprintf(stderr, "vrask: %s\n", text.c_str());
    // The path and the system's words are UTF-8; the box takes game text
    // (a character without a single byte shows as '?', stderr has it all).
    ui.MessageBox(Cp1252FromUtf8(text), "File Error", MsgButtons::Ok, MsgIcon::Exclamation, false);
    return 1;
  }
  for (const std::string& n : notCopied) std::fprintf(stderr, "vrask: not copied: %s\n", n.c_str());

  // A demo that cannot be played is told before anything else happens.
  DemoPlayback demo;
  if (!options.PlayFile.empty() && !demo.Load(options.PlayFile, &error)) {
    std::fprintf(stderr, "vrask: %s\n", error.c_str());
    ui.MessageBox(Cp1252FromUtf8(error), "Demo Error", MsgButtons::Ok, MsgIcon::Exclamation, false);
    return 1;
  }

  SteadyClock clock;
  SdlAudio audio;  // silent, after one line on stderr, without a device
  PosixNetwork net;
  GameState g;
  PictureSet pictures;  // lives until the program ends
  g.platform = Platform{&ui, &clock, &audio, &net};

  // A demo is watched, not played: no welcome, no nickname.
  const bool playing = !options.PlayFile.empty();
  std::unique_ptr<MainWindow> window = StartProgram(
      g, ui, static_cast<uint32_t>(std::time(nullptr)),
      playing ? WelcomeRunner([](GameState&) { return 1; }) : WelcomeRunner(RunWelcomeDialog),
      &pictures, options.Scale);
  if (!window) return 0;
  std::unique_ptr<DemoPlayer> player;
  if (playing) player = std::make_unique<DemoPlayer>(*window, g, demo);
  if (!options.RecordFile.empty())
    ArmDemoRecording(g, options.RecordFile, static_cast<int64_t>(std::time(nullptr)),
                     WindowDemoReport(window.get()));

  app.exec();
  ShutDown(g);
  return 0;
}
