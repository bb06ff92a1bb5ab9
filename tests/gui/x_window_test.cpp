// The playfield put straight onto its X window: what the X server holds
// after a put, an expose and a scaled view must be the surface's pixels,
// exactly where they belong. Runs its own Xvfb (a display of this machine
// only, no TCP), found with -displayfd.
#include <QMenuBar>
#include <QtTest>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <poll.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>
#include <xcb/xcb.h>

#include "game/game_state.h"
#include "gui/window_program.h"
#include "platform/menu_ids.h"
#include "platform/xcb_presenter.h"
#include "render/scaled_copy.h"
#include "render/surface.h"
#include "shell/playfield_view_qt.h"

namespace {

pid_t xvfb = 0;

// Starts Xvfb on a free display and returns its name, or "" if it cannot.
std::string StartXvfb() {
  int fds[2];
  if (pipe(fds) != 0) return "";
  xvfb = fork();
  if (xvfb == 0) {
    // Gone with the test, even if it crashes, and off its output.
    prctl(PR_SET_PDEATHSIG, SIGTERM);
    const int null = open("/dev/null", O_WRONLY);
    dup2(null, 1);
    dup2(null, 2);
    close(fds[0]);
    const std::string fd = std::to_string(fds[1]);
    execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-nolisten", "tcp", "-screen", "0", "1600x1200x24",
           static_cast<char*>(nullptr));
    _exit(127);
  }
  close(fds[1]);
  std::string number;
  pollfd p{fds[0], POLLIN, 0};
  char c;
  while (poll(&p, 1, 10000) == 1 && read(fds[0], &c, 1) == 1 && c != '\n') number += c;
  close(fds[0]);
  return number.empty() ? "" : ":" + number;
}

void StopXvfb() {
  if (xvfb <= 0) return;
  kill(xvfb, SIGTERM);
  waitpid(xvfb, nullptr, 0);
}

// A picture whose neighbouring pixels all differ.
uint32_t Pattern(int x, int y) { return (static_cast<uint32_t>(y * 1000 + x) * 2654435761u) & 0xFFFFFF; }

// The window's pixels as the server holds them, row after row.
std::vector<uint32_t> ReadWindow(xcb_connection_t* c, uint32_t window, int w, int h) {
  xcb_get_image_reply_t* r = xcb_get_image_reply(
      c, xcb_get_image(c, XCB_IMAGE_FORMAT_Z_PIXMAP, window, 0, 0, static_cast<uint16_t>(w),
                       static_cast<uint16_t>(h), ~0u),
      nullptr);
  std::vector<uint32_t> out;
  if (!r) return out;
  const auto* data = reinterpret_cast<const uint32_t*>(xcb_get_image_data(r));
  out.assign(data, data + static_cast<size_t>(w) * h);
  for (uint32_t& p : out) p &= 0xFFFFFF;
  std::free(r);
  return out;
}

// Counts the window's pixels that differ from `expected(x, y)`.
template <typename Expected>
int Wrong(const std::vector<uint32_t>& shown, int w, int h, Expected expected) {
  if (shown.size() != static_cast<size_t>(w) * h) return w * h;
  int wrong = 0;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) wrong += shown[static_cast<size_t>(y) * w + x] != expected(x, y);
  return wrong;
}

bool Inside(const ScreenRect& r, int x, int y) { return x >= r.x && x < r.x + r.w && y >= r.y && y < r.y + r.h; }

void Sync(xcb_connection_t* c) { std::free(xcb_get_input_focus_reply(c, xcb_get_input_focus(c), nullptr)); }

// Paints the window white behind its program's back.
void Scribble(xcb_connection_t* c, uint32_t window, int w, int h) {
  const uint32_t gc = xcb_generate_id(c), white = 0xFFFFFF;
  xcb_create_gc(c, gc, window, XCB_GC_FOREGROUND, &white);
  const xcb_rectangle_t all{0, 0, static_cast<uint16_t>(w), static_cast<uint16_t>(h)};
  xcb_poly_fill_rectangle(c, window, gc, 1, &all);
  xcb_free_gc(c, gc);
}

