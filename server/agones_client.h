// The Agones SDK calls over the sidecar's REST gateway, on one worker
// thread: ready (retried until the sidecar answers), health while the step
// loop steps, the players label when it changes, and shutdown at the end.
// The game step only hands over a snapshot; a sidecar that is missing,
// slow or failing costs the game nothing and is reported on the report
// callback at most once per report interval.
#pragma once

#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <string>
#include <thread>

#include "server/operator_snapshot.h"

struct AgonesTimings {
  using ms = std::chrono::milliseconds;
  ms FirstRetry{100};  // pause after the first failed ready, doubled up to MaxRetry
  ms MaxRetry{2000};
  ms Health{2000};     // the fleet's health period must match
  ms Poll{100};        // how often the worker looks at the snapshot
  ms Request{1000};    // connect, read and write time-out of one call
  ms Report{60000};    // at most one problem report per this
};

// The sidecar's port from AGONES_SDK_HTTP_PORT (9358 when unset); -1 when
// the variable holds no port number.
int AgonesSdkPort(const char* environmentValue);

class AgonesClient {
 public:
  AgonesClient(std::string host, int port, SnapshotBox& box, AgonesTimings timings,
               std::function<void(const std::string&)> report);
  ~AgonesClient();

  void Start();
  // Sends shutdown (bounded by the request time-out) and ends the worker.
  void Shutdown();

 private:
  void Work();
  bool Call(const char* method, const char* path, const std::string& body);
  void Problem(const std::string& what);
  // Sleeps up to d; true when Shutdown asked the worker to finish.
  bool Pause(std::chrono::milliseconds d);

  std::string host_;
  int port_;
  SnapshotBox& box_;
  AgonesTimings t_;
  std::function<void(const std::string&)> report_;
  std::chrono::steady_clock::time_point lastReport_;
  bool reported_ = false;
  std::mutex mutex_;
  std::condition_variable wake_;
  bool stopping_ = false;
  std::thread thread_;
};
