// Joining a server without its dialogs: the address form, the look-up, one
// connection attempt and its log, the map fetch and the switch to a client.
#include "connection/join_server.h"

#include <gtest/gtest.h>

#include "connection/fetch_map.h"
#include "platform/menu_ids.h"
#include "protocol/datagrams.h"
#include "protocol/join_token.h"
#include "tests/protocol/client_fixture.h"

namespace {

const std::string kSep = "==================================";
const std::string kLeaving = "PMs - I am shutting down, ta ta...";
const std::string kMapRequest = "PMf - I need the map\r\n";

// An idle program about to join 10.0.0.1:2727.
struct Joining : ClientGame {
  Joining() { g.IsClient = 0; }
  std::vector<std::string> Attempt(AttemptResult expect) {
    std::vector<std::string> log;
    EXPECT_EQ(ConnectionAttempt(g, 1, [&](const std::string& l) { log.push_back(l); }), expect);
    return log;
  }
  std::string MapBytes(const TileMap& tiles) {
    DatagramBuffer d;
    BuildMap(d, tiles);
    return std::string(d.bytes.begin(), d.bytes.begin() + d.len);
  }
  int MapRequests() {
    int n = 0;
    for (const std::string& s : Sent()) n += s == kMapRequest;
    return n;
  }
};

TEST(JoinServerTest, GoChecksThePortAsksBeforeEndingAGameAndCommits) {
  const struct {
    const char* port;
    int accepted;  // the port committed, 0 when refused
  } cases[] = {{"abc", 0}, {"0", 0}, {"-1", 0}, {"", 0}, {"65001", 0}, {"65000", 65000},
               {"1", 1},   {"2727", 2727}};
  for (const auto& c : cases) {
    Joining t;
    std::string name;
    EXPECT_EQ(JoinDialogGo(t.g, {"gamehost", c.port}, &name), c.accepted != 0) << c.port;
    EXPECT_EQ(t.g.Port, c.accepted ? c.accepted : 2727) << c.port;
    if (!c.accepted) {
      ASSERT_EQ(t.rec.ui.boxes.size(), 1u);
      EXPECT_EQ(t.rec.ui.boxes[0].text, "Please enter a value between 0-65000 for the ip port");
      EXPECT_EQ(t.rec.ui.boxes[0].title, "Oops..");
    } else {
      EXPECT_EQ(name, "gamehost");
      EXPECT_EQ(t.g.AllowInternet, 1);
    }
  }

  Joining t;
  t.g.IsServer = 1;
  std::string name;
  t.rec.ui.answers = {MsgAnswer::No, MsgAnswer::Yes};
  EXPECT_FALSE(JoinDialogGo(t.g, {std::string(300, 'h'), "2727"}, &name));
  EXPECT_EQ(t.g.IsServer, 1);  // the game goes on
  EXPECT_EQ(t.rec.ui.boxes.back().text, "Are you sure you want to end this game and attempt a new connection?");
  EXPECT_EQ(t.rec.ui.boxes.back().title, "Connect");
  EXPECT_TRUE(JoinDialogGo(t.g, {std::string(300, 'h'), "2727"}, &name));
  EXPECT_EQ(t.g.IsServer, 0);
  EXPECT_EQ(name.size(), 254u);
}

TEST(JoinServerTest, DottedAddressesAreTakenAsTheyAreNamesAreLookedUp) {
  const struct {
    const char* text;
    bool dotted;
  } cases[] = {{"192.168.7.9", true}, {"0.0.0.0", true},    {"255.255.255.255", true},
               {"256.1.1.1", false},  {"1.2.3", false},     {"1.2.3.4.", false},
               {"1..3.4", false},     {"01.2.3.4x", false}, {"1234.1.1.1", false}};
  for (const auto& c : cases) {
    NetAddress a;
    EXPECT_EQ(ParseDottedAddress(c.text, &a), c.dotted) << c.text;
  }

  Joining t;  // the recording network knows one name, and no address
  t.rec.net.hosts["gamehost"] = NetAddress::Of(10, 1, 2, 3, 0);
  t.g.Port = 2800;
  ASSERT_EQ(ResolveServer(t.g, "192.168.7.9"), 1);
  EXPECT_EQ(t.g.ServerAddress, NetAddress::Of(192, 168, 7, 9, 2800));
  EXPECT_EQ(FirstLogLine(t.g), "Connecting to server 192.168.7.9:2800...");
  ASSERT_EQ(ResolveServer(t.g, "gamehost"), 1);
  EXPECT_EQ(t.g.ServerAddress, NetAddress::Of(10, 1, 2, 3, 2800));
  EXPECT_TRUE(t.rec.ui.boxes.empty());
  EXPECT_EQ(ResolveServer(t.g, "no.such.host"), 0);
  ASSERT_EQ(t.rec.ui.boxes.size(), 1u);
  EXPECT_EQ(t.rec.ui.boxes[0].text, "Could not resolve internet address (#13)");
  EXPECT_EQ(t.rec.ui.boxes[0].title, "no.such.host");
}

TEST(JoinServerTest, AnAttemptWaitsASecondAndLogsWhatTheServerSaid) {
  const std::vector<std::string> head = {kSep, "Connection attempt 1...", "Sending connect request..."};
  const std::string got = "Remote Packet received...";
  const std::string denied = "The server has denied access.";
  const struct {
    std::vector<std::string> replies;
    AttemptResult result;
    std::vector<std::string> tail;
    bool flagsCleared = false;  // by a denial or an invalid reply
  } cases[] = {
      {{}, AttemptResult::NoReply, {"No replies received, please try again."}},
      {{"PMoks - You have been accepted\r\n"}, AttemptResult::Accepted, {got, "Remote Packet is verified."}},
      {{"PMda - There already is a connection from your address\r\n"}, AttemptResult::Denied,
       {got, denied, "There is already a connection from your address to the server."}, true},
      {{"PMdb - x"}, AttemptResult::Denied, {got, denied, "Your computer address has been banned from the server."}, true},
      {{"PMdf - x"}, AttemptResult::Denied, {got, denied, "The server is full, try again later."}, true},
      {{"PMdv - x"}, AttemptResult::Denied, {got, denied, "The server is different version than client."}, true},
      {{"PMdz - Go away\r\n"}, AttemptResult::Denied, {got, denied, " - Go away\r\n"}, true},
      {{"PMd"}, AttemptResult::Denied, {got, denied, ""}, true},
      {{"XXok", "PMoks"}, AttemptResult::NotPm, {got}},
      {{"PMq what"}, AttemptResult::Invalid,
       {got, "Received Packet is invalid.", "what", "No replies received, please try again."}, true},
      {{"PMq what", "PMoks"}, AttemptResult::Accepted,
       {got, "Received Packet is invalid.", "what", got, "Remote Packet is verified."}, true},
  };
  for (const auto& c : cases) {
    Joining t;
    t.g.IsClient = 1;  // cleared by a denial or an invalid reply
    for (const std::string& r : c.replies) t.FromServer(r);
    std::vector<std::string> log = t.Attempt(c.result);
    std::vector<std::string> want = head;
    want.insert(want.end(), c.tail.begin(), c.tail.end());
    EXPECT_EQ(log, want) << c.replies.size();
    EXPECT_EQ(t.g.IsClient, c.flagsCleared ? 0 : 1);
    // The marked join, no cookie yet: a server that does not know tokens
    // (every row here) reads it as the plain join and answers as ever.
    ASSERT_EQ(t.Sent().size(), 1u);
    EXPECT_EQ(t.Sent()[0].substr(0, 23), "PMc10 - I wanna play!\r\n");
    EXPECT_EQ(t.Sent()[0].size(), kMarkedJoinLength);
    EXPECT_EQ(t.rec.clock.now, 1000u);
    if (c.result == AttemptResult::NotPm) {
      EXPECT_EQ(t.socket().inbox.size(), 1u);
    }
  }

  // An accept from anyone but the server is not read as the reply.
  Joining t;
  t.socket().Queue(NetAddress::Of(10, 0, 0, 1, 2728), "PMoks");
  t.socket().Queue(NetAddress::Of(10, 0, 0, 9, 2727), "PMoks");
  EXPECT_EQ(t.Attempt(AttemptResult::NoReply).back(), "No replies received, please try again.");
}

TEST(JoinServerTest, TheMapIsAskedForAgainEveryHalfSecondAndGivenUpAfterFive) {
  Joining t;
  TileMap map{};
  map[20] = 3;
  // The first two requests are lost; the third is answered.
  t.rec.clock.onSleep = [&] {
    if (t.MapRequests() == 3 && t.socket().inbox.empty()) t.FromServer(t.MapBytes(map));
  };
  EXPECT_EQ(FetchMap(t.g), kMapTaken);
  EXPECT_EQ(t.g.Tiles, map);
  EXPECT_EQ(t.g.MapDirty, 1);
  EXPECT_EQ(t.rec.ui.invalidations, 1);
  EXPECT_GE(t.rec.clock.now, 1000u);
  EXPECT_LT(t.rec.clock.now, 1010u);

  // The same map again changes nothing and redraws nothing.
  t.g.MapDirty = 0;
  t.rec.clock.onSleep = nullptr;
  t.FromServer(t.MapBytes(map));
  EXPECT_EQ(FetchMap(t.g), kMapTaken);
  EXPECT_EQ(t.g.MapDirty, 0);
  EXPECT_EQ(t.rec.ui.invalidations, 1);

  // A server that never answers: ten requests, then the fetch gives up.
  Joining silent;
  silent.socket().Queue(NetAddress::Of(10, 0, 0, 7, 2727), silent.MapBytes(map));  // not the server
  EXPECT_EQ(FetchMap(silent.g), kMapGaveUp);
  EXPECT_EQ(silent.MapRequests(), 10);
  EXPECT_EQ(silent.rec.clock.now, 5000u);
  EXPECT_EQ(silent.g.Tiles, TileMap{});
}

TEST(JoinServerTest, DuringAGameTheFetchAsksOnlyWhenTheServerSendsSomethingElse) {
  Joining t;
  t.g.IsClient = 1;
  TileMap map{};
  map[0] = 1;
  // Updates queued behind one another draw one request, not one each: the
  // server answers within a step, and more requests only queue more maps.
  const GameState src;
  for (int k = 0; k < 3; ++k) t.FromServer(UpdateBytes(src, 1));
  t.FromServer(t.MapBytes(map));
  EXPECT_EQ(FetchMap(t.g), kMapTaken);
  EXPECT_EQ(t.Sent(), std::vector<std::string>{kMapRequest});
  EXPECT_EQ(t.g.Tiles, map);

  // A kick or a close meanwhile ends the game at once, with its message.
  for (auto [notice, text] : {std::pair{"PMk", "You have been kicked from the server"},
                              {"PMs", "Remote server closed connection"}}) {
    Joining ended;
    ended.g.IsClient = 1;
    ended.FromServer(UpdateBytes(src, 1));
    ended.FromServer(notice);
    EXPECT_EQ(FetchMap(ended.g), kMapGameEnded) << notice;
    EXPECT_EQ(ended.g.IsClient, 0);
    ASSERT_EQ(ended.rec.ui.boxes.size(), 1u);
    EXPECT_EQ(ended.rec.ui.boxes[0].text, text);
  }
}

TEST(JoinServerTest, GiveUpEndsEveryWaitOfAJoinWithinAPoll) {
  const std::string request = "PMc";  // a join request starts so
  const struct {
    uint32_t at;       // giveUp says yes from this time on
    bool accepted;     // the server accepts and then sends no map
    int requests;      // join requests sent
  } cases[] = {{0, false, 0}, {300, false, 1}, {999, false, 1}, {1001, false, 2},
               {2500, false, 3}, {1700, true, 1}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.at);
    Joining t;
    if (c.accepted) t.FromServer("PMoks");
    const uint32_t start = t.rec.clock.now;
    EXPECT_EQ(JoinServer(t.g, "10.0.0.1", 2727, 5, {}, [&] { return t.rec.clock.now - start >= c.at; })
                  .Outcome,
              JoinOutcome::Stopped);
    EXPECT_GE(t.rec.clock.now - start, c.at);
    EXPECT_LT(t.rec.clock.now - start, c.at + kGiveUpPollMs);
    int requests = 0;
    for (const std::string& s : t.Sent()) requests += s.rfind(request, 0) == 0;
    EXPECT_EQ(requests, c.requests);
    // An accepted join given up in the map's wait gives its place back,
    // quietly: nobody asked to hear that the map did not come.
    EXPECT_EQ(!t.Sent().empty() && t.Sent().back() == kLeaving, c.accepted);
    EXPECT_TRUE(t.rec.ui.boxes.empty());
  }
}

