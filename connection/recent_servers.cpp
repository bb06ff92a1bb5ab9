#include "connection/recent_servers.h"

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <system_error>

namespace {

constexpr size_t kLineMax = 300;  // longer lines are damage, not addresses

bool ValidPort(const std::string& p) {
  if (p.empty() || p.size() > 5) return false;
  if (!std::all_of(p.begin(), p.end(), [](char c) { return c >= '0' && c <= '9'; })) return false;
  int n = std::stoi(p);
  return n >= 1 && n <= 65535;
}

bool ValidAddress(const std::string& a) {
  if (a.empty() || a.size() > 255) return false;
  return std::all_of(a.begin(), a.end(),
                     [](char c) { return static_cast<unsigned char>(c) > ' ' && c != 0x7F; });
}

}  // namespace

std::filesystem::path RecentServersPath(const char* xdgConfigHome, const char* home) {
  if (xdgConfigHome && *xdgConfigHome && xdgConfigHome[0] == '/')
    return std::filesystem::path(xdgConfigHome) / "vrask" / "recent-servers";
  if (home && *home) return std::filesystem::path(home) / ".config" / "vrask" / "recent-servers";
  return {};
}

std::vector<RecentServer> LoadRecentServers(const std::filesystem::path& file) {
  std::vector<RecentServer> list;
  std::ifstream in(file, std::ios::binary);
  std::string line;
  while (list.size() < kRecentServersMax && std::getline(in, line)) {
    if (line.size() > kLineMax) continue;
    size_t colon = line.rfind(':');
    if (colon == std::string::npos) continue;
    RecentServer r{line.substr(0, colon), line.substr(colon + 1)};
    if (!ValidAddress(r.address) || !ValidPort(r.port)) continue;
    if (std::find(list.begin(), list.end(), r) != list.end()) continue;
    list.push_back(r);
  }
  return list;
}

void RememberServer(std::vector<RecentServer>& list, const RecentServer& joined) {
  list.erase(std::remove(list.begin(), list.end(), joined), list.end());
  list.insert(list.begin(), joined);
  if (list.size() > kRecentServersMax) list.resize(kRecentServersMax);
}

bool SaveRecentServers(const std::filesystem::path& file, const std::vector<RecentServer>& list) {
  if (file.empty()) return false;
  std::error_code ec;
  std::filesystem::create_directories(file.parent_path(), ec);
  const std::filesystem::path temp = file.string() + ".tmp";
  {
    std::ofstream out(temp, std::ios::binary | std::ios::trunc);
    for (const RecentServer& r : list) out << r.address << ':' << r.port << '\n';
    out.flush();
    if (!out) {
      std::filesystem::remove(temp, ec);
      return false;
    }
  }
  std::filesystem::rename(temp, file, ec);
  if (!ec) return true;
  std::filesystem::remove(temp, ec);
  return false;
}
