// The game folder: where the program keeps "pakmap.map", saved maps and
// "banlist.dat", and how it gets the files the game ships with (maps,
// sounds, music). Shared by the windowed program and the dedicated server.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

// $VRASK_HOME, else $XDG_DATA_HOME/vrask, else $HOME/.local/share/vrask.
// Null or empty values count as unset; a relative XDG_DATA_HOME is ignored,
// as the XDG base directory rules ask. Empty when nothing is set.
std::filesystem::path GameFolderPath(const char* vraskHome, const char* xdgDataHome,
                                     const char* home);

// Where the shipped files are for a program in exeDir: `installed` (the
// installed share/vrask, relative to exeDir) when it exists; else, when
// exeDir is the build folder, the source tree's data folder; else empty.
std::filesystem::path ShippedFilesFolderFor(const std::filesystem::path& exeDir,
                                            const std::filesystem::path& installed,
                                            const std::filesystem::path& buildDir,
                                            const std::filesystem::path& sourceData);

// The same for this program, with the places the build configured.
std::filesystem::path ShippedFilesFolder();

struct FillReport {
  std::vector<std::string> copied;  // file names, in name order
  std::vector<std::string> failed;  // "name: reason"
};

// Creates `folder` when missing and copies into it every file of `shipped`
// whose name it does not hold yet. A file already there, whatever it holds,
// is never touched: maps the player made or changed stay. An empty
// `shipped` only creates the folder. False (with *error) when the folder
// cannot be created; a file that cannot be copied goes to report->failed.
bool FillGameFolder(const std::filesystem::path& shipped, const std::filesystem::path& folder,
                    FillReport* report, std::string* error);

// Fills `folder` from ShippedFilesFolder() and makes it the working
// directory. False (with *error) when the folder cannot be made or entered.
// Files that could not be copied go to *notCopied ("name: reason") and do
// not fail: the program reports a missing map itself when it needs it.
bool EnterGameFolder(const std::filesystem::path& folder, std::string* error,
                     std::vector<std::string>* notCopied);
