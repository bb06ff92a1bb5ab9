// Real UDP over the loopback range for the network tests: a client socket
// bound to its own 127.0.0.x address (the server tells players apart by
// IPv4 address), and a running vrask-server process. Every wait is bounded.
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
#include <cstring>
#include <string>
#include <vector>

#include "protocol/datagrams.h"

inline sockaddr_in LoopbackAddr(const char* ip, uint16_t port) {
  sockaddr_in s{};
  s.sin_family = AF_INET;
  s.sin_port = htons(port);
  inet_pton(AF_INET, ip, &s.sin_addr);
  return s;
}

// A port that was free a moment ago.
inline uint16_t FreeUdpPort() {
  int fd = socket(AF_INET, SOCK_DGRAM, 0);
  sockaddr_in s = LoopbackAddr("127.0.0.1", 0);
  bind(fd, reinterpret_cast<sockaddr*>(&s), sizeof s);
  socklen_t len = sizeof s;
  getsockname(fd, reinterpret_cast<sockaddr*>(&s), &len);
  close(fd);
  return ntohs(s.sin_port);
}

class UdpTestClient {
 public:
  UdpTestClient(const char* ip, uint16_t serverPort) : server_(LoopbackAddr("127.0.0.1", serverPort)) {
    fd_ = socket(AF_INET, SOCK_DGRAM, 0);
    sockaddr_in me = LoopbackAddr(ip, 0);
    bound_ = bind(fd_, reinterpret_cast<sockaddr*>(&me), sizeof me) == 0;
  }
  ~UdpTestClient() { close(fd_); }
  UdpTestClient(const UdpTestClient&) = delete;
  UdpTestClient& operator=(const UdpTestClient&) = delete;

  bool bound() const { return bound_; }
  void Send(const std::string& bytes) {
    sendto(fd_, bytes.data(), bytes.size(), 0, reinterpret_cast<const sockaddr*>(&server_), sizeof server_);
  }
  void Send(const DatagramBuffer& b) { Send(std::string(b.bytes.begin(), b.bytes.begin() + b.len)); }
  // The next datagram within timeoutMs, or an empty string.
  std::string Receive(int timeoutMs) {
    pollfd p{fd_, POLLIN, 0};
    if (poll(&p, 1, timeoutMs) <= 0) return {};
    char buf[512];
    ssize_t n = recv(fd_, buf, sizeof buf, 0);
    return n > 0 ? std::string(buf, static_cast<size_t>(n)) : std::string();
  }
  // The next datagram whose type letter is `type` (others are skipped), or
  // an empty string when none came within timeoutMs.
  std::string ReceiveType(char type, int timeoutMs) {
    auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
      int left = static_cast<int>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                      end - std::chrono::steady_clock::now()).count());
      if (left <= 0) return {};
      std::string d = Receive(left);
      if (d.size() >= 3 && d[2] == type) return d;
    }
  }
  // Everything that arrives within ms.
  std::vector<std::string> Drain(int ms) {
    std::vector<std::string> all;
    auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    for (;;) {
      int left = static_cast<int>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                      end - std::chrono::steady_clock::now()).count());
      if (left <= 0) return all;
      std::string d = Receive(left);
      if (!d.empty()) all.push_back(d);
    }
  }

 private:
  int fd_ = -1;
  bool bound_ = false;
  sockaddr_in server_;
};

// vrask-server started in a directory, its stdout read line by line.
class ServerProcess {
 public:
  ServerProcess(const std::string& dir, const std::vector<std::string>& args) {
    int fds[2];
    if (pipe(fds) != 0) return;
    pid_ = fork();
    if (pid_ == 0) {
      dup2(fds[1], 1);
      close(fds[0]);
      close(fds[1]);
      if (chdir(dir.c_str()) != 0) _exit(127);
      std::string bin = std::string(VRASK_BINARY_DIR) + "/vrask-server";
      std::vector<char*> argv{const_cast<char*>(bin.c_str())};
      for (auto& a : args) argv.push_back(const_cast<char*>(a.c_str()));
      argv.push_back(nullptr);
      execv(bin.c_str(), argv.data());
      _exit(127);
    }
    close(fds[1]);
    out_ = fds[0];
  }
  ~ServerProcess() {
    if (pid_ > 0 && !reaped_) Stop(SIGKILL);
    if (out_ >= 0) close(out_);
  }
  pid_t pid() const { return pid_; }

  // Waits up to timeoutMs for a whole output line equal to `line`.
  bool WaitForLine(const std::string& line, int timeoutMs) {
    auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
      size_t nl;
      while ((nl = buffer_.find('\n')) != std::string::npos) {
        std::string got = buffer_.substr(0, nl);
        buffer_.erase(0, nl + 1);
        lines_.push_back(got);
        if (got == line) return true;
      }
      int left = static_cast<int>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                      end - std::chrono::steady_clock::now()).count());
      if (left <= 0) return false;
      pollfd p{out_, POLLIN, 0};
      if (poll(&p, 1, left) <= 0) return false;
      char buf[256];
      ssize_t n = read(out_, buf, sizeof buf);
      if (n <= 0) return false;
      buffer_.append(buf, static_cast<size_t>(n));
    }
  }
  const std::vector<std::string>& lines() const { return lines_; }

  // Sends sig and waits up to 5 s; returns the exit status, or -1 when the
  // process had to be killed or did not exit normally.
  int Stop(int sig) {
    if (pid_ <= 0 || reaped_) return -1;
    kill(pid_, sig);
    int status = 0;
    for (int i = 0; i < 500; ++i) {
      if (waitpid(pid_, &status, WNOHANG) == pid_) {
        reaped_ = true;
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
      }
      usleep(10000);
    }
    kill(pid_, SIGKILL);
    waitpid(pid_, &status, 0);
    reaped_ = true;
    return -1;
  }
  // Waits up to timeoutMs for the process to end by itself.
  int WaitExit(int timeoutMs) {
    int status = 0;
    for (int waited = 0; waited < timeoutMs; waited += 10) {
      if (waitpid(pid_, &status, WNOHANG) == pid_) {
        reaped_ = true;
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
      }
      usleep(10000);
    }
    return Stop(SIGKILL);
  }

 private:
  pid_t pid_ = -1;
  int out_ = -1;
  bool reaped_ = false;
  std::string buffer_;
  std::vector<std::string> lines_;
};
