// The playfield is drawn straight onto the persistent surface without an
// off-screen frame: a paint redraws the wall tiles (their animation moves),
// erases each moving thing where the previous paint drew it (DrawX, DrawY),
// draws it at its new place and redraws whatever the erasing damaged. Only
// MapDirty clears the whole window.
#include "render/paint_window.h"

#include "game/frame_transitions.h"
#include "game/game_state.h"
#include "render/pictures.h"
#include "render/status_bar.h"
#include "render/surface.h"

namespace {

constexpr int kTileStrip = 0, kComputerMark = 10, kFireballs = 11, kShield = 12, kExplosion = 13;

// ORs the 40 x 40 cell at (sx, sy) of `src` into the 40 x 40 `out`; what
// lies outside `src` adds nothing, as in a clipped OR copy.
void OrCellInto(Picture& out, const Picture& src, int sx, int sy) {
  for (int y = 0; y < kCellSize && sy + y < src.height; ++y)
    for (int x = 0; x < kCellSize && sx + x < src.width; ++x)
      out.pixels[static_cast<size_t>(y * kCellSize + x)] |= src.At(sx + x, sy + y);
}

// A vehicle with its computer mark, own mark and shield as one cell. ORed
// once over the floor it leaves the pixels that ORing the parts one after
// another leaves, from a half or a third of the memory: the sprites are the
// most of what a paint has to fetch. Made on first use and kept in the
// set; nullptr for a cell the vehicle picture lacks (a counter past 7).
const Picture* VehicleLook(const PictureSet& pics, int number, int facing, int phase, bool computer,
                           bool own, bool shield) {
  constexpr int kPhases = 4, kFacings = 4, kMarkings = 8;  // computer, own and shield: 2 x 2 x 2
  if (number < 1 || number > kSlotCount || facing < 0 || facing >= kFacings || phase < 0 || phase >= kPhases)
    return nullptr;
  const size_t at = static_cast<size_t>((((number - 1) * kFacings + facing) * kPhases + phase) * kMarkings +
                                        computer * 4 + own * 2 + shield);
  if (pics.vehicleLooks.empty()) pics.vehicleLooks.resize(kSlotCount * kFacings * kPhases * kMarkings);
  Picture& look = pics.vehicleLooks[at];
  if (look.width != 0) return &look;
  look.pixels.assign(kCellSize * kCellSize, 0);
  const int sx = kCellPitch * facing, sy = kCellPitch * phase;
  OrCellInto(look, pics.Bitmaps[static_cast<size_t>(number)], sx, sy);
  if (computer) OrCellInto(look, pics.Bitmaps[kComputerMark], sx, sy);
  if (own) OrCellInto(look, pics.OwnMarkBitmap, sx, sy);
  if (shield) OrCellInto(look, pics.Bitmaps[kShield], kCellPitch * phase, 0);
  look.width = look.height = kCellSize;
  return &look;
}

struct Painter {
  GameState& g;
  Surface& s;
  const PictureSet& pics;
  int phase;  // FrameCounter / 2

  void CopyCell(const Picture& pic, int col, int row, int x, int y) {
    s.Copy(pic, kCellPitch * col, kCellPitch * row, kCellSize, kCellSize, x - kScreenOffset,
           y - kScreenOffset);
  }
  void OrCell(const Picture& pic, int col, int row, int x, int y) {
    s.Or(pic, kCellPitch * col, kCellPitch * row, kCellSize, kCellSize, x - kScreenOffset,
         y - kScreenOffset);
  }

  // The black floor cell over the square at playfield (x, y).
  void EraseSquare(int x, int y) { CopyCell(pics.Bitmaps[kTileStrip], 0, 0, x, y); }

