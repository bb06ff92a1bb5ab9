// What the welcome and nickname dialogs decide, apart from their widgets:
// the control ids they share, reading the nickname box, the welcome
// dialog's unrolling and the "Change Nick Name" command.
#pragma once

#include <functional>
#include <string>
#include <vector>

struct GameState;

// Control ids of templates 108 (welcome) and 115 (nickname).
enum NicknameDialogId : int {
  kIdNicknameEdit = 1027,
  kIdBeginOrChange = 1028,  // "&Begin!" in 108, "&Change" in 115
  kIdCancel = 1029,
  kIdPlaySounds = 1031,
  kIdPlayMusic = 1032,
};

// The nickname boxes accept 8 characters; the dialogs copy at most 9.
constexpr int kNicknameBoxLimit = 8;
constexpr int kNicknameReadLimit = 9;

// What the welcome dialog starts with.
inline constexpr const char* kWelcomeNickname = "Unnamed";

// The text of a nickname box as the dialogs read it: at most 9 characters
// (UTF-8 sequences are kept whole).
std::string ReadNicknameField(const std::string& boxText);

// The nickname a box's (UTF-8) text gives: ReadNicknameField, in
// Windows-1252 with '?' for a character that has no single byte.
std::string NicknameFromBox(const std::string& boxText);

// Begin! in the welcome dialog: the nickname and both switches.
void ApplyWelcomeChoice(GameState& g, const std::string& boxText, bool soundsOn, bool musicOn);

// Change in the nickname dialog.
void ApplyNicknameChange(GameState& g, const std::string& boxText);

// The welcome dialog's heights while it unrolls, in pixels: 0, 2, ... 278,
// one step per tick of the millisecond count.
std::vector<int> UnrollHeights();

// Command 40041. Refused with a message box while a game runs; otherwise
// runs the nickname dialog (1 for Change, 0 for Cancel) and, on Change,
// repairs the nickname and retitles the window. False when the command
// ends early (refused or cancelled): the caller then skips its repaint.
bool ChangeNicknameCommand(GameState& g, const std::function<int(GameState&)>& runDialog);
