// One reader for the programs' command lines: each program gives a table of
// its options, and the reader walks the arguments, answers --help and
// --version, and words every refusal the same way for all of them.
#pragma once

#include <functional>
#include <string>
#include <vector>

enum class ParseResult { Run, Help, Version, Bad };

struct Option {
  std::string name;         // "--port"
  bool takesValue = true;   // the next argument is its value
  // Takes the value ("" for an option without one). False refuses it, with
  // error saying why.
  std::function<bool(const std::string& value, std::string* error)> take;
};

// Reads the arguments after the program name, in order. -h and --help give
// Help, and --version gives Version when withVersion, wherever they stand
// (the options before them are taken). Anything not in options is "unknown
// option X"; an option whose value is missing is "X needs a value".
ParseResult ReadOptions(const std::vector<std::string>& args, const std::vector<Option>& options,
                        bool withVersion, std::string* error);

// A whole decimal number from lo to hi, nothing before or after it.
bool ReadNumber(const std::string& text, long long lo, long long hi, long long* out);

// An option taking a whole number from lo to hi, handed to store; refusal is
// the error for any other value.
Option NumberOption(const std::string& name, long long lo, long long hi, const std::string& refusal,
                    const std::function<void(long long)>& store);

// An option without a value that sets *to to value.
Option FlagOption(const std::string& name, bool* to, bool value);
