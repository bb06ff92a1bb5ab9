// Background music: "vrask%d.mid" for tracks 0..11.
#pragma once

#include <string>

struct GameState;

constexpr int kMusicTracks = 12;

std::string MusicFileName(int track);

// "stop" stops the current track; any other text is a file to play.
// Returns 0 when a track started, 1 after a stop, else the device's error.
int PlayMusic(GameState& g, const std::string& what);
