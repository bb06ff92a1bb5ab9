#include "server/agones_client.h"

#include <httplib.h>

#include "shell/option_reader.h"

namespace {
constexpr int kDefaultSdkPort = 9358;
}

int AgonesSdkPort(const char* value) {
  if (!value || !*value) return kDefaultSdkPort;
  long long port;
  return ReadNumber(value, 1, 65535, &port) ? static_cast<int>(port) : -1;
}

AgonesClient::AgonesClient(std::string host, int port, SnapshotBox& box, AgonesTimings timings,
                           std::function<void(const std::string&)> report)
    : host_(std::move(host)), port_(port), box_(box), t_(timings), report_(std::move(report)) {}

AgonesClient::~AgonesClient() { Shutdown(); }

void AgonesClient::Start() { thread_ = std::thread([this] { Work(); }); }

void AgonesClient::Shutdown() {
  if (!thread_.joinable()) return;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    stopping_ = true;
  }
  wake_.notify_all();
  thread_.join();
}

bool AgonesClient::Pause(std::chrono::milliseconds d) {
  std::unique_lock<std::mutex> lock(mutex_);
  return wake_.wait_for(lock, d, [this] { return stopping_; });
}

void AgonesClient::Problem(const std::string& what) {
  auto now = std::chrono::steady_clock::now();
  if (reported_ && now - lastReport_ < t_.Report) return;
  reported_ = true;
  lastReport_ = now;
  if (report_) report_("Agones sidecar at " + host_ + ":" + std::to_string(port_) + ": " + what);
}

bool AgonesClient::Call(const char* method, const char* path, const std::string& body) {
  httplib::Client http(host_, port_);
  auto seconds = [](std::chrono::milliseconds d) { return std::make_pair(d.count() / 1000, (d.count() % 1000) * 1000); };
  auto [s, us] = seconds(t_.Request);
  http.set_connection_timeout(s, us);
  http.set_read_timeout(s, us);
  http.set_write_timeout(s, us);
  httplib::Result r = std::string(method) == "PUT" ? http.Put(path, body, "application/json")
                                                   : http.Post(path, body, "application/json");
  if (!r) {
    Problem(std::string(method) + " " + path + ": " + httplib::to_string(r.error()));
    return false;
  }
  if (r->status != 200) {
    Problem(std::string(method) + " " + path + ": answered " + std::to_string(r->status));
    return false;
  }
  return true;
}

void AgonesClient::Work() {
  // Ready once the sidecar answers; it may start after the server.
  auto pause = t_.FirstRetry;
  bool stop = false;
  while (!stop && !Call("POST", "/ready", "{}")) {
    stop = Pause(pause);
    pause = std::min(pause * 2, t_.MaxRetry);
  }
  int labelled = -1;
  uint64_t stepsAtHealth = box_.Read().Counters.Steps;
  auto nextHealth = std::chrono::steady_clock::now() + t_.Health;
  while (!stop) {
    OperatorSnapshot s = box_.Read();
    if (s.Players != labelled &&
        Call("PUT", "/metadata/label", "{\"key\": \"players\", \"value\": \"" + std::to_string(s.Players) + "\"}"))
      labelled = s.Players;
    auto now = std::chrono::steady_clock::now();
    if (now >= nextHealth) {
      // Only a loop that stepped since the last ping is healthy: a stuck
      // one goes quiet, and Agones replaces the server.
      if (s.Counters.Steps != stepsAtHealth) Call("POST", "/health", "{}");
      stepsAtHealth = s.Counters.Steps;
      nextHealth = now + t_.Health;
    }
    stop = Pause(t_.Poll);
  }
  Call("POST", "/shutdown", "{}");
}
