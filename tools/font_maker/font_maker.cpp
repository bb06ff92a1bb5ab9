// Renders the game's text font: DejaVu Sans at a fixed pixel size, without
// antialiasing, for the single-byte codes 32..255 (Windows-1252 meaning for
// 0x80..0x9F, Latin-1 above), written in the format that
// render/bitmap_font.h documents and reads.
#include <QFile>
#include <QFont>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "platform/windows1252.h"

namespace {

// The game's Windows-1252 meaning; 0 for the five unassigned codes. Every
// code of the set is in the first plane.
char16_t UnicodeOf(int code) {
  return static_cast<char16_t>(UnicodeFromCp1252(static_cast<unsigned char>(code)));
}

constexpr int kFirst = 32;
constexpr int kCount = 224;
constexpr int kPad = 8;       // room left of the pen for negative bearings
constexpr int kCanvas = 48;   // wide enough for any glyph at small sizes

struct Glyph {
  int advance = 0;
  int left = 0;   // bitmap x relative to the pen
  int width = 0;  // 0: nothing drawn
  std::vector<unsigned char> rows;
};

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: font_maker font.ttf pixel-size out.font\n");
    return 2;
  }
  QGuiApplication app(argc, argv);
  int id = QFontDatabase::addApplicationFont(QString::fromLocal8Bit(argv[1]));
  if (id < 0) {
    std::fprintf(stderr, "cannot load %s\n", argv[1]);
    return 1;
  }
  QFont font(QFontDatabase::applicationFontFamilies(id).value(0));
  font.setPixelSize(std::atoi(argv[2]));
  font.setStyleStrategy(QFont::NoAntialias);
  font.setHintingPreference(QFont::PreferFullHinting);
  font.setKerning(false);
  QFontMetrics fm(font);
  const int height = fm.height();
  const int ascent = fm.ascent();

  std::vector<Glyph> glyphs(kCount);
  for (int code = kFirst; code < kFirst + kCount; ++code) {
    Glyph& gl = glyphs[code - kFirst];
    char16_t u = UnicodeOf(code);
    // Unassigned codes draw nothing and advance like a space.
    if (u == 0) {
      gl.advance = fm.horizontalAdvance(QChar(u' '));
      continue;
    }
    QString s(QChar(static_cast<char16_t>(u)));
    gl.advance = fm.horizontalAdvance(s);
    QImage img(kCanvas, height, QImage::Format_RGB32);
    img.fill(Qt::black);
    {
      QPainter p(&img);
      p.setRenderHint(QPainter::TextAntialiasing, false);
      p.setFont(font);
      p.setPen(Qt::white);
      p.drawText(kPad, ascent, s);
    }
    int minX = kCanvas, maxX = -1;
    for (int y = 0; y < height; ++y)
      for (int x = 0; x < kCanvas; ++x)
        if (qGray(img.pixel(x, y)) > 127) {
          minX = std::min(minX, x);
          maxX = std::max(maxX, x);
        }
    if (maxX < 0) continue;
    gl.left = minX - kPad;
    gl.width = maxX - minX + 1;
    int stride = (gl.width + 7) / 8;
    gl.rows.assign(static_cast<size_t>(stride) * height, 0);
    for (int y = 0; y < height; ++y)
      for (int x = 0; x < gl.width; ++x)
        if (qGray(img.pixel(minX + x, y)) > 127)
          gl.rows[y * stride + x / 8] |= static_cast<unsigned char>(0x80 >> (x % 8));
  }

  QByteArray out("VFNT", 4);
  out.append(char(1));
  out.append(char(height));
  out.append(char(ascent));
  out.append(char(kFirst));
  out.append(char(kCount));
  for (const Glyph& gl : glyphs) {
    out.append(char(gl.advance));
    out.append(char(static_cast<signed char>(gl.left)));
    out.append(char(gl.width));
  }
  for (const Glyph& gl : glyphs)
    out.append(reinterpret_cast<const char*>(gl.rows.data()), static_cast<qsizetype>(gl.rows.size()));

  QFile f(QString::fromLocal8Bit(argv[3]));
  if (!f.open(QIODevice::WriteOnly) || f.write(out) != out.size()) {
    std::fprintf(stderr, "cannot write %s\n", argv[3]);
    return 1;
  }
  std::printf("height %d ascent %d, %lld bytes\n", height, ascent, static_cast<long long>(out.size()));
  return 0;
}
