// The server-information request and answer: their bytes, and what a
// server in a game answers.
#include <gtest/gtest.h>

#include "protocol/server_info.h"
#include "tests/protocol/server_fixture.h"

namespace {

std::string Bytes(const DatagramBuffer& b) { return std::string(b.data(), b.data() + b.size()); }
const uint8_t* U(const std::string& s) { return reinterpret_cast<const uint8_t*>(s.data()); }

ServerInfo Sample() {
  ServerInfo s;
  s.protocol = "10";
  s.name = "Sixteen chars ok";
  s.description = "A walled square";
  s.players = 3;
  s.places = 6;
  s.tickInterval = 60;
  s.requiresTokens = true;
  return s;
}

TEST(ServerInfoCoding, RequestAndAnswerRules) {
  DatagramBuffer req, ans;
  BuildInfoRequest(req);
  BuildInfoAnswer(ans, Sample());
  const std::string request = Bytes(req), answer = Bytes(ans);
  ASSERT_EQ(request.substr(0, 4), std::string("PMq\x01", 4));
  // The size rule: the answer never outgrows the request that asks for it.
  EXPECT_LE(answer.size(), request.size());

  struct Row {
    const char* what;
    std::string bytes;
    bool parses;
  };
  std::string noTerminators = answer;
  std::fill(noTerminators.begin() + 6, noTerminators.begin() + 88, 'x');
  std::string tooMany = answer;
  tooMany[88] = 7;  // players above places
  const Row rows[] = {
      {"whole answer", answer, true},
      {"a later version with one more field", answer + "z", true},
      {"one byte short", answer.substr(0, answer.size() - 1), false},
      {"longer than any request", answer + std::string(kInfoRequestLength, 0), false},
      {"a request is not an answer", request, false},
      {"fields without terminators", noTerminators, true},
      {"more players than places", tooMany, false},
  };
  for (const Row& r : rows) {
    ServerInfo got;
    EXPECT_EQ(ParseInfoAnswer(U(r.bytes), r.bytes.size(), &got), r.parses) << r.what;
  }
  ServerInfo got;
  ASSERT_TRUE(ParseInfoAnswer(U(answer), answer.size(), &got));
  EXPECT_EQ(got.protocol, "10");
  EXPECT_EQ(got.name, "Sixteen chars ok");
  EXPECT_EQ(got.description, "A walled square");
  EXPECT_EQ(got.players, 3);
  EXPECT_EQ(got.places, 6);
  EXPECT_EQ(got.tickInterval, 60);
  EXPECT_TRUE(got.requiresTokens);
  ASSERT_TRUE(ParseInfoAnswer(U(noTerminators), noTerminators.size(), &got));
  EXPECT_EQ(got.name, std::string(kInfoNameMax, 'x'));
  EXPECT_EQ(got.description, std::string(kInfoDescriptionMax, 'x'));

  EXPECT_TRUE(InfoRequestAnswerable(U(request), request.size()));
  EXPECT_FALSE(InfoRequestAnswerable(U(request), request.size() - 1));
}

struct InfoServer : ServerGame {
  // The answer to a full request from `from`, or "" when none was sent.
  std::string Ask(const NetAddress& from, size_t length = kInfoRequestLength) {
    DatagramBuffer req;
    BuildInfoRequest(req);
    ClearSent();
    Receive(from, Bytes(req).substr(0, length));
    std::vector<std::string> sent = SentTo(from);
    return sent.empty() ? "" : sent.back();
  }
};

TEST(ServerInfoAnswer, CountsPlayersAndPlacesAndPacesStrangers) {
  InfoServer s;
  s.g.MaxPlayers = 6;
  s.g.Nickname = "Host";
  s.g.MapDescription = "A walled square";
  s.g.TickInterval = 60;
  s.Join(Client(1));
  s.Join(Client(2));
  s.g.Players[2].Kind = KindLocal;  // the host's own player
  s.g.Players[2].Active = 1;
  s.g.Players[7].Kind = KindInternet;  // beyond MaxPlayers: not a place
  s.g.Players[7].Active = 1;

  struct Row {
    const char* what;
    NetAddress from;
    size_t length;
    bool answered;
  };
  const Row rows[] = {
      {"a stranger", Client(9), kInfoRequestLength, true},
      {"a player", Client(1), kInfoRequestLength, true},
      {"a request one byte too short", Client(9), kInfoRequestLength - 1, false},
  };
  for (const Row& r : rows) {
    std::string a = s.Ask(r.from, r.length);
    ASSERT_EQ(!a.empty(), r.answered) << r.what;
    if (a.empty()) continue;
    ServerInfo info;
    ASSERT_TRUE(ParseInfoAnswer(U(a), a.size(), &info)) << r.what;
    EXPECT_EQ(info.name, "Host");
    EXPECT_EQ(info.description, "A walled square");
    EXPECT_EQ(info.players, 3) << r.what;
    EXPECT_EQ(info.places, 6);
    EXPECT_EQ(info.tickInterval, 60);
    EXPECT_FALSE(info.requiresTokens);
  }
  // vrask-server --name and --require-token.
  s.g.ServerName = "Vrask server";
  s.g.RequireToken = true;
  std::string a = s.Ask(Client(9));
  ServerInfo info;
  ASSERT_TRUE(ParseInfoAnswer(U(a), a.size(), &info));
  EXPECT_EQ(info.name, "Vrask server");
  EXPECT_TRUE(info.requiresTokens);

  // A stranger's answers take limiter tokens like map replies; a player's
  // never do.
  int answered = 0;
  for (int i = 0; i < 50; ++i) answered += s.Ask(Client(20)).empty() ? 0 : 1;
  EXPECT_EQ(answered, static_cast<int>(StrangerLimiter::kPerSourceBurst));
  for (int i = 0; i < 50; ++i) EXPECT_FALSE(s.Ask(Client(1)).empty());
}

}  // namespace