TEST(JoinServerTest, AJoinReportsItsOutcomeAndTheDenialLettersInOrder) {
  const std::string map = Joining().MapBytes(TileMap{});
  const struct {
    std::vector<std::string> replies;  // queued before the join, read one per attempt
    JoinOutcome outcome;
    std::string denials;
  } cases[] = {
      {{}, JoinOutcome::NoAnswer, ""},
      {{"PMda - x"}, JoinOutcome::Denied, "a"},
      // A place-holder asking again is told "already connected", then "full".
      {{"PMda - x", "PMdf - x"}, JoinOutcome::Denied, "af"},
      {{"PMdb", "PMdv", "PMdz - Go away"}, JoinOutcome::Denied, "bvz"},
      {{"PMd"}, JoinOutcome::Denied, std::string(1, '\0')},
      {{"PMq what"}, JoinOutcome::NoAnswer, ""},
      {{"PMdf - x", "PMoks", map}, JoinOutcome::Joined, "f"},
      {{"PMoks"}, JoinOutcome::NoMap, ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.replies.empty() ? "(none)" : c.replies[0]);
    Joining t;
    for (const std::string& r : c.replies) t.FromServer(r);
    const JoinResult got = JoinServer(t.g, "10.0.0.1", 2727, 3);
    EXPECT_EQ(got.Outcome, c.outcome);
    EXPECT_EQ(got.Denials, c.denials);
    EXPECT_EQ(got.Joined(), t.g.IsClient == 1);
  }
  Joining unknown;
  EXPECT_EQ(JoinServer(unknown.g, "nowhere.invalid", 2727, 3).Outcome, JoinOutcome::Unresolved);
}

