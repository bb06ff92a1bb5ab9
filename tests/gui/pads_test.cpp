// Game controllers through SDL's virtual joystick: each control reaches the
// pad's reading, pads are found when plugged in and dropped when pulled
// out, and the window's tick hands a pad's press to the game unless a
// dialog is open.
#include <QDialog>
#include <QtTest>
#include <SDL.h>

#include "gui/window_program.h"
#include "platform/sdl_pads.h"

namespace {

// A virtual pad with the controller's standard buttons and axes, in SDL's
// order (A, B, X, Y, Back, Guide, Start, stick buttons, shoulders, D-pad up,
// down, left, right), so that SDL maps it as a game controller.
struct VirtualPad {
  int index = -1;
  SDL_Joystick* joystick = nullptr;
  VirtualPad() {
    index = SDL_JoystickAttachVirtual(SDL_JOYSTICK_TYPE_GAMECONTROLLER, SDL_CONTROLLER_AXIS_MAX,
                                      SDL_CONTROLLER_BUTTON_DPAD_RIGHT + 1, 0);
    if (index >= 0) joystick = SDL_JoystickOpen(index);
  }
  ~VirtualPad() { Pull(); }
  void Pull() {
    if (!joystick) return;
    const SDL_JoystickID id = SDL_JoystickInstanceID(joystick);
    SDL_JoystickClose(joystick);
    joystick = nullptr;
    for (int i = 0; i < SDL_NumJoysticks(); ++i)
      if (SDL_JoystickGetDeviceInstanceID(i) == id) SDL_JoystickDetachVirtual(i);
  }
  void Button(SDL_GameControllerButton b, bool down) { SDL_JoystickSetVirtualButton(joystick, b, down); }
  void Axis(SDL_GameControllerAxis a, int value) {
    SDL_JoystickSetVirtualAxis(joystick, a, static_cast<int16_t>(value));
  }
  int32_t id() const { return SDL_JoystickInstanceID(joystick); }
};

const PadReading* Find(const std::vector<PadReading>& pads, int32_t id) {
  for (const PadReading& p : pads)
    if (p.id == id) return &p;
  return nullptr;
}

}  // namespace

class PadsTest : public QObject {
  Q_OBJECT

 private slots:
  void eachControlOfAPadReachesItsReading() {
    SdlPads pads;
    VirtualPad pad;
    QVERIFY(pad.joystick);
    const std::vector<PadReading> first = pads.Read();
    const PadReading* r = Find(first, pad.id());
    QVERIFY(r);
    QVERIFY(!r->state.a && !r->state.b && !r->state.up && !r->state.right);
    QCOMPARE(int{r->state.leftTrigger}, 0);
    QCOMPARE(int{r->state.rightTrigger}, 0);

    const std::pair<SDL_GameControllerButton, bool PadState::*> buttons[] = {
        {SDL_CONTROLLER_BUTTON_A, &PadState::a},
        {SDL_CONTROLLER_BUTTON_B, &PadState::b},
        {SDL_CONTROLLER_BUTTON_DPAD_UP, &PadState::up},
        {SDL_CONTROLLER_BUTTON_DPAD_DOWN, &PadState::down},
        {SDL_CONTROLLER_BUTTON_DPAD_LEFT, &PadState::left},
        {SDL_CONTROLLER_BUTTON_DPAD_RIGHT, &PadState::right},
    };
    for (const auto& [button, field] : buttons) {
      pad.Button(button, true);
      std::vector<PadReading> now = pads.Read();
      QVERIFY(Find(now, pad.id()));
      const PadState s = Find(now, pad.id())->state;
      // Only this one is down.
      for (const auto& [other, otherField] : buttons) QCOMPARE(s.*otherField, other == button);
      pad.Button(button, false);
    }

    pad.Axis(SDL_CONTROLLER_AXIS_LEFTX, -20000);
    pad.Axis(SDL_CONTROLLER_AXIS_LEFTY, 12345);
    pad.Axis(SDL_CONTROLLER_AXIS_TRIGGERLEFT, 32767);
    std::vector<PadReading> now = pads.Read();
    QVERIFY(Find(now, pad.id()));
    const PadState s = Find(now, pad.id())->state;
    QCOMPARE(int{s.leftX}, -20000);
    QCOMPARE(int{s.leftY}, 12345);
    QCOMPARE(int{s.leftTrigger}, 32767);
    QCOMPARE(int{s.rightTrigger}, 0);
  }

  void padsAreFoundWhenPluggedInAndDroppedWhenPulledOut() {
    SdlPads pads;
    QVERIFY(pads.Read().empty());
    auto first = std::make_unique<VirtualPad>();
    const int32_t firstId = first->id();
    QCOMPARE(pads.Read().size(), size_t(1));
    VirtualPad second;
    std::vector<PadReading> now = pads.Read();
    QCOMPARE(now.size(), size_t(2));
    QVERIFY(Find(now, firstId) && Find(now, second.id()));
    first.reset();
    now = pads.Read();
    QCOMPARE(now.size(), size_t(1));
    QVERIFY(Find(now, second.id()));
    // A joystick SDL knows no controller layout for steers nothing.
    const int stick = SDL_JoystickAttachVirtual(SDL_JOYSTICK_TYPE_FLIGHT_STICK, 2, 2, 0);
    QVERIFY(stick >= 0);
    QCOMPARE(pads.Read().size(), size_t(1));
    QCOMPARE(pads.Read().size(), size_t(1));
    SDL_JoystickDetachVirtual(stick);
  }

  // A client's user: a pad's D-pad sends the key datagram, as the arrow key
  // would; the same press while a dialog is open sends nothing.
  void theTickHandsAPadToTheGameUnlessADialogIsOpen() {
    WindowProgram p;
    p.g.IsClient = 1;
    p.g.AllowInternet = 1;
    p.g.LocalSlot = 0;
    p.g.ServerAddress = NetAddress::Of(127, 0, 0, 9, 2727);
    p.g.Players[0].Active = 1;
    p.g.Players[0].Life = Alive;
    p.g.Players[0].WantDir = 's';
    VirtualPad pad;
    p.window->StartTimer();
    auto keys = [&] {
      std::string out;
      for (const auto& d : p.socket().sent)
        if (d.bytes.size() == 20) out += static_cast<char>(d.bytes[3]);
      return out;
    };

    pad.Button(SDL_CONTROLLER_BUTTON_DPAD_LEFT, true);
    p.window->StartTimer();
    p.window->StartTimer();  // held: sent once
    QCOMPARE(keys(), std::string("l"));

    pad.Button(SDL_CONTROLLER_BUTTON_DPAD_LEFT, false);
    QDialog dialog(p.window.get());
    dialog.setModal(true);
    QTimer::singleShot(0, &dialog, [&] {
      pad.Button(SDL_CONTROLLER_BUTTON_DPAD_DOWN, true);
      p.window->StartTimer();
      dialog.accept();
    });
    dialog.exec();
    QCOMPARE(keys(), std::string("l"));
  }
};

int main(int argc, char** argv) {
  // Only the controller part of SDL runs; no video, no sound.
  qputenv("SDL_VIDEODRIVER", "dummy");
  QApplication app(argc, argv);
  PadsTest test;
  return QTest::qExec(&test, argc, argv);
}

#include "pads_test.moc"
