#include "server/metrics_server.h"

#include <httplib.h>

#include <chrono>

#include "server/metrics_text.h"

namespace {

// Runs each request on the listening thread itself, so the whole page is
// served by one thread (cpp-httplib would otherwise start a pool).
class OnListeningThread : public httplib::TaskQueue {
 public:
  void enqueue(std::function<void()> fn) override { fn(); }
  void shutdown() override {}
};

}  // namespace

MetricsServer::MetricsServer(SnapshotBox& box)
    : box_(box),
      startTime_(std::chrono::duration<double>(std::chrono::system_clock::now().time_since_epoch()).count()),
      http_(std::make_unique<httplib::Server>()) {}

MetricsServer::~MetricsServer() { Stop(); }

bool MetricsServer::Start(const std::string& host, int port) {
  http_->new_task_queue = [] { return new OnListeningThread; };
  // One request per connection and short time-outs: a slow scraper holds
  // the one thread for at most a few seconds.
  http_->set_keep_alive_max_count(1);
  http_->set_read_timeout(2, 0);
  http_->set_write_timeout(2, 0);
  http_->Get("/metrics", [this](const httplib::Request&, httplib::Response& res) {
    res.set_content(MetricsText(box_.Read(), startTime_), "text/plain; version=0.0.4; charset=utf-8");
  });
  if (port == 0) {
    port_ = http_->bind_to_any_port(host);
    if (port_ < 0) return false;
  } else {
    if (!http_->bind_to_port(host, port)) return false;
    port_ = port;
  }
  thread_ = std::thread([this] { http_->listen_after_bind(); });
  return true;
}

void MetricsServer::Stop() {
  if (!thread_.joinable()) return;
  http_->stop();
  thread_.join();
}
