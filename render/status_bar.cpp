// The status bar is drawn at the end of every paint over what the previous
// paints left: only its black boxes are cleared each time, the rest (the
// headings, the connection text, the bricks between the bands) is cleared
// only by the window's full clear on MapDirty.
#include "render/status_bar.h"

#include <cstdio>
#include <algorithm>
#include <cstring>
#include <initializer_list>
#include <string>

#include "game/game_state.h"
#include "render/paint_window.h"
#include "render/pictures.h"
#include "render/surface.h"

namespace {

constexpr int kBricks = 9, kComputerMark = 10, kShield = 12;
constexpr int kBarWidth = 175;
constexpr uint32_t kBlue = Rgb(0, 0, 255);

// The text of a fixed-size character field up to its NUL or its end.
std::string_view Field(const char* text, size_t capacity) {
  return std::string_view(text, strnlen(text, capacity));
}

// The smallest rectangle holding both.
ScreenRect Union(const ScreenRect& a, const ScreenRect& b) {
  if (a.w <= 0 || a.h <= 0) return b;
  if (b.w <= 0 || b.h <= 0) return a;
  const int x0 = std::min(a.x, b.x), y0 = std::min(a.y, b.y);
  return {x0, y0, std::max(a.x + a.w, b.x + b.w) - x0, std::max(a.y + a.h, b.y + b.h) - y0};
}

// What decides a drawing's pixels, as a key for Surface::Unchanged.
std::string KeyOf(std::initializer_list<int> numbers, std::string_view text = {}) {
  std::string key;
  for (int n : numbers) key.append(reinterpret_cast<const char*>(&n), sizeof n);
  key.append(text);
  return key;
}

// Text on a black box. Most of the bar's texts stay as they are from one
// paint to the next: the box and text are then left as they stand.
void TextOnBox(Surface& s, const ScreenRect& box, int x, int y, std::string_view text, uint32_t colour) {
  const ScreenRect area = Union(box, Surface::TextArea(x, y, text));
  const std::string key = KeyOf({box.x, box.y, box.w, box.h, x, y, static_cast<int>(colour)}, text);
  if (s.Unchanged(area, key)) return;
  s.FillBlack(box.x, box.y, box.w, box.h);
  s.DrawText(x, y, text, colour);
  s.Remember(area, key);
}

// Text straight on what lies beneath (the bricks), drawn again only when
// something changed there.
void TextOnBricks(Surface& s, int x, int y, std::string_view text, uint32_t colour) {
  TextOnBox(s, {}, x, y, text, colour);
}

// Speaker and note drift 0..3 pixels apart and back with the animation.
void DrawIcons(const GameState& g, Surface& s, bool speaker, int phase) {
  const Picture& icons = PicturesOf(g).IconBitmap;
  if (speaker) s.Or(icons, 0, kCellPitch * phase, kCellSize, kCellSize, 600 - phase, 470);
  // The note's source starts at x 42, one pixel into its column, so its
  // last column lies beyond the picture and is not drawn.
  if (g.MusicOn) s.Or(icons, 42, kCellPitch * phase, kCellSize, kCellSize, 610 + phase, 470);
}

void DrawIdleBar(GameState& g, Surface& s, int phase) {
  const Picture& bricks = PicturesOf(g).Bitmaps[kBricks];
  for (int y = -40; y <= 480; y += 40) s.Copy(bricks, 0, 0, kBarWidth, 40, kStatusBarX, y);
  DrawIcons(g, s, g.SoundsOn && g.IsClient, phase);
}

void DrawMessageLine(GameState& g, Surface& s) {
  const ScreenRect box{550, 85, 150, 16};
  if (g.IsServer) {
    // An empty second or third address is skipped; the first is drawn even
    // when empty.
    if (g.StatusPhase == 1 && g.ServerAddressText[1].empty()) g.StatusPhase = 2;
    if (g.StatusPhase == 2 && g.ServerAddressText[2].empty()) g.StatusPhase = 0;
    static const uint32_t kColours[3] = {Rgb(20, 200, 200), Rgb(200, 200, 50), Rgb(200, 50, 200)};
    int ph = g.StatusPhase >= 0 && g.StatusPhase <= 2 ? g.StatusPhase : 0;
    TextOnBox(s, box, 550, 84, g.ServerAddressText[ph], kColours[ph]);
  } else if (g.IsClient && g.ServerSilence > 6) {
    TextOnBox(s, box, 550, 84, "Connection Interrupted", Rgb(255, 1, 1));
  } else {
    TextOnBox(s, box, 550, 84, {}, 0);
  }
}

void DrawPlayerList(GameState& g, Surface& s, int phase) {
  const PictureSet& pics = PicturesOf(g);
  int k = 0;
  for (int i = 0; i < kSlotCount; ++i) {
    const PlayerSlot& p = g.Players[static_cast<size_t>(i)];
    if (!p.Active) continue;
    const int x = PlayerLineX(k), y = PlayerLineY(k);
    ++k;

    uint32_t colour = Rgb(30 * i, 255 - 30 * i, 30 * i);
    if (i == g.LocalSlot) colour = Rgb(255, 255, 255 - Random(g) % 20);
    // The leaders (ties included) flash red for five counter values of eight.
    if (p.Frags == g.LeaderFrags && g.FrameCounter > 2) colour = Rgb(255, 20, 20);

    char line[48];
    std::snprintf(line, sizeof line, "%.*s =%d=", static_cast<int>(strnlen(p.Name, kNameBytes)),
                  p.Name, p.Frags);
    TextOnBox(s, {x + 40, y - 16, 100, 16}, x + 40, y - 16, line, colour);

    // The vehicle facing left, top 20 rows, with its marks: drawn again
    // only when its picture changes (every second paint, as it moves).
    const ScreenRect icon{x, y - 21, kCellSize, 20};
    const bool own = i == g.LocalSlot, computer = p.Kind == KindComputer;
    const std::string iconKey = KeyOf({x, y, p.Number, phase, computer, own, p.Shield});
    if (!s.Unchanged(icon, iconKey)) {
      if (p.Number >= 1 && p.Number <= kSlotCount)
        s.Copy(pics.Bitmaps[p.Number], 0, kCellPitch * phase, kCellSize, 20, x, y - 21);
      if (computer) s.Or(pics.Bitmaps[kComputerMark], 0, 0, kCellSize, 20, x, y - 21);
      if (own) s.Or(pics.OwnMarkBitmap, 0, 0, kCellSize, 20, x, y - 21);
      if (p.Shield) s.Or(pics.Bitmaps[kShield], kCellPitch * phase, 0, kCellSize, 19, x, y - 20);
      s.Remember(icon, iconKey);
    }

    // Energy gauge: black box, white end marks, a bar of Energy pixels.
    const ScreenRect gauge = Union({x + 50, y, 74, 5}, {x + 52, y, p.Energy, 4});
    const std::string key = KeyOf({x, y, p.Energy});
    if (!s.Unchanged(gauge, key)) {
      s.FillBlack(x + 50, y, 74, 5);
      s.FillWhite(x + 50, y, 1, 4);
      s.FillWhite(x + 123, y, 1, 4);
      s.FillWhite(x + 52, y, p.Energy, 4);
      s.Remember(gauge, key);
    }
  }
}

void DrawChatBoard(GameState& g, Surface& s) {
  TextOnBricks(s, 540, 284, "<CHAT>", kBlue);
  // The board's black box reaches down over the input line's, which a
  // client clears and draws at every paint (its colour flickers): there the
  // board leaves those rows to the input line and keeps only the three rows
  // below it black, so that the flicker does not make the board new.
  const bool inputLine = g.IsClient;
  const int left = 542, top = 300, width = 160, bottom = inputLine ? 435 : 455;
  if (inputLine) s.FillBlack(542, 452, 160, 3);
  // Each line has a band of the box of its own, as tall as the lines are
  // apart, which its text never leaves: a line that trembles clears and
  // draws its band alone. The rows above the first band and below the last
  // are the box's too.
  constexpr int kFirstLine = 305, kLinePitch = 15;
  TextOnBox(s, {left, top, width, kFirstLine - top}, left, top, {}, 0);
  for (int k = 0; k < kChatLines; ++k) {
    const char* line = g.Board.Lines[k];
    const auto* rgb = reinterpret_cast<const unsigned char*>(line);
    // The text trembles by a pixel: b is drawn before a.
    int b = Random(g) % 2;
    int a = Random(g) % 2;
    const ScreenRect band{left, kFirstLine + kLinePitch * k, width, kLinePitch};
    const std::string_view text = Field(line + 3, kChatLineBytes - 3);
    // An empty line draws nothing, wherever it trembles to.
    if (text.empty()) TextOnBox(s, band, band.x, band.y, {}, 0);
    else TextOnBox(s, band, left + a, band.y + b, text, Rgb(rgb[0], rgb[1], rgb[2]));
  }
  for (int y = kFirstLine + kLinePitch * kChatLines; y < bottom; y += kLinePitch)
    TextOnBox(s, {left, y, width, std::min(kLinePitch, bottom - y)}, left, y, {}, 0);
}

void DrawInputLine(GameState& g, Surface& s) {
  s.FillBlack(542, 435, 160, 17);
  int blue = 200 + Random(g) % 50;
  int green = 200 + Random(g) % 50;
  int red = 200 + Random(g) % 50;
  const uint32_t colour = Rgb(red, green, blue);
  std::string text = "Say:";
  text += Field(g.ChatInput, sizeof g.ChatInput);
  // The underscore is a cursor showing for three counter values of eight.
  if (g.FrameCounter < 3) s.DrawText(542, 435, text + "_", colour);
  s.DrawText(542, 435, text, colour);
}

void DrawFullBar(GameState& g, Surface& s, int phase) {
  const PictureSet& pics = PicturesOf(g);
  const Picture& bricks = pics.Bitmaps[kBricks];
  // Bands taller than the 52-row picture: only the rows it has are copied.
  s.Copy(bricks, 0, 0, kBarWidth, 60, kStatusBarX, 0);
  s.Copy(bricks, 0, 4, kBarWidth, 60, kStatusBarX, 484);
  s.Copy(bricks, 0, 20, kBarWidth, 60, kStatusBarX, 460);
  DrawIcons(g, s, g.SoundsOn, phase);
  TextOnBricks(s, 540, 54, "<STATUS>", kBlue);
  TextOnBricks(s, 540, 99, "<PLAYERS>", kBlue);
  TextOnBricks(s, 550, 69, g.ConnectionStatus, Rgb(20, 200, 50));
  DrawMessageLine(g, s);
  DrawPlayerList(g, s, phase);
  DrawChatBoard(g, s);
  if (g.IsClient) DrawInputLine(g, s);
}

}  // namespace

void AdvanceStatusPhase(GameState& g) {
  if (g.FrameCounter == 0) ++g.StatusPhaseCount;
  if (g.StatusPhaseCount == 3) {
    g.StatusPhaseCount = 0;
    ++g.StatusPhase;
  }
  if (g.StatusPhase == 3) g.StatusPhase = 0;
}

void DrawStatusBar(GameState& g, Surface& s) {
  const int phase = g.FrameCounter / 2;
  if (g.ConnectionStatus == "Not Connected")
    DrawIdleBar(g, s, phase);
  else
    DrawFullBar(g, s, phase);
}
