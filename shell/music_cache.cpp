#include "shell/music_cache.h"

#include <sodium.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <vector>

namespace fs = std::filesystem;

namespace {

constexpr size_t kNameHashBytes = 16;
constexpr size_t kSumHashBytes = 32;
constexpr const char* kSumExtension = ".sum";

std::string Hex(const unsigned char* bytes, size_t n) {
  std::string out(n * 2, '0');
  sodium_bin2hex(out.data(), out.size() + 1, bytes, n);
  return out;
}

// "<size> <hash>" of a file's bytes; empty when it cannot be read.
std::string Checksum(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  if (!in) return "";
  crypto_generichash_state state;
  crypto_generichash_init(&state, nullptr, 0, kSumHashBytes);
  std::vector<char> block(1 << 16);
  uintmax_t size = 0;
  while (in) {
    in.read(block.data(), static_cast<std::streamsize>(block.size()));
    auto got = static_cast<size_t>(in.gcount());
    size += got;
    crypto_generichash_update(&state, reinterpret_cast<unsigned char*>(block.data()), got);
  }
  if (in.bad()) return "";
  unsigned char hash[kSumHashBytes];
  crypto_generichash_final(&state, hash, sizeof hash);
  return std::to_string(size) + " " + Hex(hash, sizeof hash);
}

std::string ReadSmallFile(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

void RemoveRender(const fs::path& render) {
  std::error_code ec;
  fs::remove(render, ec);
  fs::remove(fs::path(render) += kSumExtension, ec);
}

// Keeps the newest kMaxCachedTracks renders (by modification time, which
// FindRender renews at every play).
void Trim(const fs::path& dir) {
  std::vector<std::pair<fs::file_time_type, fs::path>> renders;
  std::error_code ec;
  for (const fs::directory_entry& e : fs::directory_iterator(dir, ec)) {
    if (!e.is_regular_file(ec) || e.path().extension() == kSumExtension) continue;
    if (!fs::exists(fs::path(e.path()) += kSumExtension, ec)) continue;  // not a stored render
    renders.emplace_back(e.last_write_time(ec), e.path());
  }
  if (renders.size() <= static_cast<size_t>(kMaxCachedTracks)) return;
  std::sort(renders.begin(), renders.end(), [](const auto& a, const auto& b) { return a.first > b.first; });
  for (size_t i = kMaxCachedTracks; i < renders.size(); ++i) RemoveRender(renders[i].second);
}

}  // namespace

fs::path MusicCacheDir(const char* xdgCacheHome, const char* home) {
  if (xdgCacheHome && *xdgCacheHome && fs::path(xdgCacheHome).is_absolute())
    return fs::path(xdgCacheHome) / "vrask" / "music";
  if (home && *home) return fs::path(home) / ".cache" / "vrask" / "music";
  return {};
}

std::string SoundfontIdentity(const fs::path& font) {
  std::error_code ec;
  uintmax_t size = fs::file_size(font, ec);
  if (ec) return "";
  auto time = fs::last_write_time(font, ec);
  if (ec) return "";
  return font.string() + "|" + std::to_string(size) + "|" +
         std::to_string(time.time_since_epoch().count());
}

std::string RenderName(const std::string& midiBytes, const std::string& soundfontIdentity,
                       const std::string& settings, const std::string& extension) {
  (void)sodium_init();
  crypto_generichash_state state;
  crypto_generichash_init(&state, nullptr, 0, kNameHashBytes);
  // Each part with its length first, so no two different triples hash alike.
  for (const std::string* part : {&midiBytes, &soundfontIdentity, &settings}) {
    std::string length = std::to_string(part->size()) + ":";
    crypto_generichash_update(&state, reinterpret_cast<const unsigned char*>(length.data()), length.size());
    crypto_generichash_update(&state, reinterpret_cast<const unsigned char*>(part->data()), part->size());
  }
  unsigned char hash[kNameHashBytes];
  crypto_generichash_final(&state, hash, sizeof hash);
  return Hex(hash, sizeof hash) + extension;
}

fs::path FindRender(const fs::path& dir, const std::string& name) {
  fs::path render = dir / name;
  std::error_code ec;
  if (!fs::is_regular_file(render, ec)) return {};
  std::string expected = ReadSmallFile(fs::path(render) += kSumExtension);
  if (expected.empty() || Checksum(render) != expected) {
    RemoveRender(render);  // cut short, damaged, or never finished
    return {};
  }
  fs::last_write_time(render, fs::file_time_type::clock::now(), ec);
  return render;
}

bool StoreRender(const fs::path& dir, const std::string& name, const fs::path& written) {
  fs::path render = dir / name;
  std::string sum = Checksum(written);
  std::error_code ec;
  if (sum.empty()) return false;
  fs::rename(written, render, ec);
  if (ec) return false;
  // The checksum last, written beside and renamed: a render without its
  // checksum is never played.
  fs::path sumFile = fs::path(render) += kSumExtension;
  fs::path sumTemp = fs::path(render) += ".sum.tmp";
  {
    std::ofstream out(sumTemp, std::ios::binary | std::ios::trunc);
    out << sum;
    if (!out.flush()) return false;
  }
  fs::rename(sumTemp, sumFile, ec);
  if (ec) return false;
  Trim(dir);
  return true;
}
