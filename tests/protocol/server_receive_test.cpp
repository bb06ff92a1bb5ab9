// The server's handling of each datagram type, on the recording socket.
// Update parity and time-outs run on a real socket in server_loopback_test.
#include <gtest/gtest.h>

#include <cstring>

#include "protocol/datagrams.h"
#include "protocol/server_send.h"
#include "tests/protocol/server_fixture.h"

namespace {

const std::string kJoin = "PMc10 - I wanna play!\r\n";
const std::string kKey = " - Key Signature";

std::vector<std::string> Denials(const std::string& reasons) {
  std::vector<std::string> out;
  for (char r : reasons) {
    DatagramBuffer b;
    BuildDenial(b, r);
    out.emplace_back(b.bytes.begin(), b.bytes.begin() + b.len);
  }
  return out;
}

TEST(ServerJoinTest, AcceptTakesTheFirstComputerSlotAndAnnouncesThePlayer) {
  ServerGame s;
  s.g.TickInterval = 60;
  s.g.Players[0].Kind = KindInternet;  // slot 0 is taken by someone else
  s.g.Players[0].Address = Client(9);
  s.g.Players[1].UpdateSeq = 77;
  ASSERT_EQ(s.Join(Client(1)), 1);
  const PlayerSlot& p = s.g.Players[1];
  EXPECT_EQ(p.Kind, 'i');
  EXPECT_STREQ(p.Name, "Comp 2");  // the name comes later, in a name datagram
  EXPECT_EQ(p.UpdateSeq, 77);      // kept between joins
  DatagramBuffer accept;
  BuildAccept(accept, 60);
  auto replies = s.SentTo(Client(1));
  ASSERT_EQ(replies.size(), 2u);
  EXPECT_EQ(replies[0], std::string(accept.bytes.begin(), accept.bytes.begin() + 100));
  EXPECT_EQ(replies[1][2], 't');  // the board, with the news
  EXPECT_EQ(s.NewestBoardText(), "Player Has Joined =)");
}

TEST(ServerJoinTest, EachDenialAloneAndAllFourInOrder) {
  ScopedTempDir dir;
  {
    ServerGame s;  // a repeated join (lost accept) from a held slot
    s.Join(Client(1));
    s.ClearSent();
    s.Receive(Client(1), kJoin);
    EXPECT_EQ(s.SentTo(Client(1)), Denials("a"));
  }
  {
    ServerGame s(1);  // a computer slot counts as free; a remote one does not
    EXPECT_EQ(s.Join(Client(1)), 0);
    s.Receive(Client(2), kJoin);
    EXPECT_EQ(s.SentTo(Client(2)), Denials("f"));
  }
  {
    ServerGame s;
    s.Receive(Client(3), "PMc1");  // too short to carry the version digits
    s.Receive(Client(3), "PMc01 - I wanna play!\r\n");
    EXPECT_EQ(s.SentTo(Client(3)), Denials("vv"));
  }
  WriteFile("banlist.dat", std::string("\x0a\x00\x00\x07,\x0a\x00\x00\x04,\x0a\x00", 12));
  {
    ServerGame s;
    s.Receive(Client(4), kJoin);
    EXPECT_EQ(s.SentTo(Client(4)), Denials("b"));
    EXPECT_EQ(FindSenderSlot(s.g, Client(4)), -1);
    EXPECT_GE(s.Join(Client(5)), 0);  // 10.0.0.5 is not listed
  }
  // Connected from another port, full, wrong version and banned: all four.
  ServerGame s(2);
  s.Join(Client(1));
  s.Join(Client(2));
  WriteFile("banlist.dat", std::string("\x0a\x00\x00\x01,", 5));
  s.ClearSent();
  s.Receive(Client(1, 6000), "PMc11 - I wanna play!\r\n");
  EXPECT_EQ(s.SentTo(Client(1, 6000)), Denials("afvb"));
  EXPECT_EQ(s.g.Players[0].Address, Client(1));  // the held slot keeps its port
}

TEST(ServerReceiveTest, KeysActOnTheSendersSlotOnly) {
  ServerGame s;
  int slot = s.Join(Client(1));
  PlayerSlot& p = s.g.Players[slot];
  p.Silence = 50;
  s.Receive(Client(1, 7777), "PMgr" + kKey);  // another port, same host
  EXPECT_EQ(p.WantDir, 'r');
  EXPECT_EQ(p.Silence, 0u);
  p.Energy = 5;
  s.Receive(Client(1), "PMgp" + kKey);
  EXPECT_EQ(p.Shield, 1);
  s.Receive(Client(1), "PMga" + kKey);
  EXPECT_EQ(p.Shield, 0);
  s.Receive(Client(1), "PMg");  // no key byte: ignored
  s.Receive(Client(2), "PMgl" + kKey);  // no slot: ignored
  for (const PlayerSlot& q : s.g.Players) EXPECT_NE(q.WantDir, 'l');

  // Fire with full energy; a dead player reappears and does not fire.
  p.Energy = kFullEnergy;
  p.Dir = 'u';
  s.Receive(Client(1), "PMgb" + kKey);
  EXPECT_EQ(s.g.Fireballs[slot].State, 'f');
  EXPECT_EQ(s.g.Fireballs[slot].Y, p.Y - 39);
  s.g.Fireballs[slot].State = 'c';
  p.Life = Dead;
  p.Energy = 0;
  s.Receive(Client(1), "PMgb" + kKey);
  EXPECT_EQ(p.Life, Alive);
  EXPECT_EQ(s.g.Fireballs[slot].State, 'c');
}

TEST(ServerReceiveTest, NamesStayInTheFieldAndChatIsCutTo26InTheSendersColour) {
  ServerGame s;
  s.g.SoundsOn = 1;
  s.Join(Client(1));
  int slot = s.Join(Client(2));
  PlayerSlot& p = s.g.Players[slot];
  s.ClearSent();
  s.Receive(Client(2), std::string("PMnAlice\0", 9));
  EXPECT_STREQ(p.Name, "Alice");
  EXPECT_EQ(s.SentTo(Client(2)).back()[2], 't');
  s.Receive(Client(2), "PMnABCDEFGHIJKLMNOPQRSTUVWXYZ");  // too long, no terminator
  EXPECT_STREQ(p.Name, "ABCDEFGHIJK");
  s.Receive(Client(2), "PMnBob");
  EXPECT_STREQ(p.Name, "Bob");

  p.Silence = 9;
  s.Receive(Client(2), "PMt123456789012345678901234567890");  // 30 characters, no NUL
  const char* line = s.g.Board.Lines[kChatLines - 1];
  EXPECT_EQ(s.NewestBoardText(), "12345678901234567890123456");
  EXPECT_EQ(std::memcmp(line, s.g.PlayerColours[slot], 3), 0);
  EXPECT_EQ(p.Silence, 0u);
  EXPECT_EQ(s.rec.audio.effects, std::vector<std::string>{"ring.wav"});
  s.Receive(Client(3), std::string("PMtnot a player\0", 16));
  EXPECT_EQ(s.NewestBoardText(), "12345678901234567890123456");
}

TEST(ServerReceiveTest, LeavingHandsTheSlotToTheComputerNamedByNumber) {
  ServerGame s;
  ASSERT_EQ(s.Join(Client(1)), 0);
  s.Receive(Client(1), std::string("PMnZed\0", 7));
  s.Receive(Client(1), "PMs - I am shutting down, ta ta...");
  EXPECT_EQ(s.g.Players[0].Kind, 'c');
  EXPECT_STREQ(s.g.Players[0].Name, "Comp 1");
  EXPECT_EQ(s.g.Players[0].Active, 1);
  EXPECT_EQ(s.NewestBoardText(), "Zed Has Left :(");
  // The client's time-out notice counts as leaving too.
  ASSERT_EQ(s.Join(Client(2)), 0);
  s.Receive(Client(2), std::string("PMnYan\0", 7));
  s.Receive(Client(2), std::string("PMst - You have timed out\0", 26));
  EXPECT_STREQ(s.g.Players[0].Name, "Comp 1");
  EXPECT_EQ(s.g.Players[0].Kind, 'c');
  // Without computer players the place becomes free.
  ServerGame empty(8, false);
  int slot = empty.Join(Client(3));
  empty.Receive(Client(3), "PMs");
  EXPECT_EQ(empty.g.Players[slot].Active, 0);
}

TEST(ServerSendTest, MapIsSentAgainWhileTheSequenceReads250) {
  ServerGame s;
  ASSERT_EQ(s.Join(Client(1)), 0);
  s.g.Players[0].UpdateSeq = 249;
  s.ClearSent();
  for (int step = 0; step < 8; ++step) {
    s.g.SendParity = 1 - s.g.SendParity;
    ServerSend(s.g);
  }
  int maps = 0;
  for (auto& d : s.SentTo(Client(1))) maps += d[2] == 'f' && d.size() == 199;
  EXPECT_EQ(maps, 2);  // served every second step: the value is 250 for two
}

// Claims data three times and answers with `result`, then reads the inbox.
struct ScriptedSocket : RecordingSocket {
  int result = 0, calls = 0;
  int Pending() override { return calls < 3 ? 1 : RecordingSocket::Pending(); }
  int ReceiveFrom(uint8_t* b, size_t c, NetAddress* f) override {
    return ++calls <= 3 ? result : RecordingSocket::ReceiveFrom(b, c, f);
  }
};

TEST(ServerReceiveTest, AFailedReceiveIsFatalButNothingWaitingIsNot) {
  for (int result : {-1, UdpSocket::kNothingWaiting}) {
    ServerGame s;
    auto sock = std::make_unique<ScriptedSocket>();
    sock->result = result;
    sock->Queue(Client(1), "PMf");
    RecordingSocket* raw = sock.get();
    s.g.Socket = std::move(sock);
    ServerReceive(s.g);
    bool failed = result == -1;
    ASSERT_EQ(s.rec.ui.boxes.size(), failed ? 1u : 0u);
    for (auto& box : s.rec.ui.boxes) EXPECT_EQ(box.text, "Receive error #1\nInternal error #10054");
    EXPECT_EQ(s.rec.ui.quits, failed ? 1 : 0);
    EXPECT_EQ(raw->sent.size(), failed ? 0u : 1u);  // a failure ends the loop
  }
}

TEST(ServerReceiveTest, AFloodIsSpreadOverSteps) {
  ServerGame s;
  s.Join(Client(1));  // a player's map requests are all answered
  s.ClearSent();
  for (int i = 0; i < 2100; ++i) s.socket().Queue(Client(1, static_cast<uint16_t>(i)), "PMf");
  ServerReceive(s.g);
  EXPECT_EQ(s.socket().sent.size(), 2048u);
  ServerReceive(s.g);
  EXPECT_TRUE(s.socket().inbox.empty());
}

}  // namespace
