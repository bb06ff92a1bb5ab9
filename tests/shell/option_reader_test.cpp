// The one option reader behind the three programs' command lines.
#include "shell/option_reader.h"

#include <gtest/gtest.h>

namespace {

TEST(OptionReaderTest, WalksTheArgumentsAndWordsEveryRefusalAlike) {
  struct Row {
    std::vector<std::string> args;
    bool withVersion;
    ParseResult result;
    std::string error;  // on Bad
    int number;         // --number taken, 0 when none
    bool flag;          // --flag given
  };
  const Row rows[] = {
      {{}, true, ParseResult::Run, "", 0, false},
      {{"--number", "7", "--flag"}, true, ParseResult::Run, "", 7, true},
      {{"--number", "3", "--number", "9"}, true, ParseResult::Run, "", 9, false},
      {{"--frobnicate"}, true, ParseResult::Bad, "unknown option --frobnicate", 0, false},
      {{"--number"}, true, ParseResult::Bad, "--number needs a value", 0, false},
      {{"--number", "10"}, true, ParseResult::Bad, "the number must be from 1 to 9", 0, false},
      // A flag takes no value: what follows it is the next option.
      {{"--flag", "5"}, true, ParseResult::Bad, "unknown option 5", 0, true},
      {{"--number", "2", "--help", "--frobnicate"}, true, ParseResult::Help, "", 2, false},
      {{"-h"}, true, ParseResult::Help, "", 0, false},
      {{"--version"}, true, ParseResult::Version, "", 0, false},
      {{"--version"}, false, ParseResult::Bad, "unknown option --version", 0, false},
      {{"--frobnicate", "--help"}, true, ParseResult::Bad, "unknown option --frobnicate", 0, false},
  };
  for (const Row& r : rows) {
    int number = 0;
    bool flag = false;
    const std::vector<Option> options = {
        NumberOption("--number", 1, 9, "the number must be from 1 to 9",
                     [&](long long n) { number = static_cast<int>(n); }),
        FlagOption("--flag", &flag, true)};
    std::string error, shown;
    for (const std::string& a : r.args) shown += a + " ";
    EXPECT_EQ(ReadOptions(r.args, options, r.withVersion, &error), r.result) << shown;
    EXPECT_EQ(error, r.error) << shown;
    EXPECT_EQ(number, r.number) << shown;
    EXPECT_EQ(flag, r.flag) << shown;
  }
}

TEST(OptionReaderTest, NumbersAreWholeAndWithinTheirLimits) {
  const struct {
    const char* text;
    bool taken;
  } rows[] = {{"1", true},   {"65000", true}, {"0", false},   {"65001", false}, {"", false},
              {"12x", false}, {" 5", false},  {"+5", false},  {"-1", false},    {"1.0", false}};
  for (const auto& r : rows) {
    long long n = -7;
    EXPECT_EQ(ReadNumber(r.text, 1, 65000, &n), r.taken) << r.text;
    if (!r.taken) {
      EXPECT_EQ(n, -7) << r.text;
    }
  }
}

}  // namespace
