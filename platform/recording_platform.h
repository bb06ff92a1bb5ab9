// Recording implementations of the platform seam, for tests: message boxes
// answer from a script, menu changes, titles, sounds and sends are recorded,
// and the clock is set by hand.
#pragma once

#include <algorithm>
#include <deque>
#include <functional>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "platform/platform.h"

class RecordingUi : public Ui {
 public:
  struct Box {
    std::string text, title;
    MsgButtons buttons;
    MsgIcon icon;
    bool owned;
  };
  std::vector<Box> boxes;
  std::deque<MsgAnswer> answers;  // answers for Yes/No boxes, in order; default No
  std::map<int, bool> enabled, checked;
  std::string title;
  int invalidations = 0;
  int quits = 0;

  MsgAnswer MessageBox(const std::string& text, const std::string& t, MsgButtons buttons,
                       MsgIcon icon, bool owned) override {
    boxes.push_back({text, t, buttons, icon, owned});
    if (buttons == MsgButtons::Ok) return MsgAnswer::Ok;
    if (answers.empty()) return MsgAnswer::No;
    MsgAnswer a = answers.front();
    answers.pop_front();
    return a;
  }
  void EnableMenuItem(int id, bool on) override { enabled[id] = on; }
  void CheckMenuItem(int id, bool on) override { checked[id] = on; }
  void SetWindowTitle(const std::string& t) override { title = t; }
  void InvalidateWindow() override { ++invalidations; }
  void PostQuit() override { ++quits; }
};

class FakeClock : public Clock {
 public:
  uint32_t now = 0;
  // Called after each Sleep has moved the time on, so that a test can run
  // the other side of a conversation while this one waits.
  std::function<void()> onSleep;
  uint32_t TickCount() override { return now; }
  void Sleep(uint32_t ms) override {
    now += ms;
    if (onSleep) onSleep();
  }
};

class RecordingAudio : public Audio {
 public:
  std::vector<std::string> effects;  // "stop" recorded for StopEffect
  std::vector<std::string> music;    // "stop" recorded for StopMusic
  int musicResult = 0;
  void PlayEffect(const std::string& f) override { effects.push_back(f); }
  void StopEffect() override { effects.push_back("stop"); }
  int PlayMusic(const std::string& f) override {
    music.push_back(f);
    return musicResult;
  }
  void StopMusic() override { music.push_back("stop"); }
  int notice = kMusicNoNotice;  // handed out once by TakeMusicNotice
  int TakeMusicNotice() override { return std::exchange(notice, kMusicNoNotice); }
  std::function<void()> wake;  // what a notice would call
  void SetNoticeWake(std::function<void()> w) override { wake = std::move(w); }
};

// A socket that records what is sent and delivers what a test queues.
class RecordingSocket : public UdpSocket {
 public:
  struct Datagram {
    NetAddress addr;
    std::vector<uint8_t> bytes;
  };
  std::vector<Datagram> sent;
  std::deque<Datagram> inbox;
  // Where the network that made it keeps every socket's sends (a renewed
  // socket's predecessor included), or null.
  std::vector<Datagram>* networkLog = nullptr;
  int boundPort = -1;
  bool bindResult = true;
  bool broadcast = false;  // made by CreateBroadcastSocket
  SendResult sendResult = SendResult::Sent;

  bool Bind(uint16_t port) override {
    boundPort = port;
    return bindResult;
  }
  SendResult SendTo(const NetAddress& to, const uint8_t* data, size_t len) override {
    if (sendResult == SendResult::Sent) {
      sent.push_back({to, std::vector<uint8_t>(data, data + len)});
      if (networkLog) networkLog->push_back(sent.back());
    }
    return sendResult;
  }
  int Pending() override { return inbox.empty() ? 0 : std::max<int>(1, inbox.front().bytes.size()); }
  int ReceiveFrom(uint8_t* buf, size_t cap, NetAddress* from) override {
    if (inbox.empty()) return -1;
    Datagram d = std::move(inbox.front());
    inbox.pop_front();
    size_t n = std::min(cap, d.bytes.size());
    std::copy(d.bytes.begin(), d.bytes.begin() + n, buf);
    if (from) *from = d.addr;
    return static_cast<int>(n);
  }
  int LastError() override { return 10054; }

  void Queue(const NetAddress& from, const std::string& bytes) {
    inbox.push_back({from, std::vector<uint8_t>(bytes.begin(), bytes.end())});
  }
};

class RecordingNetwork : public Network {
 public:
  int socketsCreated = 0;
  RecordingSocket* lastSocket = nullptr;
  std::map<std::string, NetAddress> hosts;
  std::vector<NetAddress> local;
  std::vector<RecordingSocket::Datagram> sent;  // by all its sockets, in order

  std::unique_ptr<UdpSocket> CreateSocket() override {
    ++socketsCreated;
    auto s = std::make_unique<RecordingSocket>();
    s->networkLog = &sent;
    lastSocket = s.get();
    return s;
  }
  bool Resolve(const std::string& name, NetAddress* out) override {
    auto it = hosts.find(name);
    if (it == hosts.end()) return false;
    *out = it->second;
    return true;
  }
  std::vector<NetAddress> LocalAddresses() override { return local; }
  std::vector<NetAddress> broadcast;  // what BroadcastAddresses reports
  bool canBroadcast = true;
  std::vector<NetAddress> BroadcastAddresses() override { return broadcast; }
  // A recording socket like any other, marked as allowed to broadcast; a
  // test queues answers into it before the search (set onSocket for that).
  std::function<void(RecordingSocket&)> onSocket;
  std::unique_ptr<UdpSocket> CreateBroadcastSocket() override {
    if (!canBroadcast) return nullptr;
    auto s = CreateSocket();
    auto* r = static_cast<RecordingSocket*>(s.get());
    r->broadcast = true;
    if (onSocket) onSocket(*r);
    return s;
  }
};

// Everything a core test needs in one place.
struct RecordingPlatform {
  RecordingUi ui;
  FakeClock clock;
  RecordingAudio audio;
  RecordingNetwork net;
  Platform Get() { return Platform{&ui, &clock, &audio, &net}; }
};
