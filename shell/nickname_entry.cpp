#include "shell/nickname_entry.h"

#include "game/game_state.h"
#include "platform/windows1252.h"
#include "shell/startup.h"

std::string ReadNicknameField(const std::string& boxText) {
  size_t end = 0;
  for (int chars = 0; end < boxText.size() && chars < kNicknameReadLimit; ++chars) {
    ++end;
    // Continuation bytes belong to the character just started.
    while (end < boxText.size() && (static_cast<unsigned char>(boxText[end]) & 0xC0) == 0x80)
      ++end;
  }
  return boxText.substr(0, end);
}

// The nickname travels and is drawn as single bytes: the box's characters
// are converted, so "Müllerär" stays eight characters (not ten UTF-8 bytes
// that the nickname rule would replace).
std::string NicknameFromBox(const std::string& boxText) {
  return Cp1252FromUtf8(ReadNicknameField(boxText));
}

void ApplyWelcomeChoice(GameState& g, const std::string& boxText, bool soundsOn, bool musicOn) {
  g.Nickname = NicknameFromBox(boxText);
  g.SoundsOn = soundsOn ? 1 : 0;
  g.MusicOn = musicOn ? 1 : 0;
}

void ApplyNicknameChange(GameState& g, const std::string& boxText) {
  g.Nickname = NicknameFromBox(boxText);
}

std::vector<int> UnrollHeights() {
  std::vector<int> heights;
  for (int h = 0; h <= 278; h += 2) heights.push_back(h);
  return heights;
}

bool ChangeNicknameCommand(GameState& g, const std::function<int(GameState&)>& runDialog) {
  Ui* ui = g.platform.ui;
  if (g.IsClient || g.IsServer) {
    if (ui)
      ui->MessageBox("You cannot change your nickname while playing. Disconnect first.",
                     "Cannot Change Nick Name!", MsgButtons::Ok, MsgIcon::Exclamation, true);
    return false;
  }
  if (!runDialog(g)) return false;
  ApplyNicknameRule(g);
  if (ui) ui->SetWindowTitle(WindowTitle(g));
  return true;
}
