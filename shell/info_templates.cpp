// The About and help templates: static texts, frames and pictures only.
// Every one shows the program icon at the top and has a close box and a
// minimise box; none has a button.
#include "shell/info_templates.h"

namespace {

constexpr unsigned kInfoStyle = kCloseBox | kMinimiseBox | kCentred;

DialogControl Text(const char* text, DialogRect r, unsigned flags = kFlagNone) {
  return {kNoControlId, ControlKind::Static, text, r, flags};
}
DialogControl Frame(const char* title, DialogRect r) {
  return {kNoControlId, ControlKind::GroupBox, title, r};
}
DialogControl ProgramIcon(int x, int y) {
  return {kNoControlId, ControlKind::Icon, "", {x, y, 20, 20}, kFlagNone, 0, 102};
}

}  // namespace

const DialogTemplate& AboutTemplate() {
  static const DialogTemplate t{
      107, "Vrask - About", 283, 263, kInfoStyle,
      {
          ProgramIcon(132, 6),
          Text("Vrask 1.0", {8, 30, 267, 9}, kCentreText),
          Text("A tank maze arcade game for one to eight players", {8, 40, 267, 9}, kCentreText),
          Frame("What is Vrask?", {8, 54, 267, 88}),
          Text("Vrask is a fast arcade game for up to eight players. Each player steers a "
               "small tracked tank in his or her own colour through a walled maze of 14 by "
               "14 cells, seen from above.\n\n"
               "Tanks fight with fireballs and guard themselves with a shield. Both are paid "
               "for with energy, which slowly recharges while the shield is down. Every kill "
               "scores a frag, and the player with the most frags leads the game.",
               {16, 66, 251, 72}),
          Frame("Playing together", {8, 148, 267, 68}),
          Text("One program is both client and server. Start a server to host a game on "
               "this computer, with or without a tank of your own; the computer can steer "
               "the places that nobody takes. Other players join over a local network or "
               "the Internet by the server's address.",
               {16, 160, 251, 52}),
          Text("The Help menu explains the controls, the rules and the status bar.",
               {8, 226, 267, 9}, kCentreText),
          Text("Close this window to return to the game.", {8, 240, 267, 9}, kCentreText),
      }};
  return t;
}

const DialogTemplate& GameplayHelpTemplate() {
  static const DialogTemplate t{
      109, "Vrask - Gameplay", 284, 244, kInfoStyle,
      {
          ProgramIcon(133, 4),
          Frame("Game Controls", {6, 26, 272, 56}),
          Text("Arrow keys", {14, 38, 106, 8}),
          Text("Drive up, down, left and right.", {124, 38, 148, 8}),
          Text("Shift or right mouse button", {14, 48, 106, 8}),
          Text("Raise your shield.", {124, 48, 148, 8}),
          Text("Control or left mouse button", {14, 58, 106, 8}),
          Text("Lower the shield and launch a fireball; after a crash, bring your tank back.",
               {124, 58, 148, 18}),
          Frame("Game Rules", {6, 86, 272, 92}),
          Text("Every player has energy that recharges slowly. It pays for fireballs and for "
               "the shield: a raised shield uses energy twice as fast as it recharges, and a "
               "fireball can only be launched with full energy.\n\n"
               "A raised shield protects you from fireballs and destroys any opponent you run "
               "over. With your shield down, touching an opponent or a fireball is fatal.",
               {14, 98, 256, 76}),
          Frame("Win Condition", {6, 182, 272, 56}),
          Text("Each kill earns one frag. When two tanks collide with both shields down, both "
               "are destroyed and each loses one frag. The player with the most frags leads "
               "for as long as he or she stays in the game.",
               {14, 194, 256, 40}),
      }};
  return t;
}

const DialogTemplate& StatusBarHelpTemplate() {
  static const DialogTemplate t{
      110, "Vrask - Quick look at the Status Bar", 280, 270, kInfoStyle,
      {
          ProgramIcon(6, 4),
          Text("The status bar on the right of the window shows who is playing. Each line "
               "puts a player's tank, in that player's colour, next to his or her name, so "
               "every tank in the maze can be matched to a name.",
               {32, 6, 242, 32}),
          {kNoControlId, ControlKind::Picture, "", {33, 42, 215, 173}, kFlagNone, 0, 123},
          Text("The number after a name counts that player's frags, and the leaders' lines "
               "flash red. The energy gauge shows who is weak and who is strong, a shield "
               "drawn over the tank shows whose shield is up, and the computer mark shows "
               "which players the computer controls. Above the list you see the connection "
               "and, on a server, the addresses other players join.",
               {8, 220, 264, 46}),
      }};
  return t;
}

const DialogTemplate& ClientServerHelpTemplate() {
  static const DialogTemplate t{
      111, "Vrask - Client/Server", 284, 285, kInfoStyle,
      {
          ProgramIcon(133, 4),
          Frame("Why a client and a server?", {6, 26, 272, 40}),
          Text("So that up to eight players can play together over the Internet or a local "
               "network. One computer, the server, runs the game; every player's computer "
               "is a client that sends keys and shows the game.",
               {14, 38, 256, 26}),
          Frame("How do we play together?", {6, 68, 272, 40}),
          Text("One player starts a server (Start New Game Server, F2). The others choose "
               "Connect to Game Server (F1) and type in the server's address and port.",
               {14, 80, 256, 26}),
          Frame("Which address do I connect to?", {6, 110, 272, 40}),
          Text("The one shown on the server's status bar. Ask the player who runs the server "
               "for it: it may change each time his or her computer goes online.",
               {14, 122, 256, 26}),
          Frame("Is it safe to play?", {6, 152, 272, 40}),
          Text("Yes. Vrask only exchanges game data (keys, names, chat lines and the state of "
               "the game) with the server on one port. Nobody gets at your files through it.",
               {14, 164, 256, 26}),
          Frame("Connecting over the Internet fails. What now?", {6, 194, 272, 40}),
          Text("Check that your Internet connection works and that no firewall blocks the "
               "server's port (2727 unless changed). On a company or school network, ask "
               "the network administrator.",
               {14, 206, 256, 26}),
          Frame("Why does each Internet player slow the game down?", {6, 236, 272, 45}),
          Text("The server sends the whole game to every player many times a second, so "
               "each player adds data to send. A 10 Mbps local network carries eight "
               "players smoothly; a slow Internet link may not.",
               {14, 248, 256, 30}),
      }};
  return t;
}
