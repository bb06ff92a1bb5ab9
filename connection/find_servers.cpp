#include "connection/find_servers.h"

#include <algorithm>

namespace {

// Between two looks at the socket; an answer's ping is exact to this.
constexpr uint32_t kPollMs = 5;
const NetAddress kThisMachine = NetAddress::Of(127, 0, 0, 1, 0);

// One server that answers on two paths (the interface's broadcast and
// 127.0.0.1) sends from two addresses of this machine; both name it.
NetAddress Canonical(NetAddress a, const std::vector<NetAddress>& ownAddresses) {
  bool own = a.ip[0] == 127;
  for (const NetAddress& o : ownAddresses) own = own || o.ip == a.ip;
  if (own) a.ip = kThisMachine.ip;
  return a;
}

}  // namespace

std::vector<FoundServer> FindServers(Network& net, Clock& clock, uint16_t typedPort,
                                     uint32_t windowMs) {
  std::vector<FoundServer> found;
  std::unique_ptr<UdpSocket> socket = net.CreateBroadcastSocket();
  std::vector<NetAddress> targets;
  if (socket) targets = net.BroadcastAddresses();
  else socket = net.CreateSocket();  // no broadcast here: this machine only
  if (!socket) return found;
  targets.push_back(kThisMachine);

  std::vector<uint16_t> ports;
  for (uint16_t p = kFirstSearchPort; p <= kLastSearchPort; ++p) ports.push_back(p);
  if (typedPort != 0 && std::find(ports.begin(), ports.end(), typedPort) == ports.end())
    ports.push_back(typedPort);

  // The machine's own addresses, asked once: answers from them are merged
  // with those on 127.0.0.1.
  std::vector<NetAddress> own = net.LocalAddresses();
  std::vector<NetAddress> keys;

  DatagramBuffer request;
  BuildInfoRequest(request);
  const uint32_t start = clock.TickCount();
  for (const NetAddress& t : targets) {
    for (uint16_t p : ports) {
      NetAddress to = t;
      to.port = p;
      // A refused or failed send only means no answer from there.
      socket->SendTo(to, request.data(), request.size());
    }
  }

  uint8_t buf[kClientReceiveMax];
  while (clock.TickCount() - start < windowMs) {
    int waiting = socket->Pending();
    if (waiting == 0) {
      clock.Sleep(kPollMs);
      continue;
    }
    if (waiting < 0) break;  // the socket failed: what came so far stands
    NetAddress from;
    int len = socket->ReceiveFrom(buf, sizeof buf, &from);
    if (len == UdpSocket::kNothingWaiting) continue;
    if (len < 0) break;
    ServerInfo info;
    if (std::find(ports.begin(), ports.end(), from.port) == ports.end()) continue;
    if (!ParseInfoAnswer(buf, static_cast<size_t>(len), &info)) continue;
    NetAddress key = Canonical(from, own);
    if (std::find(keys.begin(), keys.end(), key) != keys.end()) continue;
    if (found.size() >= kMaxServersFound) continue;
    keys.push_back(key);
    found.push_back({from, std::move(info), clock.TickCount() - start});
  }
  return found;
}

std::string ServerListLine(const FoundServer& s) {
  auto clean = [](std::string t) {
    for (char& c : t)
      if (static_cast<unsigned char>(c) < ' ' || c == 0x7F) c = ' ';
    return t;
  };
  return s.address.DottedIp() + ":" + std::to_string(s.address.port) + "\t" + clean(s.info.name) +
         "\t" + clean(s.info.description) + "\t" + std::to_string(s.info.players) + "/" +
         std::to_string(s.info.places) + "\t" + std::to_string(s.pingMs) + " ms";
}