TEST(JoinServerTest, AcceptedTheClientTakesSpeedMapAndNameOrLeavesWhenNoMapComes) {
  Joining t;
  t.g.ConnectReply[4] = 60;
  t.FromServer(t.MapBytes(TileMap{}));
  ASSERT_EQ(FinishJoin(t.g), 1);
  EXPECT_EQ(t.g.TickInterval, 60);
  EXPECT_EQ(t.Sent(), (std::vector<std::string>{kMapRequest, std::string("PMnRex\0", 7)}));
  EXPECT_EQ(std::tie(t.g.IsClient, t.g.IsServer, t.g.LocalSlot, t.g.ConnectionStatus),
            std::make_tuple(1, 0, kNoSlot, std::string("Client Connected")));
  for (int id : {CmdServerOptions, CmdLoadMap, CmdGenerateMap, CmdNickname}) EXPECT_FALSE(t.rec.ui.enabled[id]) << id;
  for (int id : {CmdDisconnect, CmdSaveMap, CmdPrediction}) EXPECT_TRUE(t.rec.ui.enabled[id]) << id;
  // A speed byte below the fast speed counts as fast; slower ones are kept.
  for (auto [sent, taken] : {std::pair{0, 40}, {39, 40}, {40, 40}, {255, 255}}) {
    Joining speed;
    speed.g.ConnectReply[4] = static_cast<uint8_t>(sent);
    speed.FromServer(speed.MapBytes(TileMap{}));
    ASSERT_EQ(FinishJoin(speed.g), 1);
    EXPECT_EQ(speed.g.TickInterval, taken) << sent;
  }

  // No map within five seconds: the server is told, the game ended.
  Joining lost;
  lost.g.ConnectReply[4] = 40;
  const int socketsBefore = lost.rec.net.socketsCreated;
  EXPECT_EQ(FinishJoin(lost.g), 0);
  EXPECT_EQ(lost.Sent().back(), kLeaving);
  EXPECT_EQ(lost.rec.net.socketsCreated, socketsBefore + 1);
  EXPECT_EQ(std::tie(lost.g.IsClient, lost.g.ConnectionStatus), std::make_tuple(0, std::string("Not Connected")));
  ASSERT_EQ(lost.rec.ui.boxes.size(), 1u);
  EXPECT_EQ(lost.rec.ui.boxes[0].text, "The server did not send the map.");
  EXPECT_EQ(lost.rec.ui.boxes[0].title, "Connect");
}

}  // namespace
