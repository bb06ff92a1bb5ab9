#include "shell/game_folder.h"

#include <algorithm>
#include <system_error>

namespace fs = std::filesystem;

namespace {

bool IsSet(const char* v) { return v && *v; }

// A copy is written under a hidden name and renamed into place, so a copy
// cut short (disk full, program killed) never leaves a half file under the real
// name, which the next start would then keep as the player's own.
bool CopyMissing(const fs::path& from, const fs::path& to, std::string* reason) {
  std::error_code ec;
  std::string partName = ".";
  partName += to.filename().string();
  partName += ".part";
  fs::path part = to.parent_path() / partName;
  if (!fs::copy_file(from, part, fs::copy_options::overwrite_existing, ec)) {
    *reason = ec.message();
    fs::remove(part, ec);
    return false;
  }
  // Someone may have made the file meanwhile; theirs wins.
  if (fs::exists(fs::symlink_status(to, ec))) {
    fs::remove(part, ec);
    return true;
  }
  fs::rename(part, to, ec);
  if (ec) {
    *reason = ec.message();
    fs::remove(part, ec);
    return false;
  }
  return true;
}

}  // namespace

fs::path GameFolderPath(const char* vraskHome, const char* xdgDataHome, const char* home) {
  if (IsSet(vraskHome)) return fs::path(vraskHome);
  if (IsSet(xdgDataHome) && fs::path(xdgDataHome).is_absolute()) return fs::path(xdgDataHome) / "vrask";
  if (IsSet(home)) return fs::path(home) / ".local" / "share" / "vrask";
  return {};
}

fs::path ShippedFilesFolderFor(const fs::path& exeDir, const fs::path& installed,
                               const fs::path& buildDir, const fs::path& sourceData) {
  std::error_code ec;
  fs::path shared = (exeDir / installed).lexically_normal();
  if (fs::is_directory(shared, ec)) return shared;
  if (!buildDir.empty() && fs::equivalent(exeDir, buildDir, ec) && fs::is_directory(sourceData, ec))
    return sourceData;
  return {};
}

fs::path ShippedFilesFolder() {
  std::error_code ec;
  fs::path exe = fs::read_symlink("/proc/self/exe", ec);
  if (ec) return {};
  return ShippedFilesFolderFor(exe.parent_path(), VRASK_DATA_FROM_BIN, VRASK_BUILD_DIR,
                               VRASK_SOURCE_DATA_DIR);
}

bool FillGameFolder(const fs::path& shipped, const fs::path& folder, FillReport* report,
                    std::string* error) {
  std::error_code ec;
  fs::create_directories(folder, ec);
  if (ec || !fs::is_directory(folder)) {
    *error = ec ? ec.message() : "not a folder";
    return false;
  }
  if (shipped.empty()) return true;

  std::vector<fs::path> files;
  for (auto it = fs::directory_iterator(shipped, ec); !ec && it != fs::directory_iterator();
       it.increment(ec)) {
    std::error_code typeError;
    if (it->is_regular_file(typeError)) files.push_back(it->path());
  }
  if (ec) {
    report->failed.push_back(shipped.string() + ": " + ec.message());
    return true;
  }
  std::sort(files.begin(), files.end());
  for (const fs::path& from : files) {
    std::string name = from.filename().string();
    fs::path to = folder / name;
    // symlink_status: a dangling link or a folder of that name is the
    // player's too, and stays.
    if (fs::exists(fs::symlink_status(to, ec))) continue;
    std::string reason;
    if (CopyMissing(from, to, &reason))
      report->copied.push_back(name);
    else
      report->failed.push_back(name + ": " + reason);
  }
  return true;
}

bool EnterGameFolder(const fs::path& folder, std::string* error,
                     std::vector<std::string>* notCopied) {
  FillReport report;
  if (!FillGameFolder(ShippedFilesFolder(), folder, &report, error)) return false;
  *notCopied = report.failed;
  std::error_code ec;
  fs::current_path(folder, ec);
  if (ec) {
    *error = ec.message();
    return false;
  }
  return true;
}
