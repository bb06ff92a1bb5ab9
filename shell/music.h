// Background music: "vrask%d.mid" for tracks 0..11.
#pragma once

#include <string>

struct GameState;

constexpr int kMusicTracks = 12;

std::string MusicFileName(int track);

// "stop" stops the current track; any other text is a file to play.
// Returns 0 when a track started, 1 after a stop, else the device's error.
int PlayMusic(GameState& g, const std::string& what);

// The tracks play in rising order, wrapping from the last to the first.
void NextTrack(GameState& g);

// What the music device reported (a MusicNotice code): a failure while
// playing switches music off, a track that could not be played leaves no
// device and music on, the program's own stop does nothing, anything else
// (the end of the track) starts the next track while music is on.
void HandleMusicNotice(GameState& g, int code);

// Handles the notice the audio device holds, if any; the window calls it
// from its timer, on the main thread.
void PollMusicNotice(GameState& g);
