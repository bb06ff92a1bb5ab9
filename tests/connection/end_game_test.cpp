#include "connection/end_game.h"

#include <gtest/gtest.h>

#include <cstring>

#include "game/frame_transitions.h"
#include "platform/menu_ids.h"
#include "protocol/datagrams.h"
#include "support/test_game.h"

namespace {

// A socket that hands what was sent on to the test when EndGame closes it.
struct ClosedSocket : RecordingSocket {
  std::vector<Datagram>* kept;
  explicit ClosedSocket(std::vector<Datagram>* k) : kept(k) {}
  ~ClosedSocket() override { *kept = sent; }
};

struct EndGameTest : ::testing::Test {
  ScopedTempDir dir;
  // Before the game: the socket, if EndGame kept it, is closed with the game.
  std::vector<RecordingSocket::Datagram> sentOnOldSocket;
  TestGame t;
  GameState& g = t.g;
  const std::string leaving{reinterpret_cast<const char*>(kLeavingDatagram), kLeavingLength};

  void SetUp() override {
    WriteFile("pakmap.map", BorderMapText());
    g.Socket = std::make_unique<ClosedSocket>(&sentOnOldSocket);
    // A game in progress: a full board, half a chat line, a fireball out.
    std::memset(g.Board.Lines, 'x', sizeof g.Board.Lines);
    std::strcpy(g.ChatInput, "hello");
    g.ChatInputLength = 5;
    g.LocalSlot = 0;
    g.ConnectionStatus = "Server Running";
    g.MapDirty = 0;
    g.Fireballs[2] = Fireball{FireFlying, 200, 120, 'r', 190, 120, 0};
  }
  PlayerSlot& Slot(int i, char kind, uint8_t lastByte) {
    PlayerSlot& p = g.Players[i];
    p.Active = 1;
    p.Kind = kind;
    p.Address = NetAddress::Of(127, 0, 0, lastByte, 2727);
    return p;
  }
  std::vector<std::string> Sent(const std::vector<RecordingSocket::Datagram>& ds) const {
    std::vector<std::string> out;
    for (const auto& d : ds)
      out.push_back(d.addr.DottedIp() + " " + std::string(d.bytes.begin(), d.bytes.end()));
    return out;
  }
};

TEST_F(EndGameTest, ServerTellsItsActiveInternetPlayersAndReturnsToIdle) {
  g.IsServer = g.IsClient = 1;
  g.MaxPlayers = 6;
  Slot(0, KindLocal, 1);
  Slot(1, KindInternet, 2);
  Slot(2, KindComputer, 3);
  Slot(3, KindInternet, 4).Active = 0;
  Slot(5, KindInternet, 6);
  Slot(6, KindInternet, 7);  // beyond MaxPlayers
  const int sockets = t.rec.net.socketsCreated;

  EXPECT_EQ(EndGame(g), 1);
  EXPECT_EQ(Sent(sentOnOldSocket),
            (std::vector<std::string>{"127.0.0.2 " + leaving, "127.0.0.6 " + leaving}));
  EXPECT_EQ(t.rec.net.socketsCreated, sockets + 1);
  ASSERT_NE(g.Socket, nullptr);

  EXPECT_EQ(g.IsServer, 0);
  EXPECT_EQ(g.IsClient, 0);
  EXPECT_EQ(g.LocalSlot, 10);
  EXPECT_EQ(g.ConnectionStatus, "Not Connected");
  EXPECT_EQ(g.MapDirty, 1);
  for (int i = 0; i < kSlotCount; ++i) EXPECT_EQ(g.Players[i].Active, 0) << i;
  const Fireball& f = g.Fireballs[2];
  EXPECT_EQ(f.State, FireNone);
  EXPECT_EQ(f.Y, kParkedY);
  EXPECT_EQ(f.DrawY, kParkedY);
  for (int k = 0; k < kChatLines; ++k) EXPECT_EQ(g.Board.Lines[k][0], '\0') << k;
  EXPECT_EQ(g.ChatInputLength, 0);
  EXPECT_EQ(std::string(g.ChatInput, sizeof g.ChatInput), std::string(sizeof g.ChatInput, '\0'));
  for (int id : {CmdServerOptions, CmdDisconnect, CmdPrediction, CmdLoadMap, CmdSaveMap,
                 CmdGenerateMap})
    EXPECT_FALSE(t.rec.ui.enabled.at(id)) << id;
  EXPECT_TRUE(t.rec.ui.enabled.at(CmdNickname));
  EXPECT_EQ(t.rec.ui.enabled.size(), 7u);  // no other item touched
}

TEST_F(EndGameTest, ClientTellsItsServer) {
  g.IsClient = 1;
  g.AllowInternet = 1;
  g.ServerAddress = NetAddress::Of(127, 0, 0, 9, 2727);
  Slot(1, KindInternet, 2);  // what the updates said: not the client's to tell
  g.MaxPlayers = 8;
  EndGame(g);
  EXPECT_EQ(Sent(sentOnOldSocket), std::vector<std::string>{"127.0.0.9 " + leaving});
  EXPECT_EQ(g.IsClient, 0);
}

TEST_F(EndGameTest, WithNoGameNothingIsSentAndTheSocketIsKept) {
  Slot(4, KindInternet, 5);  // left over: places stay as they were
  g.MaxPlayers = 8;
  UdpSocket* before = g.Socket.get();
  const int sockets = t.rec.net.socketsCreated;
  EXPECT_EQ(EndGame(g), 1);
  EXPECT_EQ(g.Socket.get(), before);
  EXPECT_TRUE(static_cast<RecordingSocket*>(before)->sent.empty());
  EXPECT_EQ(t.rec.net.socketsCreated, sockets);
  EXPECT_EQ(g.Players[4].Active, 1);
  EXPECT_EQ(g.Fireballs[2].State, FireFlying);
  // The rest of the idle state is set all the same.
  EXPECT_EQ(g.LocalSlot, 10);
  EXPECT_EQ(g.Board.Lines[7][0], '\0');
  EXPECT_EQ(g.ChatInputLength, 0);
  EXPECT_FALSE(t.rec.ui.enabled.at(CmdDisconnect));
  EXPECT_EQ(g.MapDirty, 1);
}

}  // namespace
