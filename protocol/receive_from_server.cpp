#include "protocol/receive_from_server.h"

#include <algorithm>
#include <cstring>

ServerReceive ReceiveFromServer(UdpSocket* socket, const NetAddress& server, uint8_t* buf,
                                size_t cap, size_t* len, int* budget) {
  if (!socket) return ServerReceive::Nothing;
  for (;;) {
    if (budget && *budget <= 0) return ServerReceive::Nothing;
    const int waiting = socket->Pending();
    if (waiting == 0) return ServerReceive::Nothing;
    if (budget) --*budget;
    NetAddress from;
    const int got = waiting < 0 ? -1 : socket->ReceiveFrom(buf, cap, &from);
    if (got == UdpSocket::kNothingWaiting) continue;
    if (got < 0) return ServerReceive::Failed;
    if (!(from == server)) continue;
    *len = std::min(static_cast<size_t>(got), cap);
    std::memset(buf + *len, 0, cap - *len);
    return ServerReceive::Got;
  }
}
