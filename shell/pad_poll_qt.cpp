#include "shell/pad_poll_qt.h"

#include <QApplication>

#include "shell/commands.h"

void PadPoll::Poll(GameState& g, CommandHost& host) {
  // The game goes on stepping inside a dialog's own loop; the pads wait.
  const bool dialogOpen = QApplication::activeModalWidget() != nullptr;
  for (int vk : steering_.Step(pads_.Read(), PadsMayAct(g, dialogOpen)))
    HandleKeyDown(g, host, vk, false, false);
}
