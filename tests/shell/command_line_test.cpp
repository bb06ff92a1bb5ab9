// The windowed program's command line.
#include "shell/command_line.h"

#include <gtest/gtest.h>

namespace {

TEST(GameOptionsTest, ScaleHelpVersionAndRefusals) {
  struct Row {
    std::vector<std::string> args;
    ParseResult result;
    int scale;
  };
  const Row rows[] = {
      {{}, ParseResult::Run, 0},
      {{"--scale", "1"}, ParseResult::Run, 1},
      {{"--scale", "4"}, ParseResult::Run, 4},
      {{"--scale", "0"}, ParseResult::Bad, 0},
      {{"--scale", "5"}, ParseResult::Bad, 0},
      {{"--scale", "2x"}, ParseResult::Bad, 0},
      {{"--scale", ""}, ParseResult::Bad, 0},
      {{"--scale"}, ParseResult::Bad, 0},
      {{"--help"}, ParseResult::Help, 0},
      {{"-h"}, ParseResult::Help, 0},
      {{"--version"}, ParseResult::Version, 0},
      {{"--scale", "2", "--version"}, ParseResult::Version, 2},
      {{"--frobnicate"}, ParseResult::Bad, 0},
      {{"-platform", "offscreen"}, ParseResult::Bad, 0},
  };
  for (const Row& r : rows) {
    GameOptions o;
    std::string error;
    ParseResult got = ParseGameOptions(r.args, &o, &error);
    std::string shown = r.args.empty() ? "(none)" : r.args[0] + " " + r.args.back();
    EXPECT_EQ(got, r.result) << shown;
    if (got == ParseResult::Bad) {
      EXPECT_FALSE(error.empty()) << shown;
    } else {
      EXPECT_EQ(o.Scale, r.scale) << shown;
    }
  }
}

}  // namespace
