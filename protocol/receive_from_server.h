// The client's one way to read what its server sent: in the connection
// attempt, in the map's wait and in the step's receive.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/platform.h"

enum class ServerReceive {
  Got,      // a datagram from the server is in the buffer
  Nothing,  // none waits (or the budget is spent)
  Failed,   // the socket failed; the caller reports it with its own number
};

// Reads the datagrams waiting on socket until one comes from server
// (address and port): Got, its bytes in buf (*len of them, cut at cap; the
// rest of buf zero-filled). Datagrams from anyone else are read and
// dropped: anyone could otherwise fake the server's accept, swap its map or
// end the game with a forged notice. A refused or unreachable report about
// an earlier send (a server that stopped) is no datagram, like a lost one.
// With budget, at most *budget datagrams are read (the server's one
// included, each counted off); Nothing once it is spent. A null socket has
// nothing waiting.
ServerReceive ReceiveFromServer(UdpSocket* socket, const NetAddress& server, uint8_t* buf,
                                size_t cap, size_t* len, int* budget = nullptr);
