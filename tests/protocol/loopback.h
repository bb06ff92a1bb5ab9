// Real UDP over the loopback range: a client socket bound to its own
// 127.0.0.x address (the server tells players apart by IPv4 address), and a
// running vrask-server process. Every wait is bounded.
#pragma once

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "platform/platform.h"

inline sockaddr_in LoopbackAddr(const char* ip, uint16_t port) {
  sockaddr_in s{};
  s.sin_family = AF_INET;
  s.sin_port = htons(port);
  inet_pton(AF_INET, ip, &s.sin_addr);
  return s;
}

// A port that was free a moment ago, for SOCK_DGRAM or SOCK_STREAM.
inline uint16_t FreeLoopbackPort(int socketType) {
  int fd = socket(AF_INET, socketType, 0);
  sockaddr_in s = LoopbackAddr("127.0.0.1", 0);
  bind(fd, reinterpret_cast<sockaddr*>(&s), sizeof s);
  socklen_t len = sizeof s;
  getsockname(fd, reinterpret_cast<sockaddr*>(&s), &len);
  close(fd);
  return ntohs(s.sin_port);
}
inline uint16_t FreeUdpPort() { return FreeLoopbackPort(SOCK_DGRAM); }

// Gives `socket` a new socket of `net` bound to a free port and returns the
// port; 0 when another process took the port first five times running.
inline uint16_t BindFreeUdpPort(Network& net, std::unique_ptr<UdpSocket>& socket) {
  for (int attempt = 0; attempt < 5; ++attempt) {
    socket = net.CreateSocket();
    const uint16_t p = FreeUdpPort();
    if (socket->Bind(p)) return p;
  }
  return 0;
}

class UdpTestClient {
 public:
  UdpTestClient(const std::string& ip, uint16_t serverPort) : server_(LoopbackAddr("127.0.0.1", serverPort)) {
    fd_ = socket(AF_INET, SOCK_DGRAM, 0);
    sockaddr_in me = LoopbackAddr(ip.c_str(), 0);
    bind(fd_, reinterpret_cast<sockaddr*>(&me), sizeof me);
  }
  ~UdpTestClient() { close(fd_); }
  UdpTestClient(const UdpTestClient&) = delete;

  void Send(const std::string& bytes) {
    sendto(fd_, bytes.data(), bytes.size(), 0, reinterpret_cast<const sockaddr*>(&server_), sizeof server_);
  }
  // To any loopback address and port rather than the server.
  void SendTo(const char* ip, uint16_t port, const std::string& bytes) {
    sockaddr_in to = LoopbackAddr(ip, port);
    sendto(fd_, bytes.data(), bytes.size(), 0, reinterpret_cast<const sockaddr*>(&to), sizeof to);
  }
  // The next datagram within timeoutMs, or an empty string.
  std::string Receive(int timeoutMs) {
    pollfd p{fd_, POLLIN, 0};
    if (poll(&p, 1, timeoutMs) <= 0) return {};
    char buf[512];
    ssize_t n = recv(fd_, buf, sizeof buf, 0);
    return n > 0 ? std::string(buf, static_cast<size_t>(n)) : std::string();
  }
  // The next datagram of type letter `type` (others are skipped), or an
  // empty string when none came within timeoutMs.
  std::string ReceiveType(char type, int timeoutMs) {
    using namespace std::chrono;
    auto end = steady_clock::now() + milliseconds(timeoutMs);
    for (auto now = steady_clock::now(); now < end; now = steady_clock::now()) {
      std::string d = Receive(static_cast<int>(duration_cast<milliseconds>(end - now).count()) + 1);
      if (d.size() >= 3 && d[2] == type) return d;
    }
    return {};
  }

 private:
  int fd_ = -1;
  sockaddr_in server_;
};

// vrask-server started in a directory, its stdout written to a file there.
class ServerProcess {
 public:
  // program: another of the build's programs run the same way (vrask-bots).
  ServerProcess(const std::string& dir, const std::vector<std::string>& args,
                const std::string& program = "vrask-server") {
    static int started = 0;
    out_ = dir + "/server" + std::to_string(++started) + ".out";
    pid_ = fork();
    if (pid_ == 0) {
      int fd = open(out_.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
      if (fd < 0 || dup2(fd, 1) < 0 || chdir(dir.c_str()) != 0) _exit(127);
      std::string bin = std::string(VRASK_BINARY_DIR) + "/" + program;
      std::vector<char*> argv{bin.data()};
      for (auto& a : args) argv.push_back(const_cast<char*>(a.c_str()));
      argv.push_back(nullptr);
      execv(bin.c_str(), argv.data());
      _exit(127);
    }
  }
  ~ServerProcess() { Stop(SIGKILL); }

  // Everything printed so far.
  std::string Output() const {
    std::ifstream in(out_);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }

  // Waits up to timeoutMs for a whole output line equal to `line`.
  bool WaitForLine(const std::string& line, int timeoutMs) {
    for (int waited = 0;; waited += 10) {
      std::ifstream in(out_);
      for (std::string got; std::getline(in, got);)
        if (got == line) return true;
      if (waited >= timeoutMs) return false;
      usleep(10000);
    }
  }

  // Waits up to timeoutMs for the process to end by itself (then kills it);
  // returns the exit status, or -1 when it did not exit normally.
  int WaitExit(int timeoutMs) {
    if (pid_ <= 0 || reaped_) return -1;
    int status = 0;
    bool ended = false;
    for (int waited = 0; !(ended = waitpid(pid_, &status, WNOHANG) == pid_) && waited < timeoutMs; waited += 10)
      usleep(10000);
    if (!ended) {
      kill(pid_, SIGKILL);
      waitpid(pid_, &status, 0);
    }
    reaped_ = true;
    return ended && WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }
  // Sends sig and waits up to 5 s for the exit.
  int Stop(int sig) {
    if (pid_ > 0 && !reaped_) kill(pid_, sig);
    return WaitExit(5000);
  }

 private:
  pid_t pid_ = -1;
  bool reaped_ = false;
  std::string out_;
};
