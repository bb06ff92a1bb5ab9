// Renders a MIDI track once, with FluidSynth, into a FLAC file that
// SDL_mixer then plays for far less than a live synthesiser costs.
//
// The synthesiser is set up as SDL_mixer's MIDI player sets up its own (the
// same soundfont, sample rate and defaults, the gain that the music volume
// gives it), and stops where that player stops, so the render sounds like
// the live track. FLAC keeps every sample: nothing is lost to compression.
#pragma once

#include <filesystem>
#include <functional>
#include <string>

struct TrackRenderSettings {
  int rate = 44100;    // the mixer's output rate
  double gain = 1.0;   // FluidSynth's gain; SDL_mixer's is 1.2 x the music volume / 128
};

// What the render's cache name is keyed on besides the files.
std::string TrackRenderKey(const TrackRenderSettings& s);

// Writes the render of `midiFile` to `out`. `abandon` is asked between
// blocks of audio; when it answers true the render stops. False when it
// failed, was abandoned, or came out shorter than `shortestMs` (a file
// the synthesiser cannot play, which live is reported as a failure).
bool RenderTrack(const std::string& midiFile, const std::string& soundfont,
                 const TrackRenderSettings& s, const std::filesystem::path& out,
                 uint32_t shortestMs, const std::function<bool()>& abandon);