  // Floor cells under the square's four corners are made black again;
  // walls and places outside the grid are left alone.
  void RestoreFloorUnder(int x, int y) {
    const int corners[4][2] = {{x, y}, {x + 39, y}, {x + 39, y + 39}, {x, y + 39}};
    for (const auto& c : corners) {
      if (c[0] < 0 || c[1] < 0) continue;
      int col = c[0] / kCellSize, row = c[1] / kCellSize;
      if (col >= kMapSide || row >= kMapSide) continue;
      if (g.Tiles[static_cast<size_t>(row * kMapSide + col)] != 0) continue;
      CopyCell(pics.Bitmaps[kTileStrip], 0, 0, kCellSize * col, kCellSize * row);
    }
  }

  static int FacingColumn(int dir) {
    switch (dir) {
      case DirUp: return 1;
      case DirRight: return 2;
      case DirDown: return 3;
      default: return 0;  // 'l' and any unknown letter
    }
  }

  void DrawPlayerSprite(int j) {
    const PlayerSlot& p = g.Players[static_cast<size_t>(j)];
    if (p.Life == Alive) {
      // A stopped player keeps facing the way it last asked to go.
      int f = FacingColumn(p.Dir == DirStop ? p.WantDir : p.Dir);
      const bool computer = p.Kind == KindComputer, own = j == g.LocalSlot;
      const Picture* look =
          computer || own || p.Shield ? VehicleLook(pics, p.Number, f, phase, computer, own, p.Shield) : nullptr;
      if (look) return OrCell(*look, 0, 0, p.X, p.Y);
      // Only numbers 1..8 name a vehicle; another (e.g. from a bad update)
      // would pick an unrelated picture, so it draws no vehicle.
      if (p.Number >= 1 && p.Number <= kSlotCount) OrCell(pics.Bitmaps[p.Number], f, phase, p.X, p.Y);
      if (computer) OrCell(pics.Bitmaps[kComputerMark], f, phase, p.X, p.Y);
      if (own) OrCell(pics.OwnMarkBitmap, f, phase, p.X, p.Y);
      if (p.Shield) OrCell(pics.Bitmaps[kShield], phase, 0, p.X, p.Y);
    } else if (p.Life == Exploding) {
      // Indexed by the counter itself: cells 6 and 7 lie beyond the
      // six-step strip, so the last two counter values show nothing.
      OrCell(pics.Bitmaps[kExplosion], g.FrameCounter, 0, p.X, p.Y);
    }
  }

  void DrawAllPlayers() {
    for (int j = 0; j < kSlotCount; ++j)
      if (g.Players[static_cast<size_t>(j)].Active) DrawPlayerSprite(j);
  }

  void DrawFireball(int k) {
    const Fireball& f = g.Fireballs[static_cast<size_t>(k)];
    if (f.State == FireFlying) OrCell(pics.Bitmaps[kFireballs], phase, 0, f.X, f.Y);
    else if (f.State == FireExploding) OrCell(pics.Bitmaps[kFireballs], phase, 1, f.X, f.Y);
  }

  static bool Overlap(int ax, int ay, int bx, int by) {
    return ax - bx <= 39 && bx - ax <= 39 && ay - by <= 39 && by - ay <= 39;
  }

  // Erases the square at (x, y) for slot i and redraws the earlier slots
  // that the erased square cut into.
  void EraseAndRepairBelow(int i, int x, int y) {
    EraseSquare(x, y);
    for (int j = 0; j < i; ++j) {
      const PlayerSlot& q = g.Players[static_cast<size_t>(j)];
      if (q.Active && Overlap(q.X, q.Y, x, y)) DrawPlayerSprite(j);
    }
  }
  // Slot i where the previous paint drew it.
  void EraseAndRepairBelow(int i) {
    const PlayerSlot& p = g.Players[static_cast<size_t>(i)];
    EraseAndRepairBelow(i, p.DrawX, p.DrawY);
  }

  void TilePass() {
    for (int r = 0; r < kMapSide; ++r)
      for (int c = 0; c < kMapSide; ++c) {
        int t = g.Tiles[static_cast<size_t>(r * kMapSide + c)];
        // Codes 9 and 10 have no row in the strip: those walls stay unseen.
        if (t != 0) CopyCell(pics.Bitmaps[kTileStrip], phase, t, kCellSize * c, kCellSize * r);
      }
  }