// Has the server ask the program to show all of the window again.
void Expose(xcb_connection_t* c, uint32_t window) {
  xcb_clear_area(c, 1, window, 0, 0, 0, 0);
  xcb_flush(c);
}

xcb_connection_t* QtConnection() {
  return qGuiApp->nativeInterface<QNativeInterface::QX11Application>()->connection();
}

}  // namespace

class XWindowTest : public QObject {
  Q_OBJECT

 private slots:
  void aPutShowsExactlyTheRectanglesGivenWithEitherTransport() {
    xcb_connection_t* c = QtConnection();
    const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(c)).data;
    constexpr int kW = 64, kH = 48, kStride = 70;  // rows further apart than the window is wide
    constexpr uint32_t kBackground = 0x123456;
    std::vector<uint32_t> picture(static_cast<size_t>(kStride) * kH);
    for (int y = 0; y < kH; ++y)
      for (int x = 0; x < kStride; ++x) picture[static_cast<size_t>(y) * kStride + x] = Pattern(x, y);
    // Inside, across the right and bottom edges, across the left and top.
    const std::vector<ScreenRect> first{{5, 6, 10, 7}, {60, 40, 10, 10}, {-3, -2, 5, 4}};
    const std::vector<ScreenRect> second{{20, 20, 8, 8}};

