#include "platform/sdl_track_render.h"

#include <FLAC/stream_encoder.h>
#include <fluidsynth.h>

#include <cstdio>
#include <memory>
#include <vector>

namespace {

// 1024 frames a block, as the mixer asks for them.
constexpr int kBlockFrames = 1024;
constexpr int kChannels = 2;
// FLAC's default: its decoding costs about the same at every level.
constexpr unsigned kFlacLevel = 5;

struct FluidParts {
  fluid_settings_t* settings = nullptr;
  fluid_synth_t* synth = nullptr;
  fluid_player_t* player = nullptr;
  ~FluidParts() {
    if (player) delete_fluid_player(player);
    if (synth) delete_fluid_synth(synth);
    if (settings) delete_fluid_settings(settings);
  }
};

struct EncoderDeleter {
  void operator()(FLAC__StreamEncoder* e) const { FLAC__stream_encoder_delete(e); }
};

}  // namespace

std::string TrackRenderKey(const TrackRenderSettings& s) {
  char key[96];
  std::snprintf(key, sizeof key, "fluidsynth %s, rate %d, gain %.6f, flac %u", fluid_version_str(), s.rate,
                s.gain, kFlacLevel);
  return key;
}

bool RenderTrack(const std::string& midiFile, const std::string& soundfont,
                 const TrackRenderSettings& s, const std::filesystem::path& out,
                 uint32_t shortestMs, const std::function<bool()>& abandon) {
  FluidParts f;
  // Only the sample rate and the gain differ from FluidSynth's defaults, as
  // in SDL_mixer's MIDI player.
  if (!(f.settings = new_fluid_settings())) return false;
  fluid_settings_setnum(f.settings, "synth.sample-rate", s.rate);
  if (!(f.synth = new_fluid_synth(f.settings))) return false;
  if (fluid_synth_sfload(f.synth, soundfont.c_str(), 1) == FLUID_FAILED) return false;
  fluid_synth_set_gain(f.synth, static_cast<float>(s.gain));
  if (!(f.player = new_fluid_player(f.synth))) return false;
  if (fluid_player_add(f.player, midiFile.c_str()) != FLUID_OK) return false;
  if (fluid_player_play(f.player) != FLUID_OK) return false;

  std::unique_ptr<FLAC__StreamEncoder, EncoderDeleter> enc(FLAC__stream_encoder_new());
  if (!enc) return false;
  FLAC__stream_encoder_set_channels(enc.get(), kChannels);
  FLAC__stream_encoder_set_bits_per_sample(enc.get(), 16);
  FLAC__stream_encoder_set_sample_rate(enc.get(), static_cast<unsigned>(s.rate));
  FLAC__stream_encoder_set_compression_level(enc.get(), kFlacLevel);
  if (FLAC__stream_encoder_init_file(enc.get(), out.c_str(), nullptr, nullptr) !=
      FLAC__STREAM_ENCODER_INIT_STATUS_OK)
    return false;

  std::vector<int16_t> block(kBlockFrames * kChannels);
  std::vector<FLAC__int32> wide(block.size());
  uint64_t frames = 0;
  bool ok = true;
  // The live player stops at the same point: when the MIDI player does.
  while (fluid_player_get_status(f.player) == FLUID_PLAYER_PLAYING) {
    if (abandon && abandon()) {
      ok = false;
      break;
    }
    if (fluid_synth_write_s16(f.synth, kBlockFrames, block.data(), 0, 2, block.data(), 1, 2) != FLUID_OK) {
      ok = false;
      break;
    }
    for (size_t i = 0; i < block.size(); ++i) wide[i] = block[i];
    if (!FLAC__stream_encoder_process_interleaved(enc.get(), wide.data(), kBlockFrames)) {
      ok = false;
      break;
    }
    frames += kBlockFrames;
  }
  ok = FLAC__stream_encoder_finish(enc.get()) && ok;
  return ok && frames * 1000 / static_cast<uint64_t>(s.rate) >= shortestMs;
}
