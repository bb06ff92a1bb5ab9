// The cache of rendered music: each MIDI track, once synthesised, is kept
// as a compressed audio file, so that playing it later costs what decoding
// that file costs rather than what a live synthesiser costs.
//
// A render is named by a hash of everything that decides how it sounds: the
// MIDI file's bytes, the soundfont and the synthesiser's settings. A changed
// MIDI file or soundfont thus gets a new render; the old one ages out. Each
// render has a checksum beside it ("<name>.sum": size and hash), written
// after the render is complete, so a file cut short or damaged on the disk
// is noticed and rendered again instead of being played. At most
// kMaxCachedTracks renders are kept, the least recently played going first.
#pragma once

#include <filesystem>
#include <string>

// The game's twelve tracks.
constexpr int kMaxCachedTracks = 12;

// $XDG_CACHE_HOME/vrask/music, else $HOME/.cache/vrask/music. Null or empty
// values count as unset; a relative XDG_CACHE_HOME is ignored. Empty when
// neither is set.
std::filesystem::path MusicCacheDir(const char* xdgCacheHome, const char* home);

// What identifies a soundfont file without reading its megabytes: its path,
// size and modification time. Empty when it cannot be read.
std::string SoundfontIdentity(const std::filesystem::path& font);

// The render's file name: 32 hex digits of a hash of the three, then
// `extension` (such as ".flac").
std::string RenderName(const std::string& midiBytes, const std::string& soundfontIdentity,
                       const std::string& settings, const std::string& extension);

// The path of the render `name` in `dir` when it is there and matches its
// checksum; it then counts as just played. Empty when it is missing or
// damaged (a damaged one is removed).
std::filesystem::path FindRender(const std::filesystem::path& dir, const std::string& name);

// Moves the finished render `written` (a file in `dir`) to `name`, writes
// its checksum, and removes the least recently played renders beyond
// kMaxCachedTracks. False when the render could not be stored.
bool StoreRender(const std::filesystem::path& dir, const std::string& name,
                 const std::filesystem::path& written);
