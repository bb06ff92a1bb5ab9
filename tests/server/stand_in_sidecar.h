// Stands in for the Agones SDK sidecar in the tests: a small HTTP server on
// a loopback port that answers the SDK's REST calls and records each one.
#pragma once

#include <httplib.h>

#include <chrono>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "tests/protocol/loopback.h"

inline int FreeTcpPort() { return FreeLoopbackPort(SOCK_STREAM); }

class StandInSidecar {
 public:
  struct Call {
    std::string method, path, body;
  };
  // How it answers: the status and a pause before each answer.
  explicit StandInSidecar(int status = 200, std::chrono::milliseconds delay = std::chrono::milliseconds(0)) {
    auto record = [this, status, delay](const httplib::Request& req, httplib::Response& res) {
      std::this_thread::sleep_for(delay);
      {
        std::lock_guard<std::mutex> lock(mutex_);
        calls_.push_back({req.method, req.path, req.body});
      }
      res.status = status;
      res.set_content("{}", "application/json");
    };
    for (const char* path : {"/ready", "/health", "/shutdown"}) http_.Post(path, record);
    http_.Put("/metadata/label", record);
  }
  ~StandInSidecar() { Stop(); }

  bool Start(int port) {
    if (!http_.bind_to_port("127.0.0.1", port)) return false;
    thread_ = std::thread([this] { http_.listen_after_bind(); });
    return true;
  }
  void Stop() {
    if (!thread_.joinable()) return;
    http_.stop();
    thread_.join();
  }
  std::vector<Call> Calls(const std::string& path = "") {
    std::lock_guard<std::mutex> lock(mutex_);
    std::vector<Call> out;
    for (const Call& c : calls_)
      if (path.empty() || c.path == path) out.push_back(c);
    return out;
  }
  // Waits up to timeoutMs until `path` was called n times.
  bool WaitFor(const std::string& path, size_t n, int timeoutMs) {
    for (int waited = 0; Calls(path).size() < n; waited += 5) {
      if (waited >= timeoutMs) return false;
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return true;
  }

 private:
  httplib::Server http_;
  std::thread thread_;
  std::mutex mutex_;
  std::vector<Call> calls_;
};
