// GET /metrics for Prometheus, on one thread of its own: it reads the
// latest snapshot the step handed over and never touches the game state.
#pragma once

#include <memory>
#include <string>
#include <thread>

#include "server/operator_snapshot.h"

namespace httplib {
class Server;
}

class MetricsServer {
 public:
  explicit MetricsServer(SnapshotBox& box);
  ~MetricsServer();

  // Binds host:port (port 0 picks a free one) and starts serving. False
  // when the address cannot be bound.
  bool Start(const std::string& host, int port);
  int Port() const { return port_; }
  void Stop();

 private:
  SnapshotBox& box_;
  double startTime_;
  std::unique_ptr<httplib::Server> http_;
  std::thread thread_;
  int port_ = 0;
};