  void PlayerPass() {
    for (int i = 0; i < kSlotCount; ++i) {
      PlayerSlot& p = g.Players[static_cast<size_t>(i)];
      if (!p.Active) continue;
      if (p.Life == Alive) {
        p.DrawnFlag = 0;
        EraseAndRepairBelow(i);
        DrawPlayerSprite(i);
      } else if (p.Life == Exploding) {
        p.DrawnFlag = 0;
        EraseAndRepairBelow(i);
        OrCell(pics.Bitmaps[kExplosion], g.FrameCounter, 0, p.X, p.Y);
        if (ExplosionEndsThisFrame(g, p)) {
          p.Life = Dead;
          EraseAndRepairBelow(i);
          // A player hit while moving in this very step was blasted at X, Y,
          // not at DrawX, DrawY: erase that square too, or the blast picture
          // would stay on the floor after the player is gone.
          if (p.X != p.DrawX || p.Y != p.DrawY) EraseAndRepairBelow(i, p.X, p.Y);
        }
      }
      // Life tested afresh: a player that has just died is erased once
      // more here, and then not again until it has been alive.
      if (p.Life != Alive && p.Life != Exploding && p.DrawnFlag == 0) {
        p.DrawnFlag = 1;
        EraseAndRepairBelow(i);
      }
    }
  }

  void FireballPass() {
    for (int k = 0; k < kSlotCount; ++k) {
      Fireball& f = g.Fireballs[static_cast<size_t>(k)];
      if (f.State == FireFlying) {
        f.DrawnFlag = 0;
        RestoreFloorUnder(f.DrawX, f.DrawY);
        for (int j = 0; j < kSlotCount; ++j) {
          if (g.Players[static_cast<size_t>(j)].Active) DrawPlayerSprite(j);
          if (g.Fireballs[static_cast<size_t>(j)].State == FireFlying) DrawFireball(j);
        }
        DrawFireball(k);
      } else if (f.State == FireExploding) {
        f.DrawnFlag = 0;
        RestoreFloorUnder(f.DrawX, f.DrawY);
        DrawAllPlayers();
        DrawFireball(k);
      } else if (f.State == FireCleared) {
        RestoreFloorUnder(f.DrawX, f.DrawY);
        DrawAllPlayers();
        RestoreFloorUnder(f.X, f.Y);
        DrawAllPlayers();
        ParkFireball(f);
      }
      // Tested afresh, so a fireball parked just now is handled here too;
      // its park place lies below the grid and restores nothing.
      if (f.State == FireNone && f.DrawnFlag == 0) {
        f.DrawnFlag = 1;
        RestoreFloorUnder(f.DrawX, f.DrawY);
        DrawAllPlayers();
      }
    }
  }
};

const PictureSet kNoPictures{};

}  // namespace

const PictureSet& PicturesOf(const GameState& g) { return g.Bitmaps ? *g.Bitmaps : kNoPictures; }

void PaintWindow(GameState& g, Surface& s) {
  AdvanceStatusPhase(g);
  // 720 x 560 reaches past the client area on both sides; the fill clips.
  if (g.MapDirty == 1) s.FillBlack(0, 0, 720, 560);
  Painter painter{g, s, PicturesOf(g), g.FrameCounter / 2};
  painter.TilePass();
  painter.PlayerPass();
  painter.FireballPass();
  DrawStatusBar(g, s);
}

void SkipPaint(GameState& g) { AdvanceStatusPhase(g); }

void PaintAndTakeChanges(GameState& g, Surface& s, std::vector<ScreenRect>& changed,
                         const PaintFunction& paint) {
  if (paint) paint(g, s);
  g.MapDirty = 0;
  s.TakeChanges(changed);
}
