// Start-up of the windowed program from the socket to the shown window,
// with the welcome dialog passed in so that tests can answer it.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>

struct GameState;
struct PictureSet;
class MainWindow;
class QtUi;

// Shows the welcome dialog; 1 for Begin!, 0 for Cancel.
using WelcomeRunner = std::function<int(GameState&)>;

// Runs the start-up: everything before the welcome dialog, the dialog, then
// the window, the music, the menu states and the timer. Returns the shown
// main window, or null when the program is to end without one ("pakmap.map"
// missing, or Cancel in the welcome dialog).
// The pictures are loaded into `pictures`, which must outlive the window.
// `scale` is --scale (0: chosen from the screen).
std::unique_ptr<MainWindow> StartProgram(GameState& g, QtUi& ui, uint32_t seed,
                                         const WelcomeRunner& welcome,
                                         PictureSet* pictures = nullptr, int scale = 0);
