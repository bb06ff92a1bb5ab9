// The playfield shown at a whole multiple: the window's copy of the surface
// keeps every pixel sharp, with no smoothing between neighbours.
#include <QtTest>

#include "game/game_state.h"
#include "render/surface.h"
#include "shell/playfield_view_qt.h"

class ScaledViewTest : public QObject {
  Q_OBJECT

 private slots:
  void scaleTwoShowsTheScaleOneFrameWithEveryPixelDoubled() {
    GameState g;
    // Neighbours differ in every channel, so any blending would show.
    auto paint = [](GameState&, Surface& s) {
      for (size_t i = 0; i < s.pixels.size(); ++i) s.pixels[i] = (static_cast<uint32_t>(i) * 2654435761u) & 0xFFFFFF;
    };
    PlayfieldView one(g, nullptr), two(g, nullptr);
    one.paint = paint;
    two.paint = paint;
    two.SetScale(2, 1.0);
    QCOMPARE(two.size(), QSize(2 * kClientWidth, 2 * kClientHeight));
    QImage small = one.grab().toImage().convertToFormat(QImage::Format_RGB32);
    QImage big = two.grab().toImage().convertToFormat(QImage::Format_RGB32);
    QCOMPARE(small.size(), QSize(kClientWidth, kClientHeight));
    QCOMPARE(big.size(), QSize(2 * kClientWidth, 2 * kClientHeight));
    int wrong = 0;
    for (int y = 0; y < big.height(); ++y)
      for (int x = 0; x < big.width(); ++x) wrong += big.pixel(x, y) != small.pixel(x / 2, y / 2);
    QCOMPARE(wrong, 0);

    // On a screen of ratio 2, scale 2 keeps the ordinary size in the
    // screen's own units; scale 1 there is half as large.
    PlayfieldView dense(g, nullptr);
    dense.SetScale(2, 2.0);
    QCOMPARE(dense.size(), QSize(kClientWidth, kClientHeight));
    dense.SetScale(1, 2.0);
    QCOMPARE(dense.size(), QSize(kClientWidth / 2, (kClientHeight + 1) / 2));
  }
};

QTEST_MAIN(ScaledViewTest)
#include "scaled_view_test.moc"
