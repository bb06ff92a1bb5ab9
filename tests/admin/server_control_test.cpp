// The server control dialogs' model: the list lines, kick, ban, frags and
// the ban control buttons, over a recording platform; the kick and the ban
// also over real loopback.
#include "admin/server_control.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "connection/game_step.h"
#include "connection/host_server.h"
#include "platform/posix_network.h"
#include "support/test_game.h"
#include "tests/protocol/loopback.h"
#include "tests/protocol/server_fixture.h"

namespace {

using Lines = std::vector<std::string>;

// The dialog's list box.
struct TestList : ListBox {
  Lines lines;
  int selected = kNone;
  void SetLines(const Lines& l) override {
    lines = l;
    selected = kNone;
  }
  int LineCount() const override { return static_cast<int>(lines.size()); }
  int Selected() const override { return selected; }
  void Select(int line) override {
    selected = line >= 0 && line < LineCount() ? line : kNone;
  }
};

const std::string kBanned = "PMdb - Your computer address has been banned from this server\r\n";

std::string Record(const BanAddress& a) {
  return {static_cast<char>(a[0]), static_cast<char>(a[1]), static_cast<char>(a[2]),
          static_cast<char>(a[3]), ','};
}

// A server of `places` places whose host plays in place 0, working in a
// fresh folder.
struct HostedGame : TestGame {
  ScopedTempDir dir;
  TestList list;
  RecordingUi& ui = rec.ui;
  HostedGame(int places, bool computers, bool internet) {
    g.IsServer = 1;
    g.MaxPlayers = static_cast<uint8_t>(places);
    g.ComputerFill = computers;
    g.AllowInternet = internet;
    g.ServerParticipates = 1;
    g.Nickname = "Host";
    SetUpServerPlaces(g);
  }
  // Place i taken by a remote player.
  PlayerSlot& Remote(int i, const char* name, NetAddress from, int frags = 0) {
    PlaceNewPlayer(g, i, KindInternet);
    SetPlayerName(g.Players[i], name);
    g.Players[i].Address = from;
    g.Players[i].Frags = static_cast<uint8_t>(frags);
    return g.Players[i];
  }
  void Select(int line) {
    RefreshPlayerList(g, list);
    list.Select(line);
  }
  // The texts of the boxes shown since the last call, which forgets them.
  Lines Boxes() {
    Lines out;
    for (const auto& b : ui.boxes) out.push_back(b.title + ": " + b.text);
    ui.boxes.clear();
    return out;
  }
};

TEST(ServerControlTest, PlayerLinesForHostComputersOpenAndClosedPlaces) {
  const Lines closed4(4, "Space Closed");
  struct Row {
    bool computers, internet;
    std::string middle;  // lines 1 to 3
  } rows[] = {
      {true, true, "Comp %d,Computer,Frag:0"},
      {false, true, "Open For Connection"},
      {true, false, "Comp %d,Computer,Frag:0"},
      {false, false, "Space Closed"},
  };
  for (const Row& r : rows) {
    HostedGame t(4, r.computers, r.internet);
    Lines want{"Host,Server Player,Frag:0"};
    for (int i = 1; i < 4; ++i) {
      std::string line = r.middle;
      if (auto at = line.find("%d"); at != std::string::npos)
        line.replace(at, 2, std::to_string(i + 1));
      want.push_back(line);
    }
    want.insert(want.end(), closed4.begin(), closed4.end());
    RefreshPlayerList(t.g, t.list);
    EXPECT_EQ(t.list.lines, want) << r.computers << r.internet;
  }
  HostedGame t(4, true, true);
  t.Remote(2, "Rexoleum", NetAddress::Of(192, 168, 1, 20, 2727), 200);
  t.g.Players[1].Frags = 3;
  EXPECT_EQ(PlayerListLine(t.g, 2), "Rexoleum,IP=[192.168.1.20],Frag:200");
  EXPECT_EQ(PlayerListLine(t.g, 1), "Comp 2,Computer,Frag:3");
  t.g.IsClient = 0;  // a server whose host does not play
  t.g.Players[0].Active = 0;
  EXPECT_EQ(PlayerListLine(t.g, 0), "Open For Connection");
}

TEST(ServerControlTest, KickAndBanRefuseFreeComputerAndHostPlacesAndNoSelection) {
  HostedGame t(4, true, true);
  t.g.Players[3].Active = 0;
  struct Row {
    int line;
    std::string kick, ban;
  } rows[] = {
      {3, "Non existant players cannot be kicked", "Non existant players cannot be banned"},
      {1, "Computer and Server players cannot be kicked",
       "Computer and Server players cannot be banned"},
      {0, "Computer and Server players cannot be kicked",
       "Computer and Server players cannot be banned"},
  };
  const auto before = t.g.Players;
  for (const Row& r : rows) {
    t.Select(r.line);
    ServerControlKick(t.g, t.list);
    EXPECT_FALSE(ServerControlBan(t.g, t.list));
    EXPECT_EQ(t.Boxes(), (Lines{"Cannot Kick Player: " + r.kick, "Cannot Ban Player: " + r.ban}));
  }
  t.list.Select(ListBox::kNone);
  t.g.Players[1].Frags = 4;
  ServerControlKick(t.g, t.list);
  EXPECT_FALSE(ServerControlBan(t.g, t.list));
  ServerControlZeroPlayerFrags(t.g, t.list);
  EXPECT_EQ(t.Boxes(), Lines{});
  EXPECT_EQ(t.g.Players[1].Frags, 4);
  for (int i = 0; i < kSlotCount; ++i) EXPECT_STREQ(t.g.Players[i].Name, before[i].Name);
  EXPECT_TRUE(t.socket().sent.empty());
  EXPECT_FALSE(std::filesystem::exists("banlist.dat"));
}

TEST(ServerControlTest, BanWritesOneRecordAndAsksTheKickOrFailsAndKicksNobody) {
  HostedGame t(4, true, true);
  const NetAddress rex = NetAddress::Of(10, 0, 0, 1, 4000);
  t.Remote(2, "Rex", rex);
  t.Select(2);
  t.ui.answers = {MsgAnswer::No};
  EXPECT_FALSE(ServerControlBan(t.g, t.list));
  EXPECT_EQ(t.Boxes(), Lines{"Are you sure?: Are you sure you want to ban [Rex]'s IP address "
                             "from the server?"});
  EXPECT_FALSE(std::filesystem::exists("banlist.dat"));

  t.ui.answers = {MsgAnswer::Yes, MsgAnswer::Yes};
  EXPECT_TRUE(ServerControlBan(t.g, t.list));
  EXPECT_TRUE(ServerControlBan(t.g, t.list));  // listed already: not written again
  EXPECT_EQ(ReadFile("banlist.dat"), Record(rex.ip));
  Lines boxes = t.Boxes();
  ASSERT_EQ(boxes.size(), 4u);
  EXPECT_EQ(boxes[1], "Banned: Selected IP address has been added to the ban list.\n"
                      "Use Ban Control to unban.");
  EXPECT_EQ(boxes[3], "Banned: Selected IP address is already on the ban list.\n"
                      "Use Ban Control to unban.");
  // The posted kick asks its own question.
  ServerControlKick(t.g, t.list);
  EXPECT_EQ(t.Boxes(),
            Lines{"Are you sure?: Are you sure you want to kick [Rex] from the server?"});
  EXPECT_EQ(t.g.Players[2].Kind, KindInternet);  // answered No

  // A list that cannot be written.
  std::filesystem::remove("banlist.dat");
  std::filesystem::create_directory("banlist.dat");
  t.ui.answers = {MsgAnswer::Yes};
  EXPECT_FALSE(ServerControlBan(t.g, t.list));
  EXPECT_EQ(t.Boxes().back(), "Error!: Unable to implement ban on selected IP address");
  EXPECT_EQ(t.g.Players[2].Kind, KindInternet);
  EXPECT_TRUE(t.socket().sent.empty());
}

TEST(ServerControlTest, KickSparesAPlayerWhoLeftWhileTheQuestionWasOpen) {
  // The game steps while the question is open: Rex leaves and Ann joins
  // into the same place before the host answers Yes.
  struct LeavingUi : RecordingUi {
    std::function<void()> meanwhile;
    MsgAnswer MessageBox(const std::string& text, const std::string& title, MsgButtons b,
                         MsgIcon icon, bool owned) override {
      if (meanwhile) meanwhile();
      RecordingUi::MessageBox(text, title, b, icon, owned);
      return MsgAnswer::Yes;
    }
  } ui;
  HostedGame t(4, true, true);
  t.g.platform.ui = &ui;
  t.Remote(2, "Rex", NetAddress::Of(10, 0, 0, 1, 4000));
  t.Select(2);
  ui.meanwhile = [&] { t.Remote(2, "Ann", NetAddress::Of(10, 0, 0, 2, 4000)); };
  ServerControlKick(t.g, t.list);
  EXPECT_EQ(t.g.Players[2].Kind, KindInternet);
  EXPECT_STREQ(t.g.Players[2].Name, "Ann");
  EXPECT_TRUE(t.socket().sent.empty());
}

TEST(ServerControlTest, FragResetsAskUnlessThereAreNoFrags) {
  HostedGame t(4, true, true);
  t.Remote(2, "Rex", NetAddress::Of(10, 0, 0, 1, 4000), 5);
  t.g.Players[6].Frags = 9;  // beyond the places in use: reset too
  t.Select(1);
  ServerControlZeroPlayerFrags(t.g, t.list);  // Comp 2 has none
  EXPECT_EQ(t.Boxes(), Lines{});
  t.list.Select(2);
  t.ui.answers = {MsgAnswer::No, MsgAnswer::Yes};
  ServerControlZeroPlayerFrags(t.g, t.list);
  EXPECT_EQ(t.g.Players[2].Frags, 5);
  ServerControlZeroPlayerFrags(t.g, t.list);
  EXPECT_EQ(t.g.Players[2].Frags, 0);
  EXPECT_EQ(t.Boxes()[0], "Are you sure?: Are you sure you want to reset the 5 frags for [Rex]?");
  EXPECT_EQ(t.list.selected, 2);

  t.g.Players[2].Frags = 5;
  t.ui.answers = {MsgAnswer::No, MsgAnswer::Yes};
  ServerControlZeroAllFrags(t.g, t.list);
  EXPECT_EQ(t.g.Players[6].Frags, 9);
  ServerControlZeroAllFrags(t.g, t.list);
  for (const PlayerSlot& p : t.g.Players) EXPECT_EQ(p.Frags, 0);
  EXPECT_EQ(t.Boxes()[1], "Are you sure?: Are you sure you want to reset all the palyer frags?");
  EXPECT_EQ(t.list.lines[2], "Rex,IP=[10.0.0.1],Frag:0");
}

TEST(ServerControlTest, BanControlListsRemovesAndClears) {
  ScopedTempDir dir;
  TestGame t;
  TestList list;
  auto boxes = [&] {
    Lines out;
    for (const auto& b : t.rec.ui.boxes) out.push_back(b.title + ": " + b.text);
    t.rec.ui.boxes.clear();
    return out;
  };
  FillBanList(t.g, list);  // no file yet
  EXPECT_EQ(boxes(), Lines{"Error!: Could not open Ban List file!"});
  BanControlRemove(t.g, list);
  EXPECT_EQ(boxes(), Lines{"Ban Not Cleared: No address to unban has been selected!"});
  BanControlClearAll(t.g, list);
  EXPECT_EQ(boxes(), Lines{"Ban List Cleared: All previous bans have been lifted."});
  EXPECT_EQ(ReadFile("banlist.dat"), "");

  WriteFile("banlist.dat", Record({10, 0, 0, 1}) + Record({192, 168, 1, 20}) + "x,");
  FillBanList(t.g, list);
  EXPECT_EQ(list.lines, (Lines{"[10.0.0.1]", "[192.168.1.20]"}));
  list.Select(0);
  BanControlRemove(t.g, list);
  EXPECT_EQ(boxes(), Lines{"Ban Cleared: Selected internet address has been removed from the "
                           "ban list."});
  EXPECT_EQ(list.lines, Lines{"[192.168.1.20]"});
  EXPECT_EQ(list.selected, ListBox::kNone);

  // A list that cannot be rewritten is not reported as changed.
  std::filesystem::remove("banlist.dat");
  std::filesystem::create_directory("banlist.dat");
  list.lines = {"[1.2.3.4]"};
  list.selected = 0;
  BanControlRemove(t.g, list);
  BanControlClearAll(t.g, list);
  EXPECT_EQ(boxes(), (Lines{"Ban Not Cleared: Could not remove the selected address ban!",
                            "Ban List Not Cleared: Could not clear the ban list!"}));
}

// A server game on a real loopback socket.
struct LoopbackServer : ServerGame {
  PosixNetwork net;
  uint16_t port = 0;
  TestList list;
  LoopbackServer(bool computers) : ServerGame(4, computers) {
    port = BindFreeUdpPort(net, g.Socket);
    g.ServerParticipates = 1;
    g.Nickname = "Host";
    SetUpServerPlaces(g);
  }
};

TEST(ServerControlTest, BanThenKickOverLoopbackAndTheAddressIsRefusedAfterwards) {
  for (bool computers : {true, false}) {
    ScopedTempDir dir;
    LoopbackServer s(computers);
    ASSERT_NE(s.port, 0);
    UdpTestClient first("127.0.0.3", s.port), rex("127.0.0.2", s.port);
    first.Send("PMc10 - I wanna play!\r\n");
    GameStep(s.g);
    rex.Send("PMc10 - I wanna play!\r\n");
    GameStep(s.g);
    rex.Send(std::string("PMnRex", 7));
    GameStep(s.g);
    ASSERT_EQ(s.g.Players[2].Kind, KindInternet);
    ASSERT_STREQ(s.g.Players[2].Name, "Rex");

    RefreshPlayerList(s.g, s.list);
    s.list.Select(2);
    EXPECT_EQ(s.list.lines[2], "Rex,IP=[127.0.0.2],Frag:0");
    s.rec.ui.answers = {MsgAnswer::Yes, MsgAnswer::Yes};
    ASSERT_TRUE(ServerControlBan(s.g, s.list));
    ServerControlKick(s.g, s.list);
    EXPECT_EQ(rex.ReceiveType('k', 500), "PMk");
    EXPECT_EQ(s.list.lines[2], computers ? "Comp 2,Computer,Frag:0" : "Open For Connection");
    EXPECT_EQ(s.NewestBoardText(), "Rex Was Kicked");
    EXPECT_EQ(s.g.Players[1].Kind, KindInternet);  // the other player stays

    while (!rex.Receive(0).empty()) {}
    rex.Send("PMc10 - I wanna play!\r\n");
    GameStep(s.g);
    EXPECT_EQ(rex.ReceiveType('d', 500), kBanned);
    EXPECT_EQ(ReadFile("banlist.dat"), Record({127, 0, 0, 2}));
  }
}

}  // namespace
