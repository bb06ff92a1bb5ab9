// Folders are floors: a core file includes only its own folder and the
// floors below it, so the rules never depend on the network, the network
// never on the window, and so on up. Window files (Qt, SDL, X) may include
// anything. This test reads every quoted include of every core file and
// names each one that runs uphill or sideways.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

// The floor of each source folder, lowest first. Folders on one floor do
// not include each other.
const std::map<std::string, int> kFloors = {
    {"platform", 1},                    // the seam and the small types it speaks in
    {"game", 2},                        // the rules and the state
    {"protocol", 3},                    // datagrams and their handling
    {"render", 4},     {"maps", 4},     //
    {"connection", 5},                  // hosting, joining, ending, the loop
    {"admin", 6},      {"shell", 6},    //
    {"server", 7},     {"bots", 7},     // the headless programs
};

// Files of the window program, exempt from the floors.
bool IsWindowFile(const std::string& folder, const std::string& name) {
  static const std::regex windowName(R"(.*(_qt\.(cpp|h)|_dialog\.(cpp|h))$)");
  static const std::regex windowPlatform(R"((qt|sdl|xcb)_.*)");
  return std::regex_match(name, windowName) ||
         (folder == "platform" && std::regex_match(name, windowPlatform));
}

struct Uphill {
  std::string where;    // folder/file:line
  std::string include;  // the included path
};

// Every uphill include of the core files under root, and how many core
// files were read.
std::vector<Uphill> FindUphillIncludes(const fs::path& root, int* filesRead) {
  static const std::regex quotedInclude(R"(^\s*#\s*include\s+"([^"]+)\")");
  std::vector<Uphill> found;
  *filesRead = 0;
  for (const auto& [folder, floor] : kFloors) {
    const fs::path dir = root / folder;
    if (!fs::is_directory(dir)) continue;
    std::vector<fs::path> files;
    for (const auto& entry : fs::directory_iterator(dir)) {
      const std::string ext = entry.path().extension().string();
      if (entry.is_regular_file() && (ext == ".cpp" || ext == ".h")) files.push_back(entry.path());
    }
    std::sort(files.begin(), files.end());
    for (const fs::path& file : files) {
      const std::string name = file.filename().string();
      if (IsWindowFile(folder, name)) continue;
      ++*filesRead;
      std::ifstream in(file);
      std::string line;
      for (int number = 1; std::getline(in, line); ++number) {
        std::smatch m;
        if (!std::regex_search(line, m, quotedInclude)) continue;
        const std::string included = m[1];
        const auto slash = included.find('/');
        if (slash == std::string::npos) continue;
        const auto target = kFloors.find(included.substr(0, slash));
        if (target == kFloors.end() || target->first == folder) continue;
        if (target->second >= floor)
          found.push_back({folder + "/" + name + ":" + std::to_string(number), included});
      }
    }
  }
  return found;
}

TEST(LayeringTest, NoCoreFileIncludesAFolderOnItsOwnFloorOrAbove) {
  int filesRead = 0;
  const std::vector<Uphill> uphill = FindUphillIncludes(VRASK_SOURCE_DIR, &filesRead);
  // The scan must have found the sources, or it would pass on nothing.
  EXPECT_GT(filesRead, 100);
  for (const Uphill& u : uphill)
    ADD_FAILURE() << u.where << ": #include \"" << u.include << "\" runs uphill";
}

}  // namespace
