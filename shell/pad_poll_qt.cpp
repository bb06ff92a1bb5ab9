#include "shell/pad_poll_qt.h"

#include <QApplication>

#include "game/game_state.h"
#include "shell/commands.h"

void PadPoll::Poll(GameState& g, CommandHost& host) {
  const uint32_t now = g.platform.clock->TickCount();
  // With no pad attached nothing is held, so a tick without a read gives
  // what a read finding nothing would: no keys.
  if (!lookout_.Due(now)) return;
  const std::vector<PadReading> pads = pads_.Read();
  lookout_.Read(now, pads.size());
  // The game goes on stepping inside a dialog's own loop; the pads wait.
  const bool dialogOpen = QApplication::activeModalWidget() != nullptr;
  for (int vk : steering_.Step(pads, PadsMayAct(g, dialogOpen)))
    HandleKeyDown(g, host, vk, false, false);
}
