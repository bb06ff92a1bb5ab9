// Writes every embedded picture, as the program decodes it, enlarged into
// PPM files, plus a small playfield scene composed the way the game draws
// (tiles copied, sprites and overlays ORed). tools/make_screenshots.sh turns
// them into the PNG files under docs/screenshots/.
//
// Usage: vrask-sheets <output folder> [scale]

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "game/game_state.h"
#include "platform/embedded_assets.h"
#include "render/pictures.h"

namespace {

struct Sheet {
  const char* file;
  const char* name;
};

const Sheet kSheets[] = {
    {"bitmap108.bmp", "sheet-108-tiles"},          {"bitmap109.bmp", "sheet-109-vehicle-yellow"},
    {"bitmap110.bmp", "sheet-110-vehicle-blue"},   {"bitmap111.bmp", "sheet-111-vehicle-cyan"},
    {"bitmap112.bmp", "sheet-112-vehicle-green"},  {"bitmap113.bmp", "sheet-113-vehicle-maroon"},
    {"bitmap114.bmp", "sheet-114-vehicle-magenta"}, {"bitmap115.bmp", "sheet-115-vehicle-red"},
    {"bitmap116.bmp", "sheet-116-vehicle-white"},  {"bitmap117.bmp", "sheet-117-bricks"},
    {"bitmap118.bmp", "sheet-118-computer-mark"},  {"bitmap119.bmp", "sheet-119-fireballs"},
    {"bitmap120.bmp", "sheet-120-shields"},        {"bitmap121.bmp", "sheet-121-explosion"},
    {"bitmap123.bmp", "sheet-123-status-bar-help"}, {"bitmap124.bmp", "sheet-124-icons"},
    {"bitmap130.bmp", "sheet-130-welcome"},        {"bitmap131.bmp", "sheet-131-own-mark"},
    {"icon102.bmp", "icon-102"},                   {"cursor104.bmp", "cursor-104"},
};

bool WritePpm(const std::string& path, const Picture& pic, int scale) {
  FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return false;
  std::fprintf(f, "P6\n%d %d\n255\n", pic.width * scale, pic.height * scale);
  std::vector<unsigned char> row(static_cast<size_t>(pic.width) * scale * 3);
  for (int y = 0; y < pic.height; ++y) {
    for (int x = 0; x < pic.width; ++x) {
      const uint32_t c = pic.At(x, y);
      for (int s = 0; s < scale; ++s) {
        unsigned char* p = &row[(static_cast<size_t>(x) * scale + s) * 3];
        p[0] = static_cast<unsigned char>(c >> 16);
        p[1] = static_cast<unsigned char>(c >> 8);
        p[2] = static_cast<unsigned char>(c);
      }
    }
    for (int s = 0; s < scale; ++s) std::fwrite(row.data(), 1, row.size(), f);
  }
  return std::fclose(f) == 0;
}

// Copies (or ORs) the 40 x 40 cell (c, r) of src to (dx, dy) of dst.
void CopyCell(Picture& dst, const Picture& src, int c, int r, int dx, int dy, bool orIt) {
  for (int y = 0; y < 40; ++y)
    for (int x = 0; x < 40; ++x) {
      const int sx = kCellPitch * c + x, sy = kCellPitch * r + y;
      const int tx = dx + x, ty = dy + y;
      if (sx >= src.width || sy >= src.height || tx >= dst.width || ty >= dst.height) continue;
      uint32_t& d = dst.pixels[static_cast<size_t>(ty) * dst.width + tx];
      d = orIt ? (d | src.At(sx, sy)) : src.At(sx, sy);
    }
}

// A corner of a maze with every tile, vehicles in several colours and
// facings, both marks, a shield, fireballs and an explosion, at phase p.
Picture Scene(const PictureSet& set, int p) {
  static const int kTiles[4][9] = {
      {1, 1, 1, 2, 2, 3, 3, 4, 4},
      {5, 0, 0, 0, 0, 0, 0, 0, 6},
      {5, 0, 8, 0, 0, 0, 0, 0, 6},
      {7, 7, 7, 1, 1, 1, 2, 2, 2},
  };
  Picture s;
  s.width = 9 * 40;
  s.height = 4 * 40;
  s.pixels.assign(static_cast<size_t>(s.width) * s.height, 0);
  for (int r = 0; r < 4; ++r)
    for (int c = 0; c < 9; ++c) CopyCell(s, set.Bitmaps[0], p, kTiles[r][c], 40 * c, 40 * r, false);
  // slot number, facing column, position, computer, own, shield
  struct Car { int number, facing, x, y; bool computer, own, shield; };
  const Car cars[] = {
      {1, 2, 40, 40, false, true, false}, {2, 3, 120, 40, true, false, false},
      {6, 0, 280, 40, false, false, true}, {8, 1, 240, 80, false, false, false},
      {4, 2, 120, 80, true, false, true},
  };
  for (const Car& v : cars) {
    CopyCell(s, set.Bitmaps[v.number], v.facing, p, v.x, v.y, true);
    if (v.computer) CopyCell(s, set.Bitmaps[10], v.facing, p, v.x, v.y, true);
    if (v.own) CopyCell(s, set.OwnMarkBitmap, v.facing, p, v.x, v.y, true);
    if (v.shield) CopyCell(s, set.Bitmaps[12], p, 0, v.x, v.y, true);
  }
  CopyCell(s, set.Bitmaps[11], p, 0, 80, 40, true);    // a flying fireball
  CopyCell(s, set.Bitmaps[11], p, 1, 200, 40, true);   // one exploding
  CopyCell(s, set.Bitmaps[13], p + 1, 0, 160, 80, true);  // a player blowing up
  return s;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: %s <output folder> [scale]\n", argv[0]);
    return 2;
  }
  const std::string dir = argv[1];
  const int scale = argc > 2 ? std::atoi(argv[2]) : 4;
  if (scale < 1 || scale > 16) return 2;
  int failures = 0;
  for (const Sheet& s : kSheets) {
    const EmbeddedFile* file = EmbeddedAsset(s.file);
    Picture pic;
    if (!file || !DecodeBmp(file->data, file->size, &pic)) {
      std::fprintf(stderr, "%s: missing or not a 16-colour bitmap\n", s.file);
      ++failures;
      continue;
    }
    if (!WritePpm(dir + "/" + s.name + ".ppm", pic, scale)) ++failures;
  }
  GameState g;
  PictureSet set;
  LoadBitmaps(g, set);
  for (int p = 0; p < 4; ++p) {
    char name[64];
    std::snprintf(name, sizeof name, "/scene-phase-%d.ppm", p);
    if (!WritePpm(dir + name, Scene(set, p), scale)) ++failures;
  }
  return failures == 0 ? 0 : 1;
}
