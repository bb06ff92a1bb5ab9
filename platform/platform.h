// The seam between the game and the machine it runs on.
//
// The core (rules, datagrams, maps, drawing into a surface) calls only these
// interfaces. The program supplies Qt / POSIX / SDL implementations; tests
// supply the recording ones in recording_platform.h.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/net_address.h"

enum class MsgButtons { Ok, YesNo };
enum class MsgIcon { None, Information, Exclamation, Question, Error };
enum class MsgAnswer { Ok, Yes, No };

// Message boxes, the menu, the window title and repaints, quitting.
// Every text given here is the game's own text in Windows-1252 (names, map
// descriptions, server names come as such); an implementation that shows it
// converts it (platform/windows1252.h), so a caller never does.
class Ui {
 public:
  virtual ~Ui() = default;
  // ownedByMainWindow is false for the boxes a dialog shows over itself and
  // for those shown before the window exists.
  virtual MsgAnswer MessageBox(const std::string& text, const std::string& title,
                               MsgButtons buttons, MsgIcon icon,
                               bool ownedByMainWindow = true) = 0;
  virtual void EnableMenuItem(int id, bool enabled) = 0;  // false greys it
  virtual void CheckMenuItem(int id, bool checked) = 0;
  virtual void SetWindowTitle(const std::string& title) = 0;
  // Ask for a repaint without erasing the background.
  virtual void InvalidateWindow() = 0;
  // Ends the main loop; the shut-down sequence then runs.
  virtual void PostQuit() = 0;
};

// The millisecond tick count; it wraps around after 2^32 ms.
class Clock {
 public:
  virtual ~Clock() = default;
  virtual uint32_t TickCount() = 0;
  // Holds the thread for about ms milliseconds: the blocking waits of
  // joining a server go through here, so a test clock can make them pass
  // at once (and let the rest of a test world move meanwhile). The
  // default spins on the tick count; real clocks sleep.
  virtual void Sleep(uint32_t ms) {
    const uint32_t start = TickCount();
    while (TickCount() - start < ms) {
    }
  }
};

// What the music device reports about a track, by the codes the game's
// music handling knows.
enum MusicNotice : int {
  kMusicNoNotice = 0,
  kMusicSuccessful = 1,  // the track played to its end
  kMusicSuperseded = 2,
  kMusicAborted = 4,     // the program's own stop
  kMusicFailure = 8,     // the device failed while playing
  // Not a device code: the track PlayMusic accepted could not be loaded or
  // started after all (the load runs behind PlayMusic). It is PlayMusic's
  // own error, come late.
  kMusicCannotPlay = 16,
};

// Sound effects (one at a time, a new one cuts off the old) and music.
class Audio {
 public:
  virtual ~Audio() = default;
  virtual void PlayEffect(const std::string& file) = 0;
  virtual void StopEffect() = 0;
  // Returns 0 when the track started, non-zero on failure.
  virtual int PlayMusic(const std::string& file) = 0;
  virtual void StopMusic() = 0;
  // The notice about the current track that arrived since the last call, or
  // kMusicNoNotice. Asked on the main thread: a notice raised on the sound
  // library's own thread waits here until then. A stop or a new track drops
  // a notice not yet taken (it was about the track just replaced).
  virtual int TakeMusicNotice() { return kMusicNoNotice; }
  // Called, on any thread, when TakeMusicNotice may have something new (a
  // notice, or a track that finished loading), so that a window that sleeps
  // wakes to ask. Null: nobody is told.
  virtual void SetNoticeWake(std::function<void()> wake) { (void)wake; }
  // While true (a game runs) the sound device stays open through silence,
  // so that no effect of a game step waits for it to open; false lets it
  // close after a while of silence. Asked on the main thread.
  virtual void KeepAwake(bool awake) { (void)awake; }
};

enum class SendResult {
  Sent,
  // Failed because of the destination or of the moment (unreachable,
  // refused, broadcast or zero address, full buffer). Treated like a lost
  // datagram: a forged sender must never be able to end a server.
  Dropped,
  // The socket itself failed.
  Failed,
};

// One IPv4 UDP socket. Never blocks: Pending() says how many bytes wait.
class UdpSocket {
 public:
  static constexpr int kNothingWaiting = -2;
  virtual ~UdpSocket() = default;
  virtual bool Bind(uint16_t port) = 0;  // any local address
  virtual SendResult SendTo(const NetAddress& to, const uint8_t* data, size_t len) = 0;
  // Bytes waiting in the next datagram (0 when none, -1 on error).
  virtual int Pending() = 0;
  // Reads one datagram, at most cap bytes (the rest of a longer one is
  // lost); returns its length, -1 when the socket failed, or kNothingWaiting
  // when nothing could be read after all (the datagram vanished, a pending
  // error of an earlier send).
  virtual int ReceiveFrom(uint8_t* buf, size_t cap, NetAddress* from) = 0;
  // The last error code of the socket layer, for fatal reports.
  virtual int LastError() = 0;
};

class Network {
 public:
  virtual ~Network() = default;
  virtual std::unique_ptr<UdpSocket> CreateSocket() = 0;
  // Resolves a host name or dotted address; false when it cannot.
  virtual bool Resolve(const std::string& name, NetAddress* out) = 0;
  // This host's IPv4 addresses that other machines can reach, best first.
  virtual std::vector<NetAddress> LocalAddresses() = 0;
  // The broadcast address of every IPv4 interface that is up and has one
  // (port 0). Finding servers on the local network sends there.
  virtual std::vector<NetAddress> BroadcastAddresses() { return {}; }
  // A socket that may also send to those broadcast addresses; null where
  // the network cannot broadcast (then the caller asks by address only).
  virtual std::unique_ptr<UdpSocket> CreateBroadcastSocket() { return nullptr; }
};

// What the core may call; any pointer may be null where a service is absent
// (the dedicated server has no audio).
struct Platform {
  Ui* ui = nullptr;
  Clock* clock = nullptr;
  Audio* audio = nullptr;
  Network* net = nullptr;
};
