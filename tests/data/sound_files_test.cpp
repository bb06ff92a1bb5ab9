// The sound files shipped in data/: every effect is a clean 16-bit WAV of
// the right length and level, every track a well-formed standard MIDI file
// of the right length with melody, harmony, bass and drums.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <map>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

std::vector<uint8_t> ReadData(const std::string& name) {
  std::ifstream in(std::string(VRASK_SOURCE_DIR) + "/data/" + name, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

uint32_t Le(const std::vector<uint8_t>& b, size_t at, int bytes) {
  uint32_t v = 0;
  for (int i = bytes - 1; i >= 0; --i) v = v << 8 | b.at(at + i);
  return v;
}

uint32_t Be(const std::vector<uint8_t>& b, size_t at, int bytes) {
  uint32_t v = 0;
  for (int i = 0; i < bytes; ++i) v = v << 8 | b.at(at + i);
  return v;
}

struct Wav {
  int format = 0, channels = 0, rate = 0, bits = 0;
  std::vector<int16_t> samples;
};

// Walks the RIFF chunks; throws (through at()) on a file cut short.
Wav ParseWav(const std::vector<uint8_t>& b) {
  Wav w;
  if (b.size() < 12 || std::string(b.begin(), b.begin() + 4) != "RIFF" ||
      std::string(b.begin() + 8, b.begin() + 12) != "WAVE")
    return w;
  for (size_t at = 12; at + 8 <= b.size();) {
    std::string id(b.begin() + at, b.begin() + at + 4);
    uint32_t len = Le(b, at + 4, 4);
    if (id == "fmt ") {
      w.format = Le(b, at + 8, 2);
      w.channels = Le(b, at + 10, 2);
      w.rate = Le(b, at + 12, 4);
      w.bits = Le(b, at + 22, 2);
    } else if (id == "data") {
      for (size_t i = 0; i + 1 < len; i += 2)
        w.samples.push_back(static_cast<int16_t>(Le(b, at + 8 + i, 2)));
    }
    at += 8 + len + (len & 1);
  }
  return w;
}

TEST(SoundFiles, EffectsAreShortCleanAndNearMinus3dBFS) {
  for (const char* name : {"shieldup.wav", "shielddo.wav", "launchf.wav", "explodew.wav",
                           "crash.wav", "overrun.wav", "explode.wav", "ring.wav"}) {
    SCOPED_TRACE(name);
    Wav w = ParseWav(ReadData(name));
    ASSERT_EQ(w.format, 1);  // PCM
    ASSERT_EQ(w.bits, 16);
    ASSERT_EQ(w.channels, 1);
    ASSERT_GT(w.rate, 0);
    double seconds = static_cast<double>(w.samples.size()) / w.rate;
    EXPECT_GE(seconds, 0.1);
    EXPECT_LE(seconds, 1.5);
    int peak = 0;
    for (int16_t s : w.samples) peak = std::max(peak, std::abs(static_cast<int>(s)));
    double dbfs = 20 * std::log10(peak / 32768.0);
    EXPECT_GT(dbfs, -4.0);
    EXPECT_LT(dbfs, -2.0);  // never clipped
    // Faded at both ends, so starting and stopping do not click.
    EXPECT_LT(std::abs(w.samples.front()), 100);
    EXPECT_LT(std::abs(w.samples.back()), 100);
  }
}

struct Midi {
  bool ok = false;
  int tracks = 0;
  double seconds = 0;
  std::set<int> noteChannels, programChannels;
  std::set<int> tempos;
};

uint32_t Vlq(const std::vector<uint8_t>& b, size_t& at, size_t end) {
  uint32_t v = 0;
  for (int i = 0; i < 4; ++i) {
    if (at >= end) throw std::out_of_range("variable-length number runs past the track");
    uint8_t c = b[at++];
    v = v << 7 | (c & 0x7F);
    if (!(c & 0x80)) return v;
  }
  throw std::out_of_range("variable-length number too long");
}

// Parses header and tracks (running status, meta and sysex events), checks
// that every track ends with its end-of-track event, and times the file by
// its tempo changes.
Midi ParseMidiOrThrow(const std::vector<uint8_t>& b) {
  Midi m;
  if (b.size() < 14 || std::string(b.begin(), b.begin() + 4) != "MThd" || Be(b, 4, 4) != 6)
    return m;
  int declared = Be(b, 10, 2);
  uint32_t division = Be(b, 12, 2);
  if (division & 0x8000) return m;  // frame-based timing is not used here
  std::map<uint64_t, uint32_t> tempoAt{{0, 500000}};
  uint64_t lastTick = 0;
  size_t at = 14;
  while (at + 8 <= b.size()) {
    if (std::string(b.begin() + at, b.begin() + at + 4) != "MTrk") return m;
    size_t end = at + 8 + Be(b, at + 4, 4);
    if (end > b.size()) return m;
    at += 8;
    uint64_t tick = 0;
    uint8_t status = 0;
    bool ended = false;
    while (at < end && !ended) {
      tick += Vlq(b, at, end);
      if (b.at(at) & 0x80) status = b[at++];
      if (status == 0xFF) {
        uint8_t type = b.at(at++);
        uint32_t len = Vlq(b, at, end);
        if (at + len > end) return m;
        if (type == 0x51 && len == 3) tempoAt[tick] = Be(b, at, 3);
        if (type == 0x2F) ended = true;
        at += len;
      } else if (status == 0xF0 || status == 0xF7) {
        at += Vlq(b, at, end);
      } else if (status >= 0x80) {
        int kind = status & 0xF0, channel = status & 0x0F;
        int len = (kind == 0xC0 || kind == 0xD0) ? 1 : 2;
        if (kind == 0x90 && b.at(at + 1) > 0) m.noteChannels.insert(channel);
        if (kind == 0xC0) m.programChannels.insert(channel);
        at += len;
      } else {
        return m;  // data byte with no running status
      }
    }
    if (!ended || at != end) return m;
    lastTick = std::max(lastTick, tick);
    ++m.tracks;
  }
  if (at != b.size() || m.tracks != declared) return m;
  uint64_t prevTick = 0;
  uint32_t tempo = 500000;
  for (auto [t, us] : tempoAt) {
    if (t > lastTick) break;
    m.seconds += static_cast<double>(t - prevTick) * tempo / division / 1e6;
    prevTick = t;
    tempo = us;
    m.tempos.insert(static_cast<int>(us));
  }
  m.seconds += static_cast<double>(lastTick - prevTick) * tempo / division / 1e6;
  m.ok = true;
  return m;
}

Midi ParseMidi(const std::vector<uint8_t>& b) {
  try {
    return ParseMidiOrThrow(b);
  } catch (const std::out_of_range&) {
    return Midi{};  // an event runs past the end of the file
  }
}

TEST(SoundFiles, TracksAreWholeMidiFilesOfOneToThreeMinutes) {
  std::set<std::vector<uint8_t>> distinct;
  std::set<std::set<int>> tempoSets;
  for (int i = 0; i < 12; ++i) {
    std::string name = "vrask" + std::to_string(i) + ".mid";
    SCOPED_TRACE(name);
    std::vector<uint8_t> bytes = ReadData(name);
    Midi m = ParseMidi(bytes);
    ASSERT_TRUE(m.ok);
    EXPECT_GE(m.seconds, 60.0);
    EXPECT_LE(m.seconds, 180.0);
    EXPECT_TRUE(m.noteChannels.count(9)) << "no drums";
    EXPECT_GE(m.noteChannels.size(), 4u) << "melody, harmony, bass and drums";
    EXPECT_GE(m.programChannels.size(), 3u) << "each part chooses its instrument";
    distinct.insert(bytes);
    tempoSets.insert(m.tempos);
  }
  EXPECT_EQ(distinct.size(), 12u);
  EXPECT_GE(tempoSets.size(), 10u) << "tempos should differ between tracks";
}

// The parser itself must refuse a damaged file, or the test above proves
// nothing: a track without its end event, and one cut short.
TEST(SoundFiles, MidiParserRefusesDamagedFiles) {
  std::vector<uint8_t> good = ReadData("vrask0.mid");
  ASSERT_TRUE(ParseMidi(good).ok);
  std::vector<uint8_t> cut(good.begin(), good.end() - 3);  // end-of-track event gone
  EXPECT_FALSE(ParseMidi(cut).ok);
  std::vector<uint8_t> half(good.begin(), good.begin() + good.size() / 2);
  EXPECT_FALSE(ParseMidi(half).ok);
}

}  // namespace
