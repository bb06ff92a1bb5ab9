// The servers joined last, offered again in the join dialog's address
// drop-down. One "ADDRESS:PORT" a line, newest first, in
// $XDG_CONFIG_HOME/vrask/recent-servers (else ~/.config/vrask/).
#pragma once

#include <filesystem>
#include <string>
#include <vector>

constexpr size_t kRecentServersMax = 8;

struct RecentServer {
  std::string address;
  std::string port;
  bool operator==(const RecentServer&) const = default;
};

// Empty when neither variable gives a place; a relative XDG_CONFIG_HOME is
// ignored, as the XDG base directory rules ask.
std::filesystem::path RecentServersPath(const char* xdgConfigHome, const char* home);

// The list kept in `file`. A missing or damaged file is an empty list,
// never an error; lines that do not read as ADDRESS:PORT are skipped and
// at most kRecentServersMax are taken.
std::vector<RecentServer> LoadRecentServers(const std::filesystem::path& file);

// Puts `joined` first, drops an older copy of it, keeps kRecentServersMax.
void RememberServer(std::vector<RecentServer>& list, const RecentServer& joined);

// Writes beside the file, then renames over it, so a crash or a full disk
// in the middle leaves the old list rather than half of a new one. Creates
// the folder. False when the list could not be written.
bool SaveRecentServers(const std::filesystem::path& file, const std::vector<RecentServer>& list);
