#include "maps/maze_generator.h"

#include <array>

namespace {

constexpr int kSide = kMapSide;
constexpr int kCarvingBorder = 2;  // marks the border while the maze is carved
constexpr int kFinalBorder = 1;
constexpr int kStyles = 8;         // wall styles 1..8

int At(int row, int col) { return row * kSide + col; }

uint8_t RandomStyle(GameState& g) { return static_cast<uint8_t>(Random(g) % kStyles + 1); }

void LayBorder(TileMap& grid, uint8_t code) {
  for (int k = 0; k < kSide; ++k) {
    grid[At(0, k)] = code;
    grid[At(k, 0)] = code;
    grid[At(kSide - 1, k)] = code;
    grid[At(k, kSide - 1)] = code;
  }
}

// Rooms already joined to the maze.
struct VisitList {
  std::array<int, kMapCells> cells{};
  int length = 0;
  void Append(int cell) { cells[length++] = cell; }
};

// One carving attempt from a joined room in direction d (left, right, up,
// down): joins the room two cells away when it lies inside rows and columns
// 1..12 and is still walled in on all four sides.
void TryCarve(TileMap& grid, VisitList& visited, int from, int d) {
  static constexpr int kRowStep[4] = {0, 0, -1, 1};
  static constexpr int kColStep[4] = {-1, 1, 0, 0};
  const int row = from / kSide, col = from % kSide;
  const int tr = row + 2 * kRowStep[d], tc = col + 2 * kColStep[d];
  if (tr < 1 || tr > kSide - 2 || tc < 1 || tc > kSide - 2) return;
  const int between = At(row + kRowStep[d], col + kColStep[d]);
  const int target = At(tr, tc);
  if (grid[target - 1] == 0 || grid[target + 1] == 0 || grid[target - kSide] == 0 ||
      grid[target + kSide] == 0)
    return;  // already joined
  grid[between] = 0;
  visited.Append(target);
}

void OpenRingCorridor(TileMap& grid) {
  // Row 1, row 12, column 1 and column 12. The last of each run lands on
  // the border, which the final border puts back.
  for (int k = 0; k <= 12; ++k) {
    grid[At(1, 1 + k)] = 0;
    grid[At(1 + k, 1)] = 0;
    grid[At(12, 1 + k)] = 0;
    grid[At(1 + k, 12)] = 0;
  }
}

// A(j): cell (2, j) beside the top corridor.
void ThinTop(GameState& g, TileMap& grid, int j) {
  if (grid[At(3, j)] != 0 && grid[At(2, j - 1)] == 0 && grid[At(2, j)] == 0 &&
      grid[At(2, j + 1)] == 0)
    grid[At(2, j)] = RandomStyle(g);
}

// B(j): cell (2 + j, 2) beside the left corridor.
void ThinLeft(GameState& g, TileMap& grid, int j) {
  if (grid[At(2 + j, 3)] != 0 && grid[At(1 + j, 2)] == 0 && grid[At(2 + j, 2)] == 0 &&
      grid[At(3 + j, 2)] == 0)
    grid[At(2 + j, 2)] = RandomStyle(g);
}

void ThinBesideCorridors(GameState& g, TileMap& grid) {
  // Interleaved, each test seeing the changes of those before it.
  ThinLeft(g, grid, 0);
  for (int j = 1; j <= 10; ++j) {
    ThinTop(g, grid, j);
    ThinLeft(g, grid, j);
  }
  ThinTop(g, grid, 11);
  ThinTop(g, grid, 12);
}

// Picks a side of the corridor, then spots along it until one lies beside a
// wall (it gets the obstacle) or a 1-in-5 chance gives up.
void PlaceCorridorObstacle(GameState& g, TileMap& grid) {
  const int side = Random(g) % 4;
  for (;;) {
    int test, corridor;
    switch (side) {
      case 0: {  // top
        int k = Random(g) % 10;
        test = At(2, 2 + k);
        corridor = At(1, 2 + k);
        break;
      }
      case 1: {  // left
        int k = Random(g) % 10 + 2;
        test = At(k, 2);
        corridor = At(k, 1);
        break;
      }
      case 2: {  // bottom
        int k = Random(g) % 10;
        test = At(11, 2 + k);
        corridor = At(12, 2 + k);
        break;
      }
      default: {  // right
        int k = Random(g) % 10 + 2;
        test = At(k, 11);
        corridor = At(k, 12);
        break;
      }
    }
    if (grid[test] != 0) {
      grid[corridor] = 1;
      return;
    }
    if (Random(g) % 5 == 1) return;
  }
}

}  // namespace

void CarveMaze(GameState& g, TileMap& grid) {
  grid.fill(0);
  VisitList visited;

  for (int i = 0; i < kMapCells; ++i) grid[i] = Random(g) % 5 == 1 ? RandomStyle(g) : 1;
  for (int r = 0; r < kSide; r += 2)
    for (int c = 0; c < kSide; c += 2) grid[At(r, c)] = 0;
  LayBorder(grid, kCarvingBorder);

  int rooms = 0;
  for (uint8_t t : grid) rooms += t == 0;  // 36

  int start;
  do start = Random(g) % kMapCells;
  while (grid[start] != 0);
  visited.Append(start);

  // No limit on attempts: while a room is missing every attempt has a fixed
  // chance to add one, so this ends (typically after a few hundred tries).
  while (visited.length < rooms) {
    int i = Random(g) % visited.length;
    int d = Random(g) % 4;
    TryCarve(grid, visited, visited.cells[i], d);
  }
}

void GenerateMaze(GameState& g, TileMap& grid) {
  CarveMaze(g, grid);
  OpenRingCorridor(grid);
  ThinBesideCorridors(g, grid);
  PlaceCorridorObstacle(g, grid);
  LayBorder(grid, kFinalBorder);
}
