// What the server control dialog and the ban control dialog decide, apart
// from their widgets: the lines of the player list and of the ban list, and
// the buttons' actions with their questions and messages. The Qt files
// (server_control_dialog.cpp, ban_control_dialog.cpp) only bind these to the
// templates' controls.
#pragma once

#include <string>
#include <vector>

#include "protocol/ban_list.h"

struct GameState;

// A dialog's list box as the actions see it: its lines and its selection.
class ListBox {
 public:
  static constexpr int kNone = -1;
  virtual ~ListBox() = default;
  // Replaces every line; nothing is selected afterwards.
  virtual void SetLines(const std::vector<std::string>& lines) = 0;
  virtual int LineCount() const = 0;
  // The selected line, or kNone.
  virtual int Selected() const = 0;
  // Selects a line; kNone or a line past the end selects nothing.
  virtual void Select(int line) = 0;
};

// --- Server control dialog (template 106) ---

// The list line of place i: an internet player with its address, a
// computer player, the host's own player, or the state of a free place.
std::string PlayerListLine(const GameState& g, int i);

// The eight lines, refilled; the selection is kept in ControlSelection, so
// that it survives the refreshes and the closing of the dialog. An empty
// list (the dialog opening) has no selection to keep: the line last
// selected is selected again.
void RefreshPlayerList(GameState& g, ListBox& list);

// "&Kick Player" for the selected line: refused for a free place, a
// computer player or the host's own player; otherwise, after a Yes, sends
// the kick datagram, posts "%s Was Kicked" and hands the place to the
// computer. Refreshes the list in every case.
void ServerControlKick(GameState& g, ListBox& list);

// "&Ban Player Address" for the selected line. True when the address is on
// the ban list now (added, or listed already): the dialog then posts itself
// the Kick command, which asks its own question.
bool ServerControlBan(GameState& g, ListBox& list);

// "&Zero Player Frags": asks first, unless the place has no frags.
void ServerControlZeroPlayerFrags(GameState& g, ListBox& list);

// "Zero &All Frags": asks, then every place's frags are 0.
void ServerControlZeroAllFrags(GameState& g, ListBox& list);

// --- Ban control dialog (template 114) ---

// "[a.b.c.d]".
std::string BanListLine(const BanAddress& address);

// Fills the list from "banlist.dat" in file order; without a readable file
// says "Could not open Ban List file!" and leaves the list empty.
void FillBanList(GameState& g, ListBox& list);

// "&Remove Selected Address Ban".
void BanControlRemove(GameState& g, ListBox& list);

// "Clear &All Bans": empties the list file (creating it when there was
// none), without a question.
void BanControlClearAll(GameState& g, ListBox& list);
