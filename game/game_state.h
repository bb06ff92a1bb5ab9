// The one record of all game, connection and user-interface state.
//
// Every operation receives the GameState it works on, so a test can run a
// server and clients side by side in one process. Field names, widths and
// initial values follow the game's data model; codes are ASCII letters.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "game/random.h"
#include "game/server_counters.h"
#include "game/stranger_limiter.h"
#include "platform/net_address.h"
#include "platform/platform.h"

constexpr int kSlotCount = 8;
constexpr int kMapSide = 14;
constexpr int kMapCells = kMapSide * kMapSide;  // 196
constexpr int kCellSize = 40;
constexpr int kFullEnergy = 70;
constexpr int kNoSlot = 10;                  // LocalSlot when the user has no slot
constexpr int kParkedY = 640;                // fireballs rest below the playfield
constexpr int kChatLines = 8;
constexpr int kChatLineBytes = 30;           // 3 colour bytes, 26 chars, NUL
constexpr int kChatTextMax = 26;
constexpr int kNameBytes = 12;
constexpr int kVersionMajor = 1;
constexpr int kVersionMinor = 0;

// Player life.
enum : int { Alive = 1, Dead = 2, Exploding = 3 };

// Direction and key codes, kept as ASCII letters in int fields.
enum : int { DirUp = 'u', DirDown = 'd', DirLeft = 'l', DirRight = 'r', DirStop = 's' };

// Slot kinds.
enum : char { KindLocal = 'l', KindInternet = 'i', KindComputer = 'c' };

// Fireball states.
enum : char { FireFlying = 'f', FireExploding = 'e', FireCleared = 'c', FireNone = 'n' };

struct PlayerSlot {
  char Kind = KindComputer;
  int Active = 0;
  int Life = Alive;
  NetAddress Address;
  char Name[kNameBytes] = {};
  int X = 0, Y = 0;
  int Dir = DirStop;
  int WantDir = DirStop;
  int PrevX = 0, PrevY = 0;
  int DrawX = 0, DrawY = 0;
  uint8_t Number = 0;
  uint8_t Energy = 0;
  uint8_t Shield = 0;
  uint8_t Frags = 0;
  uint32_t Silence = 0;
  uint8_t UpdateSeq = 0;
  int DrawnFlag = 0;
};

struct Fireball {
  char State = FireNone;
  int X = 0, Y = kParkedY;
  int Dir = DirStop;
  int DrawX = 0, DrawY = kParkedY;
  int DrawnFlag = 0;
};

// 14 x 14 tile codes, row-major: index = row * 14 + column. 0 is floor,
// 1..10 are walls.
using TileMap = std::array<uint8_t, kMapCells>;

// Eight lines of 30 bytes: red, green, blue, then up to 26 characters and a
// NUL. Line 7 is the newest. An empty line has NUL in byte 0.
struct ChatBoard {
  char Lines[kChatLines][kChatLineBytes] = {};
};

struct PictureSet;  // the loaded pictures (render/pictures.h)
struct GameState;

// Told of every finished step and of the end of the game (the demo
// recorder, connection/demo_recorder.h).
class StepWatcher {
 public:
  virtual ~StepWatcher() = default;
  virtual void AfterStep(GameState& g) = 0;
  virtual void GameEnding(GameState& g) = 0;
};

// The two game speeds: milliseconds between steps.
constexpr int kFastTickInterval = 40;
constexpr int kSlowTickInterval = 60;

// Join tokens (protocol/join_token.h): the server's secret key and the
// cookie a challenge hands a client. Sizes of libsodium's crypto_shorthash.
constexpr size_t kJoinTokenKeyBytes = 16;
constexpr size_t kJoinCookieBytes = 8;
using JoinTokenKey = std::array<uint8_t, kJoinTokenKeyBytes>;
using JoinCookie = std::array<uint8_t, kJoinCookieBytes>;

struct GameState {
  // --- Role of this process ---
  int IsServer = 0;
  int IsClient = 0;
  int LocalSlot = kNoSlot;   // only the low byte counts; above 8 means none
  int PredictionOn = 1;
  int TickInterval = kFastTickInterval;  // only the low byte counts

  // --- Server settings ---
  int AllowInternet = 0;
  int ServerParticipates = 0;
  uint8_t MaxPlayers = 0;
  int Port = 0;
  int ComputerFill = 0;

