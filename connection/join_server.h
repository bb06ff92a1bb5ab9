// Joining a server, apart from the dialogs: the address form's checks, the
// look-up of the server, one connection attempt, the map fetch and the
// switch into the client role. The two dialogs are thin views over these;
// a program without a window joins with JoinServer.
//
// Headless use (a bot):
//   GameState g;  g.platform = {&ui, &clock, nullptr, &net};  (clock must sleep)
//   g.Socket = net.CreateSocket();  g.Nickname = "Bot1";
//   if (!JoinServer(g, "localhost", 2727, 5).Joined()) ...;
//   then call GameTick(g) (or GameStep on time) and steer with
//   ApplyControlKey(g, 'r'); the game ends by itself when the server kicks,
//   shuts down or falls silent (IsClient becomes 0), or with EndGame(g).
#pragma once

#include <functional>
#include <string>

#include "connection/fetch_map.h"
#include "game/game_state.h"


// The server address dialog's fields; it always opens with these.
struct JoinForm {
  std::string address = "localhost";  // 1013
  std::string port = "2727";          // 1014
};

constexpr size_t kServerNameMax = 254;

// GO in the server address dialog: checks the port, asks before ending a
// running game, ends it and commits AllowInternet and Port. True when the
// dialog closes and ConnectToServer is to run with *serverName; false when
// it stays open (a message box has said why, or the user said No).
bool JoinDialogGo(GameState& g, const JoinForm& form, std::string* serverName);

// Reads "a.b.c.d" with four decimal numbers 0..255; false for anything else.
bool ParseDottedAddress(const std::string& text, NetAddress* out);

// Sets ServerAddress from a host name or dotted address and Port. 0 (after
// a message box titled with the name) when the name does not resolve.
int ResolveServer(GameState& g, const std::string& serverName);

// Receives a line for the connection log.
using ConnectLog = std::function<void(const std::string& line)>;

// "Connecting to server a.b.c.d:port...", the log's first line.
std::string FirstLogLine(const GameState& g);

enum class AttemptResult {
  Accepted,  // "PMok": the reply is in ConnectReply
  NoReply,   // nothing (more) from the server within the second
  Denied,    // a "PMd" reply
  Invalid,   // some other "PM" datagram, and nothing after it
  NotPm,     // a reply not starting "PM": the attempt ends without a line
  Failed,    // the socket failed (a fatal error has been reported)
  Stopped,   // giveUp ended the wait for the replies: nothing was read
};

// One attempt of the connection dialog, numbered attempt: sends the join
// request, holds the thread until a second has passed, then reads the
// server's replies and writes what it found to log.
AttemptResult ConnectionAttempt(GameState& g, int attempt, const ConnectLog& log,
                                const JoinGiveUp& giveUp = {});

// Runs the connection dialog: 1 when the server accepted, 0 on Cancel.
using ConnectionDialogRunner = std::function<int()>;

// Resolves serverName, runs the connection dialog and, once the server has
// accepted, takes its speed and its map, sends the name and becomes a
// client. 1 when connected, 0 otherwise (the program is then idle).
int ConnectToServer(GameState& g, const std::string& serverName,
                    const ConnectionDialogRunner& runConnectionDialog);

// After the server accepted: the speed from ConnectReply, FetchMap, the
// name, the client role and the menu. 0 when the map did not come (the
// game is then ended and the user told). giveUp may cut the map's wait short.
int FinishJoin(GameState& g, const JoinGiveUp& giveUp = {});

// How JoinServer ended.
enum class JoinOutcome {
  Joined,      // accepted and the map taken: the program is a client
  Denied,      // refused (Denials says why), and no attempt accepted
  NoAnswer,    // neither an accept nor a denial in all the attempts
  NoMap,       // accepted, but the map did not come: the place was given back
  Unresolved,  // the server's name did not resolve
  Failed,      // the socket failed (a fatal error has been reported)
  Stopped,     // giveUp ended it
};

struct JoinResult {
  JoinOutcome Outcome = JoinOutcome::NoAnswer;
  // The reason letter of each denial received, in order: 'a' a connection
  // from this address is already there, 'b' banned, 'f' full, 'v' another
  // version; any other byte as the server sent it (0 for none).
  std::string Denials;
  bool Joined() const { return Outcome == JoinOutcome::Joined; }
};

// The connection log's line for a denial's reason letter; nullptr for a
// letter it does not know (the log shows the server's own text instead).
const char* DenialLine(uint8_t reason);

// Without a window: what GO and ConnectToServer do, with up to maxAttempts
// connection attempts (each holds the thread for a second). A running game
// is ended first. log, when given, receives the connection log; giveUp,
// when given, ends every wait of the join (the attempts' seconds and the
// map's wait) as soon as it says so.
JoinResult JoinServer(GameState& g, const std::string& serverName, int port, int maxAttempts,
               const ConnectLog& log = {}, const JoinGiveUp& giveUp = {});
