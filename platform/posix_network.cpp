#include "platform/posix_network.h"

#include <arpa/inet.h>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <ifaddrs.h>
#include <net/if.h>
#include <netdb.h>
#include <netinet/in.h>
#include <poll.h>
#include <thread>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

sockaddr_in ToSockaddr(const NetAddress& a) {
  sockaddr_in s{};
  s.sin_family = AF_INET;
  s.sin_port = htons(a.port);
  std::memcpy(&s.sin_addr, a.ip.data(), 4);
  return s;
}

NetAddress FromSockaddr(const sockaddr_in& s) {
  NetAddress a;
  std::memcpy(a.ip.data(), &s.sin_addr, 4);
  a.port = ntohs(s.sin_port);
  return a;
}

// Addresses no honest peer sends from; replying to them only draws errors.
bool Unanswerable(const NetAddress& a) {
  if (a.port == 0) return true;
  if (a.ip == std::array<uint8_t, 4>{0, 0, 0, 0}) return true;
  if (a.ip == std::array<uint8_t, 4>{255, 255, 255, 255}) return true;
  return a.ip[0] >= 224;  // multicast and reserved
}

class PosixSocket : public UdpSocket {
 public:
  explicit PosixSocket(int fd) : fd_(fd) {}
  ~PosixSocket() override {
    shutdown(fd_, SHUT_RD);
    close(fd_);
  }

  bool Bind(uint16_t port) override {
    sockaddr_in s{};
    s.sin_family = AF_INET;
    s.sin_port = htons(port);
    s.sin_addr.s_addr = htonl(INADDR_ANY);
    if (bind(fd_, reinterpret_cast<sockaddr*>(&s), sizeof s) == 0) return true;
    lastError_ = errno;
    return false;
  }

  SendResult SendTo(const NetAddress& to, const uint8_t* data, size_t len) override {
    if (Unanswerable(to)) return SendResult::Dropped;
    sockaddr_in s = ToSockaddr(to);
    ssize_t n = sendto(fd_, data, len, MSG_DONTWAIT | MSG_NOSIGNAL,
                       reinterpret_cast<sockaddr*>(&s), sizeof s);
    if (n >= 0) return SendResult::Sent;
    lastError_ = errno;
    switch (errno) {
      case EAGAIN:
#if EWOULDBLOCK != EAGAIN
      case EWOULDBLOCK:
#endif
      case ENOBUFS:
      case ENETUNREACH:
      case EHOSTUNREACH:
      case ENETDOWN:
      case EHOSTDOWN:
      case ECONNREFUSED:
      case EACCES:
      case EPERM:
      case EADDRNOTAVAIL:
      case EINVAL:
      case EINTR:
        return SendResult::Dropped;
      default:
        return SendResult::Failed;
    }
  }

  int Pending() override {
    // Poll rather than trust FIONREAD alone: an empty datagram reports 0
    // bytes and would otherwise sit at the head of the queue for ever.
    pollfd p{fd_, POLLIN, 0};
    int r = poll(&p, 1, 0);
    if (r < 0) {
      lastError_ = errno;
      return errno == EINTR ? 0 : -1;
    }
    if (r == 0 || !(p.revents & (POLLIN | POLLERR))) return 0;
    int bytes = 0;
    if (ioctl(fd_, FIONREAD, &bytes) != 0) {
      lastError_ = errno;
      return -1;
    }
    return bytes > 0 ? bytes : 1;
  }

  int ReceiveFrom(uint8_t* buf, size_t cap, NetAddress* from) override {
    sockaddr_in s{};
    socklen_t sl = sizeof s;
    ssize_t n = recvfrom(fd_, buf, cap, MSG_DONTWAIT, reinterpret_cast<sockaddr*>(&s), &sl);
    if (n < 0) {
      lastError_ = errno;
      // An error queued by an earlier send (an answer to an address that
      // refused or could not be reached) is about that destination, not
      // about this socket: it must not end the server.
      if (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR || errno == ECONNREFUSED ||
          errno == EHOSTUNREACH || errno == ENETUNREACH || errno == EHOSTDOWN ||
          errno == ENETDOWN)
        return kNothingWaiting;
      return -1;
    }
    if (from) *from = FromSockaddr(s);
    return static_cast<int>(n);
  }

