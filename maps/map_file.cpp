#include "maps/map_file.h"

#include <cstdio>
#include <cstring>
#include <memory>

#include "game/game_state.h"
#include "protocol/datagrams.h"

namespace {

constexpr int kMaxSeparators = 40;

struct FileCloser {
  void operator()(std::FILE* f) const { std::fclose(f); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

File Open(const std::string& name, const char* mode) { return File(std::fopen(name.c_str(), mode)); }

void NotifyMapChanged(GameState& g) {
  DatagramBuffer notice;
  BuildMapNotice(notice);
  SendToInternetPlayers(g, notice.data(), notice.size(), "Send error #9");
}

}  // namespace

int ReadMapDescription(GameState& g, const std::string& name) {
  File f = Open(name, "rb");
  if (!f) return 0;
  int counted = 0;
  while (counted < kMapCells) {
    int c = std::fgetc(f.get());
    if (c == EOF) return 0;
    if (c == '\r' || c == '\n' || c == ' ') continue;
    ++counted;
  }
  g.MapDescription.clear();
  while (static_cast<int>(g.MapDescription.size()) < kMapDescriptionMax) {
    int c = std::fgetc(f.get());
    if (c == EOF) break;
    if (c == '\r' || c == '\n') continue;
    g.MapDescription.push_back(static_cast<char>(c));
  }
  return 1;
}

int LoadMapFile(GameState& g, const std::string& name) {
  if (g.IsClient && !g.IsServer) return 0;
  File f = Open(name, "rb");
  if (!f) return 0;
  TileMap scratch{};
  int tiles = 0, separators = 0;
  while (tiles < kMapCells) {
    int c = std::fgetc(f.get());
    if (c == EOF) return 0;
    if (c >= '0' && c <= ':') {
      scratch[tiles++] = static_cast<uint8_t>(c - '0');
    } else if (c == 0 || c == '\r' || c == '\n') {
      if (++separators > kMaxSeparators) return 0;
    } else {
      return 0;
    }
  }
  f.reset();
  g.Tiles = scratch;
  if (g.IsServer) NotifyMapChanged(g);
  g.MapDirty = 1;
  if (g.platform.ui) g.platform.ui->InvalidateWindow();
  return 1;
}

int SaveMapFile(GameState& g, const std::string& name) {
  if (!g.IsClient && !g.IsServer) return 0;
  std::string text;
  text.reserve(224 + kMapDescriptionMax);
  for (int r = 0; r < kMapSide; ++r) {
    for (int c = 0; c < kMapSide; ++c) text.push_back(static_cast<char>('0' + g.Tiles[r * kMapSide + c]));
    text += "\r\n";
  }
  // The description ends at its first NUL, at most 64 characters.
  text.append(g.MapDescription.c_str(), strnlen(g.MapDescription.c_str(), kMapDescriptionMax));

  const std::string temp = name + ".tmp";
  File f = Open(temp, "wb");
  if (!f) return 0;
  bool written = std::fwrite(text.data(), 1, text.size(), f.get()) == text.size();
  written = std::fflush(f.get()) == 0 && written;
  written = std::fclose(f.release()) == 0 && written;
  if (!written || std::rename(temp.c_str(), name.c_str()) != 0) {
    std::remove(temp.c_str());
    return 0;
  }
  return 1;
}

int ClearMapFile(GameState&, const std::string& name) {
  File f = Open(name, "wb");
  return f ? 1 : 0;
}