  // --- Game ---
  std::array<PlayerSlot, kSlotCount> Players{};
  std::array<Fireball, kSlotCount> Fireballs{};
  TileMap Tiles{};
  int MapDirty = 1;
  uint8_t FrameCounter = 0;
  uint8_t LeaderFrags = 0;
  int SendParity = 0;
  int SpawnX = 0, SpawnY = 0;

  // --- Network ---
  std::unique_ptr<UdpSocket> Socket;
  NetAddress ServerAddress;
  NetAddress NullAddress;
  uint32_t ServerSilence = 0;
  uint32_t ClientQuiet = 0;
  uint8_t LastUpdateSeq = 0;
  // The eighth fireball as the client made it out at the last applied
  // update: its y and direction do not travel (ReckonEighthFireball).
  Fireball EighthFireball;
  uint8_t LastServerMessage[255] = {};
  size_t LastServerMessageLength = 0;  // bytes of it that arrived
  uint8_t ConnectReply[256] = {};
  // Sends dropped because of the destination (see SendResult::Dropped).
  uint64_t DroppedSends = 0;
  // Paces the server's replies to senders without a place.
  StrangerLimiter StrangerReplies;
  // Server: the key of its join cookies, made when its port opens, and
  // whether a join without a valid cookie is refused (vrask-server
  // --require-token).
  JoinTokenKey TokenKey{};
  bool RequireToken = false;
  // Client: the cookie of the server's last challenge (zeros: none).
  JoinCookie TokenCookie{};
  ServerCounters Counters;  // for the operators' metrics page
  // The name a server gives in its information answer; empty: the host's
  // Nickname (the windowed host), set by vrask-server --name.
  std::string ServerName;

  // --- Messages and texts ---
  ChatBoard Board;
  std::string StatusMessage;
  char ChatInput[31] = {};
  uint8_t ChatInputLength = 0;
  std::string Nickname;
  uint8_t PlayerColours[kSlotCount][3] = {};
  std::string ConnectionStatus = "Not Connected";
  std::string ServerAddressText[3];
  // Told the text of every line written as the newest board line (status
  // messages and chat lines); the dedicated server prints them.
  std::function<void(const char* text)> OnBoardLine;
  // The last sound effect the game asked for (played or not), until the
  // watcher of the steps takes it.
  std::string LastEffect;
  std::unique_ptr<StepWatcher> Watcher;

  // --- Preferences ---
  int SoundsOn = 0;
  int MusicOn = 0;

  // --- User interface ---
  uint8_t MusicTrack = 0;
  int MusicDevice = 0;
  uint32_t LastStepTime = 0;
  int StatusPhase = 0;
  int StatusPhaseCount = 0;
  std::string MapDescription;  // at most 64 characters
  std::string MapFileName;
  int ControlSelection = 0;
  const PictureSet* Bitmaps = nullptr;

  // --- Context ---
  RandomSource Rng;
  Platform platform;
};

// One draw of the game's generator, 0..32767.
inline int Random(GameState& g) { return g.Rng.Next(); }

// The tile under pixel (x, y); pixels outside the grid read as wall.
uint8_t TileAt(const GameState& g, int x, int y);

// Plays a sound effect when sounds are on.
void PlayEffect(GameState& g, const char* file);

// Shared operations on the state.
void MakeComputerSlot(GameState& g, int index, int nameNumber);
// A fresh player of that kind in place `index`: active, alive, no energy,
// shield or frags, stopped at a spawn point. Name and address are the
// caller's.
void PlaceNewPlayer(GameState& g, int index, char kind);
void ScrollChatBoard(GameState& g);
void SetPlayerName(PlayerSlot& p, const char* name, size_t maxLen = kNameBytes - 1);
void EmptyChatInput(GameState& g);

// "%s\nInternal error #%d" / "Fatal Error!", then quit. The caller carries on.
void ReportFatalError(GameState& g, const char* message);

// Sends one datagram; a failure of the socket itself is reported as fatal
// with errorText, a failure of the destination is counted and dropped.
// Returns true when the datagram left.
bool SendDatagram(GameState& g, const NetAddress& to, const uint8_t* data, size_t len,
                  const char* errorText);

// Sends one datagram to every active remote player among the first
// MaxPlayers places, with SendDatagram's failure rules.
void SendToInternetPlayers(GameState& g, const uint8_t* data, size_t len, const char* errorText);
