// The server's handling of each datagram type, on the recording socket.
#include <gtest/gtest.h>

#include <cstring>

#include "protocol/datagrams.h"
#include "protocol/update_datagram.h"
#include "tests/protocol/server_fixture.h"

namespace {

const std::string kJoin = "PMc10 - I wanna play!\r\n";

std::string DenialText(char r) {
  DatagramBuffer b;
  BuildDenial(b, r);
  return std::string(b.bytes.begin(), b.bytes.begin() + b.len);
}

TEST(ServerJoinTest, AcceptTakesTheFirstComputerSlotAndAnnouncesThePlayer) {
  ServerGame s;
  s.g.TickInterval = 60;
  s.g.Players[0].Kind = KindInternet;  // slot 0 is taken by someone else
  s.g.Players[0].Address = Client(9);
  s.g.Players[1].UpdateSeq = 77;
  int slot = s.Join(Client(1));
  ASSERT_EQ(slot, 1);
  const PlayerSlot& p = s.g.Players[1];
  EXPECT_EQ(p.Kind, 'i');
  EXPECT_EQ(p.Number, 2);
  EXPECT_EQ(p.Address, Client(1));
  EXPECT_STREQ(p.Name, "Comp 2");  // the name comes later, in a name datagram
  EXPECT_EQ(p.UpdateSeq, 77);      // kept between joins
  EXPECT_EQ(p.Dir, 's');
  EXPECT_GE(p.X, 40);
  auto replies = s.SentTo(Client(1));
  ASSERT_FALSE(replies.empty());
  ASSERT_EQ(replies[0].size(), 100u);
  EXPECT_EQ(replies[0].substr(0, 4), "PMok");
  EXPECT_EQ(static_cast<uint8_t>(replies[0][4]), 60);
  EXPECT_EQ(s.NewestBoardText(), "Player Has Joined =)");
  // The board went out after the join, to the new player too.
  EXPECT_EQ(replies.back()[2], 't');
}

TEST(ServerJoinTest, DenialsComeInTheOrderAFVB) {
  ScopedTempDir dir;
  ServerGame s(2);
  s.Join(Client(1));
  s.Join(Client(2));
  // Client 1 is connected, the server is full, the version is wrong and the
  // address is banned: four denials, in order, and nothing changes.
  WriteFile("banlist.dat", std::string("\x0a\x00\x00\x01,", 5));
  s.ClearSent();
  NetAddress otherPort = Client(1, 6000);
  s.Receive(otherPort, "PMc11 - I wanna play!\r\n");
  auto replies = s.SentTo(otherPort);
  ASSERT_EQ(replies.size(), 4u);
  EXPECT_EQ(replies[0], DenialText('a'));
  EXPECT_EQ(replies[1], DenialText('f'));
  EXPECT_EQ(replies[2], DenialText('v'));
  EXPECT_EQ(replies[3], DenialText('b'));
  EXPECT_EQ(replies[3].size(), 63u);
  EXPECT_EQ(s.g.Players[0].Address, Client(1));  // the held slot keeps its port
}

TEST(ServerJoinTest, EachDenialAlone) {
  ScopedTempDir dir;
  {
    ServerGame s;  // a repeated join (lost accept) from a held slot
    s.Join(Client(1));
    s.ClearSent();
    s.Receive(Client(1), kJoin);
    EXPECT_EQ(s.SentTo(Client(1)), std::vector<std::string>{DenialText('a')});
  }
  {
    ServerGame s(1);  // a computer slot counts as free; a remote one does not
    EXPECT_EQ(s.Join(Client(1)), 0);
    s.Receive(Client(2), kJoin);
    EXPECT_EQ(s.SentTo(Client(2)), std::vector<std::string>{DenialText('f')});
  }
  {
    ServerGame s;
    s.Receive(Client(3), "PMc1");  // too short to carry the version digits
    s.Receive(Client(3), "PMc01 - I wanna play!\r\n");
    EXPECT_EQ(s.SentTo(Client(3)), (std::vector<std::string>{DenialText('v'), DenialText('v')}));
  }
  {
    ServerGame s;
    WriteFile("banlist.dat", std::string("\x0a\x00\x00\x07,\x0a\x00\x00\x04,\x0a\x00", 12));
    s.Receive(Client(4), kJoin);
    EXPECT_EQ(s.SentTo(Client(4)), std::vector<std::string>{DenialText('b')});
    EXPECT_EQ(FindSenderSlot(s.g, Client(4)), -1);
    EXPECT_GE(s.Join(Client(5)), 0);  // 10.0.0.5 is not listed
  }
}

TEST(ServerReceiveTest, MapGoesToAnySenderAndOddDatagramsAreDropped) {
  ServerGame s;
  NetAddress stranger = NetAddress::Of(192, 0, 2, 9, 1234);
  s.Receive(stranger, "PMf");
  s.Receive(stranger, "XMf - I need the map\r\n");
  s.Receive(stranger, "PM");
  s.Receive(stranger, "PMg - from nobody");
  s.Receive(stranger, "PMz");
  auto replies = s.SentTo(stranger);
  ASSERT_EQ(replies.size(), 1u);
  ASSERT_EQ(replies[0].size(), 199u);
  EXPECT_EQ(replies[0].substr(0, 3), "PMf");
  EXPECT_EQ(replies[0][3], 2);        // a wall, code 1
  EXPECT_EQ(replies[0][3 + 15], 1);   // floor, code 0
}

TEST(ServerReceiveTest, KeysActOnTheSendersSlotOnly) {
  ServerGame s;
  int slot = s.Join(Client(1));
  PlayerSlot& p = s.g.Players[slot];
  p.Silence = 50;
  s.Receive(Client(1, 7777), "PMgr - Key Signature");  // another port, same host
  EXPECT_EQ(p.WantDir, 'r');
  EXPECT_EQ(p.Silence, 0u);
  p.Energy = 5;
  s.Receive(Client(1), "PMgp - Key Signature");
  EXPECT_EQ(p.Shield, 1);
  s.Receive(Client(1), "PMga - Key Signature");
  EXPECT_EQ(p.Shield, 0);
  s.Receive(Client(1), "PMg");  // no key byte: ignored
  EXPECT_EQ(p.WantDir, 'r');
  s.Receive(Client(2), "PMgl - Key Signature");  // no slot: ignored
  for (const PlayerSlot& q : s.g.Players) EXPECT_NE(q.WantDir, 'l');

  // Fire with full energy; a dead player reappears and does not fire.
  p.Energy = kFullEnergy;
  p.Dir = 'u';
  s.Receive(Client(1), "PMgb - Key Signature");
  EXPECT_EQ(s.g.Fireballs[slot].State, 'f');
  EXPECT_EQ(s.g.Fireballs[slot].Y, p.Y - 39);
  s.g.Fireballs[slot].State = 'c';
  p.Life = Dead;
  p.Energy = 0;
  s.Receive(Client(1), "PMgb - Key Signature");
  EXPECT_EQ(p.Life, Alive);
  EXPECT_EQ(s.g.Fireballs[slot].State, 'c');
  EXPECT_TRUE(s.rec.audio.effects.empty());
}

TEST(ServerReceiveTest, NamesAreCutToTheFieldAndBroadcast) {
  ServerGame s;
  int slot = s.Join(Client(1));
  s.ClearSent();
  s.Receive(Client(1), std::string("PMnAlice\0", 9));
  EXPECT_STREQ(s.g.Players[slot].Name, "Alice");
  EXPECT_EQ(s.SentTo(Client(1)).back()[2], 't');
  // Too long and without terminator: the first 11 characters, terminated.
  s.Receive(Client(1), "PMnABCDEFGHIJKLMNOPQRSTUVWXYZ");
  EXPECT_STREQ(s.g.Players[slot].Name, "ABCDEFGHIJK");
  EXPECT_EQ(s.g.Players[slot].Name[kNameBytes - 1], 0);
  s.Receive(Client(1), "PMnBob");  // unterminated: read as far as it goes
  EXPECT_STREQ(s.g.Players[slot].Name, "Bob");
}

TEST(ServerReceiveTest, ChatIsCutTo26CharactersInTheSendersColour) {
  ServerGame s;
  s.g.SoundsOn = 1;
  s.Join(Client(1));
  int slot = s.Join(Client(2));
  s.g.Players[slot].Silence = 9;
  s.Receive(Client(2), "PMt123456789012345678901234567890");  // 30 characters, no NUL
  const char* line = s.g.Board.Lines[kChatLines - 1];
  EXPECT_EQ(std::string(line + 3), "12345678901234567890123456");
  EXPECT_EQ(std::memcmp(line, s.g.PlayerColours[slot], 3), 0);
  EXPECT_EQ(s.g.Players[slot].Silence, 0u);
  EXPECT_EQ(s.rec.audio.effects, std::vector<std::string>{"ring.wav"});
  s.Receive(Client(3), std::string("PMtnot a player\0", 16));
  EXPECT_EQ(std::string(s.g.Board.Lines[kChatLines - 1] + 3), "12345678901234567890123456");
}

TEST(ServerReceiveTest, LeavingHandsTheSlotToTheComputerNamedByNumber) {
  ServerGame s;
  int slot = s.Join(Client(1));
  ASSERT_EQ(slot, 0);
  s.Receive(Client(1), std::string("PMnZed\0", 7));
  s.Receive(Client(1), "PMs - I am shutting down, ta ta...");
  EXPECT_EQ(s.g.Players[0].Kind, 'c');
  EXPECT_STREQ(s.g.Players[0].Name, "Comp 1");
  EXPECT_EQ(s.g.Players[0].Active, 1);
  EXPECT_EQ(s.NewestBoardText(), "Zed Has Left :(");
  // The client's time-out notice counts as leaving too.
  slot = s.Join(Client(2));
  s.Receive(Client(2), std::string("PMst - You have timed out\0", 26));
  EXPECT_STREQ(s.g.Players[slot].Name, ("Comp " + std::to_string(slot + 1)).c_str());
  // Without computer players the place becomes free.
  ServerGame empty(8, false);
  slot = empty.Join(Client(3));
  empty.Receive(Client(3), "PMs");
  EXPECT_EQ(empty.g.Players[slot].Active, 0);
  EXPECT_EQ(empty.g.Players[slot].Kind, 'c');
}

TEST(ServerTimeoutTest, SilenceAbove400TimesThePlayerOut) {
  ServerGame s;
  int slot = s.Join(Client(1));
  ASSERT_EQ(slot, 0);
  s.Receive(Client(1), std::string("PMnQuiet\0", 9));
  s.ClearSent();
  for (int i = 0; i < 400; ++i) ServerTimeoutTest(s.g, 0);
  EXPECT_EQ(s.g.Players[0].Kind, 'i');
  ServerTimeoutTest(s.g, 0);
  EXPECT_EQ(s.g.Players[0].Kind, 'c');
  EXPECT_STREQ(s.g.Players[0].Name, "Comp 0");  // named from the index
  EXPECT_EQ(s.NewestBoardText(), "Quiet Timed out :(");
  auto sent = s.SentTo(Client(1));
  ASSERT_FALSE(sent.empty());
  EXPECT_EQ(sent.back().size(), 255u);
  EXPECT_EQ(sent.back().substr(0, 26), std::string("PMst - You have timed out\0", 26));
  // Computer slots and the host's own slot are never timed out.
  s.g.Players[1].Silence = 1000;
  ServerTimeoutTest(s.g, 1);
  EXPECT_EQ(s.g.Players[1].Silence, 1000u);
  s.g.Players[0].Kind = KindLocal;
  s.g.LocalSlot = 0;
  for (int i = 0; i < 500; ++i) ServerTimeoutTest(s.g, 0);
  EXPECT_EQ(s.g.Players[0].Kind, 'l');
}

TEST(ServerSendTest, UpdatesGoToHalfThePlayersByParityWithTheirOwnSequence) {
  ServerGame s;
  for (int n = 1; n <= 3; ++n) ASSERT_EQ(s.Join(Client(n)), n - 1);
  s.ClearSent();
  auto updates = [&](int n) {
    std::vector<std::string> u;
    for (auto& d : s.SentTo(Client(n)))
      if (d[2] == 'm') u.push_back(d);
    return u;
  };
  s.g.SendParity = 1;  // as flipped by this step
  ServerSend(s.g);
  ASSERT_EQ(updates(1).size(), 1u);
  EXPECT_EQ(updates(2).size(), 0u);
  ASSERT_EQ(updates(3).size(), 1u);
  s.g.SendParity = 0;
  ServerSend(s.g);
  ASSERT_EQ(updates(2).size(), 1u);
  s.g.SendParity = 1;
  ServerSend(s.g);
  // Sequence 0 travels as 1, and so does the next one (1).
  auto u1 = updates(1);
  ASSERT_EQ(u1.size(), 2u);
  EXPECT_EQ(u1[0].size(), 218u);
  EXPECT_EQ(u1[0][217], 1);
  EXPECT_EQ(u1[1][217], 1);
  EXPECT_EQ(s.g.Players[0].UpdateSeq, 2);
  // Each copy marks only its recipient's record "y".
  EXPECT_EQ(u1[0][3 + 1], 'y');
  EXPECT_EQ(u1[0][3 + 21 * 2 + 1], 'p');
  EXPECT_EQ(u1[0][3 + 21 * 3 + 1], 'c');
  auto u3 = updates(3);
  EXPECT_EQ(u3[0][3 + 1], 'p');
  EXPECT_EQ(u3[0][3 + 21 * 2 + 1], 'y');
}

TEST(ServerSendTest, MapIsSentAgainWhileTheSequenceReads250) {
  ServerGame s;
  int slot = s.Join(Client(1));
  ASSERT_EQ(slot, 0);
  s.g.Players[0].UpdateSeq = 249;
  s.ClearSent();
  int maps = 0;
  for (int step = 0; step < 8; ++step) {
    s.g.SendParity = 1 - s.g.SendParity;
    ServerSend(s.g);
  }
  for (auto& d : s.SentTo(Client(1))) maps += d[2] == 'f' && d.size() == 199;
  // Served every second step: the value is 250 for two steps.
  EXPECT_EQ(maps, 2);
  s.g.AllowInternet = 0;
  s.ClearSent();
  ServerSend(s.g);
  EXPECT_TRUE(s.socket().sent.empty());
}

TEST(ServerReceiveTest, AFailedReceiveIsFatalOnceAndEndsTheLoop) {
  struct BrokenSocket : RecordingSocket {
    int Pending() override { return 10; }
    int ReceiveFrom(uint8_t*, size_t, NetAddress*) override { return -1; }
  };
  ServerGame s;
  s.g.Socket = std::make_unique<BrokenSocket>();
  ServerReceive(s.g);
  ASSERT_EQ(s.rec.ui.boxes.size(), 1u);
  EXPECT_EQ(s.rec.ui.boxes[0].text, "Receive error #1\nInternal error #10054");
  EXPECT_EQ(s.rec.ui.quits, 1);
}

TEST(ServerReceiveTest, NothingWaitingAfterAllIsNotAnError) {
  struct VanishingSocket : RecordingSocket {
    int calls = 0;
    int Pending() override { return calls < 3 ? 1 : RecordingSocket::Pending(); }
    int ReceiveFrom(uint8_t* b, size_t c, NetAddress* f) override {
      if (++calls <= 3) return kNothingWaiting;
      return RecordingSocket::ReceiveFrom(b, c, f);
    }
  };
  ServerGame s;
  auto sock = std::make_unique<VanishingSocket>();
  sock->Queue(Client(1), "PMf");
  VanishingSocket* raw = sock.get();
  s.g.Socket = std::move(sock);
  ServerReceive(s.g);
  EXPECT_TRUE(s.rec.ui.boxes.empty());
  ASSERT_EQ(raw->sent.size(), 1u);  // the map request behind it was answered
}

TEST(ServerReceiveTest, AFloodIsSpreadOverSteps) {
  ServerGame s;
  for (int i = 0; i < 2100; ++i) s.socket().Queue(Client(1, static_cast<uint16_t>(i)), "PMf");
  ServerReceive(s.g);
  EXPECT_EQ(s.socket().sent.size(), 2048u);
  EXPECT_EQ(s.socket().inbox.size(), 52u);
  ServerReceive(s.g);
  EXPECT_TRUE(s.socket().inbox.empty());
}

}  // namespace