    for (bool shm : {true, false}) {
      const uint32_t window = xcb_generate_id(c);
      const uint32_t values[] = {kBackground};
      xcb_create_window(c, XCB_COPY_FROM_PARENT, window, screen->root, 0, 0, kW, kH, 0,
                        XCB_WINDOW_CLASS_INPUT_OUTPUT, screen->root_visual, XCB_CW_BACK_PIXEL, values);
      xcb_map_window(c, window);
      Sync(c);
      auto presenter = XcbPresenter::Create(c, window, kW, kH, shm);
      QVERIFY(presenter);
      QCOMPARE(presenter->UsesSharedMemory(), shm);

      presenter->Put(picture.data(), kStride, first);
      Sync(c);
      auto shownFirst = [&](int x, int y) {
        for (const ScreenRect& r : first)
          if (Inside(r, x, y)) return Pattern(x, y);
        return kBackground;
      };
      QCOMPARE(Wrong(ReadWindow(c, window, kW, kH), kW, kH, shownFirst), 0);

      // A later put of another picture changes its own rectangle only.
      std::vector<uint32_t> other(picture.size(), 0xABCDEF);
      presenter->Put(other.data(), kStride, second);
      Sync(c);
      QCOMPARE(Wrong(ReadWindow(c, window, kW, kH), kW, kH,
                     [&](int x, int y) { return Inside(second[0], x, y) ? 0xABCDEF : shownFirst(x, y); }),
               0);
      presenter.reset();
      xcb_destroy_window(c, window);
      Sync(c);
    }
  }

  void aWindowThatKeepsOtherPixelsGetsNoPresenter() {
    xcb_connection_t* c = QtConnection();
    const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(c)).data;
    xcb_visualid_t deep = 0;
    for (auto d = xcb_screen_allowed_depths_iterator(screen); d.rem; xcb_depth_next(&d))
      if (d.data->depth == 32 && d.data->visuals_len > 0) deep = xcb_depth_visuals(d.data)[0].visual_id;
    if (!deep) QSKIP("this X server offers no 32-bit visual");
    const uint32_t colormap = xcb_generate_id(c), window = xcb_generate_id(c);
    xcb_create_colormap(c, XCB_COLORMAP_ALLOC_NONE, colormap, screen->root, deep);
    const uint32_t values[] = {0, 0, colormap};
    xcb_create_window(c, 32, window, screen->root, 0, 0, 16, 16, 0, XCB_WINDOW_CLASS_INPUT_OUTPUT, deep,
                      XCB_CW_BACK_PIXEL | XCB_CW_BORDER_PIXEL | XCB_CW_COLORMAP, values);
    Sync(c);
    QVERIFY(!XcbPresenter::Create(c, window, 16, 16));
    xcb_destroy_window(c, window);
    xcb_free_colormap(c, colormap);
    Sync(c);
  }

  // The view on X: each paint of the game puts what it changed; an expose
  // puts the picture again, also on a new X window; at scale 2 every
  // surface pixel is 2 x 2.
  void theViewPutsItsPaintsAndExposuresAtEveryScale() {
    xcb_connection_t* c = QtConnection();
    for (int scale : {1, 2}) {
      GameState g;
      int paints = 0;
      PlayfieldView view(g, nullptr);
      view.paint = [&](GameState&, Surface& s) {
        if (paints++ == 0) {
          for (int y = 0; y < s.height; ++y)
            for (int x = 0; x < s.width; ++x) s.pixels[static_cast<size_t>(y) * s.width + x] = Pattern(x, y);
          s.changed.MarkAll();
        } else {
          s.Fill(100, 60, 30, 25, 0xFF00FFu - static_cast<uint32_t>(paints));
        }
      };
      view.SetScale(scale, 1.0);
      view.show();
      QVERIFY(QTest::qWaitForWindowExposed(&view));
      uint32_t window = static_cast<uint32_t>(view.winId());
      const int w = kClientWidth * scale, h = kClientHeight * scale;
      auto showsSurface = [&] {
        Sync(c);
        const Surface& s = view.surface();
        return Wrong(ReadWindow(c, window, w, h), w, h, [&](int x, int y) { return s.At(x / scale, y / scale); });
      };

      view.Invalidate();
      QTRY_COMPARE(paints, 1);
      QCOMPARE(showsSurface(), 0);
      view.Invalidate();
      QTRY_COMPARE(paints, 2);
      QCOMPARE(view.surface().At(110, 70), 0xFF00FDu);
      QCOMPARE(showsSurface(), 0);

      // Scribbled over behind the view's back, then exposed: shown again.
      Scribble(c, window, w, h);
      QVERIFY(showsSurface() > 0);
      Expose(c, window);
      QTRY_COMPARE(showsSurface(), 0);

      view.windowHandle()->destroy();
      view.windowHandle()->create();
      view.windowHandle()->show();
      QVERIFY(QTest::qWaitForWindowExposed(&view));
      QVERIFY(view.winId() != window);
      window = static_cast<uint32_t>(view.winId());
      view.Invalidate();
      QTRY_COMPARE(paints, 3);
      QTRY_COMPARE(showsSurface(), 0);
    }
  }

  // A picture that repeats with the animation phase: the first cycle paints
  // each phase and one more paint links the last to the first; then the
  // window server shows the kept pictures, also where the window is
  // uncovered, until a new key paints again.
  void aRepeatingPictureIsShownByTheServerWithoutPainting() {
    xcb_connection_t* c = QtConnection();
    GameState g;
    int paints = 0;
    uint8_t key = 1;
    // Each phase a bar of its own colour at a place of its own.
    const auto bar = [](int phase) { return ScreenRect{10 + 10 * phase, 10, 10, 30}; };
    const auto colour = [&](int phase) { return static_cast<uint32_t>(0x200000 * (phase + 1) + key); };
    PlayfieldView view(g, nullptr);
    view.paint = [&](GameState& game, Surface& s) {
      ++paints;
      SkipPaint(game);  // all that the game's paint does besides drawing
      for (int phase = 0; phase < RepeatingPicture::kPhases; ++phase) {
        const ScreenRect r = bar(phase);
        s.Fill(r.x, r.y, r.w, r.h, phase == game.FrameCounter / 2 ? colour(phase) : 0);
      }
    };
    view.repeatingKey = [&](const GameState&) { return std::optional<PictureKey>({.tiles = {key}}); };
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));
    const uint32_t window = static_cast<uint32_t>(view.winId());
    const auto wrong = [&](int phase) {
      Sync(c);
      return Wrong(ReadWindow(c, window, 60, 50), 60, 50,
                   [&](int x, int y) { return Inside(bar(phase), x, y) ? colour(phase) : 0u; });
    };
    const auto paintPhase = [&](int phase) {
      g.FrameCounter = static_cast<uint8_t>(2 * phase);
      view.Invalidate();
      QTRY_COMPARE(wrong(phase), 0);
    };
    for (int round = 0; round < 3; ++round)
      for (int phase = 0; phase < RepeatingPicture::kPhases; ++phase) paintPhase(phase);
    QCOMPARE(paints, 5);
    QCOMPARE(g.StatusPhase, 1);  // three rounds from phase 0 move it on

    Scribble(c, window, 60, 50);
    QVERIFY(wrong(3) > 0);
    Expose(c, window);
    QTRY_COMPARE(wrong(3), 0);

    key = 2;
    paintPhase(1);
    QCOMPARE(paints, 6);
  }

  // Full screen on this 1600 x 1200 screen, with the presenter and with
  // Qt painting: the picture at the multiple the fit chose, where it placed
  // it, black all around, the menu hidden and its item checked; the window
  // again after Alt+Enter.
  void fullScreenShowsThePictureWhereTheFitPlacesItOnBlack() {
    xcb_connection_t* c = QtConnection();
    const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(c)).data;
    const int sw = screen->width_in_pixels, sh = screen->height_in_pixels;
    const FullScreenFit fit = FitToScreen(sw, sh, kClientWidth, kClientHeight);
    QCOMPARE(fit.scale, 2);
    for (const char* qtPaint : {"0", "1"}) {
      qputenv("VRASK_QT_PAINT", qtPaint);
      WindowProgram p;
      PlayfieldView& view = *p.window->view();
      view.paint = [](GameState&, Surface& s) {
        for (int y = 0; y < s.height; ++y)
          for (int x = 0; x < s.width; ++x)
            s.pixels[static_cast<size_t>(y) * s.width + x] = Pattern(x, y) | 0x010101;
        s.changed.MarkAll();
      };
      QVERIFY(QTest::qWaitForWindowExposed(p.window.get()));
      p.window->OnCommand(CmdFullScreen, 0);
      QTRY_VERIFY(p.window->isFullScreen());
      QTRY_COMPARE(p.window->geometry(), QRect(0, 0, sw, sh));
      QVERIFY(!p.window->menuBar()->isVisible());
      QAction* item = nullptr;
      for (QAction* a : p.window->menuBar()->findChildren<QAction*>())
        if (a->text() == "&Full Screen [Alt+Enter]") item = a;
      QVERIFY(item && item->isChecked());
      const ScreenRect& in = fit.place;
      auto expected = [&](int x, int y) {
        return Inside(in, x, y) ? view.surface().At((x - in.x) / fit.scale, (y - in.y) / fit.scale) : 0u;
      };
      QTRY_COMPARE(Wrong(ReadWindow(c, screen->root, sw, sh), sw, sh, expected), 0);

      QTest::keyClick(p.window.get(), Qt::Key_Return, Qt::AltModifier);
      QTRY_VERIFY(!p.window->isFullScreen());
      QTRY_COMPARE(view.size(), QSize(kClientWidth, kClientHeight));
      QVERIFY(p.window->menuBar()->isVisible());
      QVERIFY(!item->isChecked());
    }
    qunsetenv("VRASK_QT_PAINT");
  }
};

int main(int argc, char** argv) {
  const std::string display = StartXvfb();
  if (display.empty()) {
    std::fprintf(stderr, "x_window_test: could not start Xvfb\n");
    return 1;
  }
  qputenv("DISPLAY", QByteArray::fromStdString(display));
  qputenv("QT_QPA_PLATFORM", "xcb");
  int result;
  {
    QApplication app(argc, argv);
    XWindowTest test;
    result = QTest::qExec(&test, argc, argv);
  }
  StopXvfb();
  return result;
}

#include "x_window_test.moc"
