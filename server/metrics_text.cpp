#include "server/metrics_text.h"

#include <cstdio>

namespace {

class Page {
 public:
  void Family(const char* name, const char* type, const char* help) {
    text_ += std::string("# HELP ") + name + " " + help + "\n# TYPE " + name + " " + type + "\n";
  }
  void Sample(const std::string& name, const std::string& labels, double value) {
    char number[32];
    std::snprintf(number, sizeof number, "%.17g", value);
    text_ += name + (labels.empty() ? "" : "{" + labels + "}") + " " + number + "\n";
  }
  // One family with a type="x" sample per letter that has been seen.
  void ByType(const char* name, const char* help, const std::array<uint64_t, ServerCounters::kTypes>& v) {
    Family(name, "counter", help);
    for (int t = 0; t < ServerCounters::kTypes; ++t) {
      if (v[t] == 0) continue;
      std::string type = t == ServerCounters::kOtherType ? "other" : std::string(1, char('a' + t));
      Sample(name, "type=\"" + type + "\"", double(v[t]));
    }
  }
  std::string text_;
};

}  // namespace

std::string MetricsText(const OperatorSnapshot& s, double startTime) {
  const ServerCounters& c = s.Counters;
  Page p;
  p.Family("vrask_players", "gauge", "Remote players in the game.");
  p.Sample("vrask_players", "", s.Players);
  p.Family("vrask_places", "gauge", "Player places in use.");
  p.Sample("vrask_places", "", s.Places);
  p.Family("vrask_computer_players", "gauge", "Places the computer plays.");
  p.Sample("vrask_computer_players", "", s.Computers);
  p.ByType("vrask_datagrams_received_total", "Datagrams received, by type letter.", c.DatagramsReceived);
  p.ByType("vrask_received_bytes_total", "Bytes received, by type letter.", c.BytesReceived);
  p.ByType("vrask_datagrams_sent_total", "Datagrams sent, by type letter.", c.DatagramsSent);
  p.ByType("vrask_sent_bytes_total", "Bytes sent, by type letter.", c.BytesSent);
  p.Family("vrask_stranger_replies_refused_total", "counter",
           "Replies to senders without a place refused by the limiter.");
  p.Sample("vrask_stranger_replies_refused_total", "", double(c.StrangerRepliesRefused));
  p.Family("vrask_joins_total", "counter", "Join requests by result: accepted or the denial letter.");
  p.Sample("vrask_joins_total", "result=\"accepted\"", double(c.JoinsAccepted));
  for (int r = 0; r < 26; ++r) {
    if (c.JoinsDenied[r] == 0) continue;
    p.Sample("vrask_joins_total", "result=\"" + std::string(1, char('a' + r)) + "\"", double(c.JoinsDenied[r]));
  }
  p.Family("vrask_time_outs_total", "counter", "Players dropped for silence.");
  p.Sample("vrask_time_outs_total", "", double(c.TimeOuts));
  p.Family("vrask_kicks_total", "counter", "Players kicked.");
  p.Sample("vrask_kicks_total", "", double(c.Kicks));

  const char* late = "vrask_step_lateness_seconds";
  p.Family(late, "histogram", "How long after it was due each step ran.");
  uint64_t cumulative = 0;
  for (size_t b = 0; b < ServerCounters::kLatenessBoundsMs.size(); ++b) {
    cumulative += c.LatenessBuckets[b];
    char le[32];
    std::snprintf(le, sizeof le, "le=\"%g\"", ServerCounters::kLatenessBoundsMs[b] / 1000.0);
    p.Sample(std::string(late) + "_bucket", le, double(cumulative));
  }
  p.Sample(std::string(late) + "_bucket", "le=\"+Inf\"", double(c.Steps));
  p.Sample(std::string(late) + "_sum", "", c.LatenessSumMs / 1000.0);
  p.Sample(std::string(late) + "_count", "", double(c.Steps));

  p.Family("process_start_time_seconds", "gauge", "Start time of the process since unix epoch in seconds.");
  p.Sample("process_start_time_seconds", "", startTime);
  return p.text_;
}