  int LastError() override { return lastError_; }
  int fd() const { return fd_; }

 private:
  int fd_;
  int lastError_ = 0;
};

}  // namespace

std::unique_ptr<UdpSocket> PosixNetwork::CreateSocket() {
  int fd = socket(AF_INET, SOCK_DGRAM, 0);
  if (fd < 0) return nullptr;
  if (hasSource_) {
    sockaddr_in s = ToSockaddr(source_);
    if (bind(fd, reinterpret_cast<sockaddr*>(&s), sizeof s) != 0) {
      close(fd);
      return nullptr;
    }
  }
  return std::make_unique<PosixSocket>(fd);
}

bool PosixNetwork::Resolve(const std::string& name, NetAddress* out) {
  addrinfo hints{};
  hints.ai_family = AF_INET;
  hints.ai_socktype = SOCK_DGRAM;
  addrinfo* res = nullptr;
  if (getaddrinfo(name.c_str(), nullptr, &hints, &res) != 0 || !res) return false;
  *out = FromSockaddr(*reinterpret_cast<sockaddr_in*>(res->ai_addr));
  freeaddrinfo(res);
  return true;
}

std::vector<NetAddress> PosixNetwork::LocalAddresses() {
  std::vector<NetAddress> outside, loopback;
  ifaddrs* list = nullptr;
  if (getifaddrs(&list) != 0) return {};
  for (ifaddrs* i = list; i; i = i->ifa_next) {
    if (!i->ifa_addr || i->ifa_addr->sa_family != AF_INET) continue;
    NetAddress a = FromSockaddr(*reinterpret_cast<sockaddr_in*>(i->ifa_addr));
    a.port = 0;
    (a.ip[0] == 127 ? loopback : outside).push_back(a);
  }
  freeifaddrs(list);
  return outside.empty() ? loopback : outside;
}

std::vector<NetAddress> PosixNetwork::BroadcastAddresses() {
  std::vector<NetAddress> out;
  ifaddrs* list = nullptr;
  if (getifaddrs(&list) != 0) return out;
  for (ifaddrs* i = list; i; i = i->ifa_next) {
    if (!i->ifa_addr || i->ifa_addr->sa_family != AF_INET) continue;
    if (!(i->ifa_flags & IFF_UP) || !(i->ifa_flags & IFF_BROADCAST)) continue;
    if (!i->ifa_broadaddr || i->ifa_broadaddr->sa_family != AF_INET) continue;
    NetAddress a = FromSockaddr(*reinterpret_cast<sockaddr_in*>(i->ifa_broadaddr));
    a.port = 0;
    if (a.ip == std::array<uint8_t, 4>{}) continue;
    bool seen = false;
    for (const NetAddress& o : out) seen = seen || o.ip == a.ip;
    if (!seen) out.push_back(a);
  }
  freeifaddrs(list);
  return out;
}

std::unique_ptr<UdpSocket> PosixNetwork::CreateBroadcastSocket() {
  std::unique_ptr<UdpSocket> s = CreateSocket();
  if (!s) return nullptr;
  int on = 1;
  int fd = static_cast<PosixSocket*>(s.get())->fd();
  if (setsockopt(fd, SOL_SOCKET, SO_BROADCAST, &on, sizeof on) != 0) return nullptr;
  return s;
}

void SteadyClock::Sleep(uint32_t ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

uint32_t SteadyClock::TickCount() {
  using namespace std::chrono;
  return static_cast<uint32_t>(
      duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}
