#include "shell/gunsight_cursor_qt.h"

#include <QImage>
#include <QPixmap>

#include "platform/embedded_assets.h"

QCursor GunsightCursor() {
  const EmbeddedFile* f = EmbeddedAsset("cursor104.bmp");
  if (!f) return QCursor(Qt::ArrowCursor);
  QImage image = QImage::fromData(f->data, static_cast<int>(f->size), "BMP");
  if (image.isNull()) return QCursor(Qt::ArrowCursor);
  image = image.convertToFormat(QImage::Format_ARGB32);
  const QRgb fuchsia = qRgb(255, 0, 255);
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x)
      if (image.pixel(x, y) == fuchsia) image.setPixel(x, y, qRgba(0, 0, 0, 0));
  return QCursor(QPixmap::fromImage(image), kGunsightHotX, kGunsightHotY);
}
