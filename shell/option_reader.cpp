#include "shell/option_reader.h"

#include <charconv>

ParseResult ReadOptions(const std::vector<std::string>& args, const std::vector<Option>& options,
                        bool withVersion, std::string* error) {
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (a == "-h" || a == "--help") return ParseResult::Help;
    if (withVersion && a == "--version") return ParseResult::Version;
    const Option* option = nullptr;
    for (const Option& o : options)
      if (o.name == a) option = &o;
    if (!option) {
      *error = "unknown option " + a;
      return ParseResult::Bad;
    }
    std::string value;
    if (option->takesValue) {
      if (i + 1 >= args.size()) {
        *error = a + " needs a value";
        return ParseResult::Bad;
      }
      value = args[++i];
    }
    if (!option->take(value, error)) return ParseResult::Bad;
  }
  return ParseResult::Run;
}

bool ReadNumber(const std::string& text, long long lo, long long hi, long long* out) {
  long long v = 0;
  const char* end = text.data() + text.size();
  auto [stop, ec] = std::from_chars(text.data(), end, v);
  if (text.empty() || ec != std::errc() || stop != end || v < lo || v > hi) return false;
  *out = v;
  return true;
}

Option NumberOption(const std::string& name, long long lo, long long hi, const std::string& refusal,
                    const std::function<void(long long)>& store) {
  return {name, true, [=](const std::string& v, std::string* error) {
            long long n = 0;
            if (!ReadNumber(v, lo, hi, &n)) {
              *error = refusal;
              return false;
            }
            store(n);
            return true;
          }};
}

Option FlagOption(const std::string& name, bool* to, bool value) {
  return {name, false, [=](const std::string&, std::string*) {
            *to = value;
            return true;
          }};
}
