// vrask --list-servers against two vrask-servers, all inside a private
// network namespace made for the test: the broadcasts it sends reach only
// a veth pair that exists nowhere else.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <filesystem>
#include <string>
#include <sys/wait.h>

#include "support/test_game.h"

namespace {

// Output and exit status of a shell command.
std::pair<std::string, int> Shell(const std::string& command) {
  std::string out;
  FILE* p = popen(command.c_str(), "r");
  if (!p) return {"", -1};
  std::array<char, 512> buf;
  while (fgets(buf.data(), buf.size(), p)) out += buf.data();
  int status = pclose(p);
  return {out, WIFEXITED(status) ? WEXITSTATUS(status) : -1};
}

TEST(ListServersProcess, ListsTwoServersInAPrivateNamespace) {
  const std::filesystem::path bin(VRASK_BINARY_DIR);
  if (!std::filesystem::exists(bin / "vrask")) GTEST_SKIP() << "vrask is not built (no GUI build)";
  if (Shell("unshare --net true 2>/dev/null").second != 0)
    GTEST_SKIP() << "cannot create a private network namespace here (needs root); "
                    "broadcasts are never sent outside one";
  ScopedTempDir dir;
  const std::string server = (bin / "vrask-server").string();
  const std::string script =
      "set -e; ip link set lo up; "
      "ip link add v0 type veth peer name v1; ip addr add 10.99.0.1/24 brd + dev v0; "
      "ip link set v0 up; ip link set v1 up; " +
      server + " --dir a --generate --port 2727 --name Alpha >/dev/null & A=$!; " + server +
      " --dir b --generate --port 2730 --max-players 4 --name Beta >/dev/null & B=$!; "
      "sleep 0.5; set +e; " +
      (bin / "vrask").string() + " --list-servers --timeout 800; R=$?; kill $A $B; wait; exit $R";
  auto [out, status] = Shell("unshare --net sh -c '" + script + "'");
  EXPECT_EQ(status, 0) << out;
  EXPECT_NE(out.find(":2727\tAlpha\t"), std::string::npos) << out;
  EXPECT_NE(out.find(":2730\tBeta\t"), std::string::npos) << out;
  EXPECT_NE(out.find("\t0/4\t"), std::string::npos) << out;
  EXPECT_EQ(std::count(out.begin(), out.end(), '\n'), 2) << out;  // each server once

  // Nobody there: nothing listed, exit 1.
  auto [none, noneStatus] =
      Shell("unshare --net sh -c 'ip link set lo up; " + (bin / "vrask").string() +
          " --list-servers --timeout 200'");
  EXPECT_EQ(noneStatus, 1);
  EXPECT_EQ(none, "");
}

}  // namespace
