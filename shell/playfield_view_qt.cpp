#include "shell/playfield_view_qt.h"

#include <QGuiApplication>
#include <QPaintEvent>
#include <QPainter>
#include <QThread>
#include <cstring>

#include "game/game_state.h"
#include "platform/xcb_presenter.h"
#include "render/paint_window.h"
#include "render/scaled_copy.h"
#include "shell/gunsight_cursor_qt.h"

PlayfieldView::PlayfieldView(GameState& g, QWidget* parent) : QWidget(parent), g_(g) {
  setFixedSize(kClientWidth, kClientHeight);
  setAttribute(Qt::WA_OpaquePaintEvent);
  setFocusPolicy(Qt::NoFocus);
  // The window's client area shows the gunsight; the menu keeps the arrow.
  setCursor(GunsightCursor());
  // On X the view is a window of its own that the presenter draws on: Qt
  // then neither keeps a copy of it nor paints it. VRASK_QT_PAINT=1 leaves
  // the painting to Qt, should an X server show the view wrongly.
  if (QGuiApplication::platformName() == QLatin1String("xcb") &&
      qEnvironmentVariableIntValue("VRASK_QT_PAINT") == 0) {
    onX_ = true;
    setAttribute(Qt::WA_NativeWindow);
    setAttribute(Qt::WA_PaintOnScreen);
  }
}

PlayfieldView::~PlayfieldView() = default;

QPaintEngine* PlayfieldView::paintEngine() const { return nullptr; }

bool PlayfieldView::event(QEvent* e) {
  if (e->type() == QEvent::WinIdChange) DropPresenter();
  return QWidget::event(e);
}

XcbPresenter* PlayfieldView::Presenter() {
  // Until it is shown the view has nothing to draw on; showing it exposes
  // it, and that paint puts the whole picture.
  if (!onX_ || !isVisible()) return nullptr;
  if (!presenter_) {
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    presenter_ = XcbPresenter::Create(x11 ? x11->connection() : nullptr, static_cast<uint32_t>(winId()),
                                      surface_.width * scale_, surface_.height * scale_);
    if (!presenter_) PaintThroughQt();
    else KeepShownInSharedImage();
  }
  return presenter_.get();
}

void PlayfieldView::KeepShownInSharedImage() {
  uint32_t* shared = presenter_->SharedPixels();
  if (!shared) return;
  // At scale 1 the surface's pixels are the window's: it draws there. The
  // server has read what a put sent long before the next paint draws over
  // it: the paints are a step apart. (A server lagging a whole step behind
  // could show a sprite half drawn until the next put.)
  if (scale_ == 1) return surface_.pixels.LendTo(shared);
  const int w = scaled_.width(), h = scaled_.height();
  std::memcpy(shared, scaled_.constBits(), sizeof(uint32_t) * static_cast<size_t>(w) * static_cast<size_t>(h));
  scaled_ = QImage(reinterpret_cast<uchar*>(shared), w, h, w * static_cast<int>(sizeof(uint32_t)),
                   QImage::Format_RGB32);
}

void PlayfieldView::DropPresenter() {
  surface_.pixels.LendTo(nullptr);
  if (presenter_ && presenter_->SharedPixels() &&
      scaled_.constBits() == reinterpret_cast<const uchar*>(presenter_->SharedPixels()))
    scaled_ = scaled_.copy();
  presenter_.reset();
  repeating_.Forget();
}

void PlayfieldView::PaintThroughQt() {
  onX_ = false;
  setAttribute(Qt::WA_PaintOnScreen, false);
  update();
}

const uint32_t* PlayfieldView::ShownPixels(int* stride) const {
  if (scale_ > 1) {
    *stride = static_cast<int>(scaled_.bytesPerLine() / 4);
    return reinterpret_cast<const uint32_t*>(scaled_.constBits());
  }
  *stride = surface_.width;
  return surface_.pixels.data();
}

void PlayfieldView::SetScale(int scale, double ratio) {
  scale_ = scale;
  ratio_ = ratio > 0 ? ratio : 1;
  DropPresenter();  // made again for the new size
  scaled_ = scale_ == 1 ? QImage()
                        : QImage(surface_.width * scale_, surface_.height * scale_, QImage::Format_RGB32);
  if (scale_ > 1) {
    ScaleSurfaceRect(surface_, 0, 0, surface_.width, surface_.height, scale_,
                     reinterpret_cast<uint32_t*>(scaled_.bits()), scaled_.bytesPerLine() / 4);
  }
  const ScreenRect shown = ScaleRectOutward({0, 0, surface_.width, surface_.height}, scale_ / ratio_);
  setFixedSize(shown.w, shown.h);
}

void PlayfieldView::Invalidate() {
  if (paintPending_) return;
  paintPending_ = true;
  // Inside a step the paint follows the step directly (PaintHeld); posting
  // it would cost the loop another turn at every step. A box that the step
  // opens runs its own loop, and that loop paints as usual.
  if (holdLevel_ == QThread::currentThread()->loopLevel()) return;
  QMetaObject::invokeMethod(this, [this] { if (paintPending_) PaintGame(); }, Qt::QueuedConnection);
}

void PlayfieldView::HoldPaints() { holdLevel_ = QThread::currentThread()->loopLevel(); }

void PlayfieldView::PaintHeld() {
  holdLevel_ = -1;
  if (paintPending_) PaintGame();
}

bool PlayfieldView::ShowRepeatedPicture() {
  XcbPresenter* presenter = Presenter();
  const int phase = g_.FrameCounter / 2;
  // Without shared memory a kept picture would cost a whole put to make.
  std::optional<PictureKey> key;
  if (repeatingKey && presenter && presenter->UsesSharedMemory()) key = repeatingKey(g_);
  switch (repeating_.Plan(key, phase)) {
    case RepeatingPicture::Step::kNone:
      break;
    case RepeatingPicture::Step::kShowKept:
      presenter->ShowKept(phase, repeating_.ShowRects());
      repeating_.Showed(phase);
      break;
    case RepeatingPicture::Step::kPaint:
      // The window must show what the surface last put before the paint's
      // changes go there.
      if (const int restore = repeating_.RestoreBeforePaint(); restore >= 0 && presenter)
        presenter->ShowKept(restore, {{0, 0, surface_.width * scale_, surface_.height * scale_}});
      return false;
  }
  SkipPaint(g_);
  return true;
}

void PlayfieldView::PaintGame() {
  paintPending_ = false;
  if (ShowRepeatedPicture()) return;
  PaintAndTakeChanges(g_, surface_, changedRects_, paint);
  if (scale_ > 1) {
    for (const ScreenRect& r : changedRects_)
      ScaleSurfaceRect(surface_, r.x, r.y, r.w, r.h, scale_, reinterpret_cast<uint32_t*>(scaled_.bits()),
                       scaled_.bytesPerLine() / 4);
  }
  if (XcbPresenter* presenter = Presenter()) {
    // The shown picture's pixels are the window's own.
    for (ScreenRect& r : changedRects_) r = ScaleRectOutward(r, scale_);
    int stride = 0;
    const uint32_t* pixels = ShownPixels(&stride);
    presenter->Put(pixels, stride, changedRects_);
    const int phase = g_.FrameCounter / 2;
    if (repeating_.AfterPaint(phase, changedRects_) && !presenter->Keep(phase)) repeating_.Forget();
    return;
  }
  // On X but not shown yet: the expose that shows it puts the whole picture.
  if (onX_) return;
  // Only the changed blocks are put on screen, in the widget's coordinates:
  // image pixels over the device pixel ratio.
  QRegion region;
  for (const ScreenRect& r : changedRects_) {
    const ScreenRect w = ScaleRectOutward(r, scale_ / ratio_);
    region += QRect(w.x, w.y, w.w, w.h);
  }
  // Painted and flushed now rather than at a later update request: the
  // game's paint already waited for its turn of the loop.
  if (!region.isEmpty()) repaint(region);
}

void PlayfieldView::paintEvent(QPaintEvent* e) {
  // Uncovered on X: put the shown picture there again (image pixels are the
  // window's pixels). A paint redirected elsewhere (grab) takes Qt's path.
  if (onX_ && !redirected(nullptr)) {
    if (XcbPresenter* presenter = Presenter()) {
      std::vector<ScreenRect> rects;
      for (const QRect& r : e->region())
        rects.push_back(ScaleRectOutward({r.x(), r.y(), r.width(), r.height()}, ratio_));
      if (const int kept = repeating_.ShownKept(); kept >= 0) {
        presenter->ShowKept(kept, rects);
      } else {
        int stride = 0;
        const uint32_t* pixels = ShownPixels(&stride);
        presenter->Put(pixels, stride, rects);
      }
    }
    return;  // if the presenter could not be made, Qt paints it anew
  }
  const QImage image =
      scale_ > 1 ? scaled_
                 : QImage(reinterpret_cast<const uchar*>(surface_.pixels.data()), surface_.width,
                          surface_.height, QImage::Format_RGB32);
  // Each widget rectangle takes the image rectangle of the same place: one
  // image pixel to one screen pixel, so Qt copies without resampling.
  QPainter p(this);
  for (const QRect& r : e->region()) {
    p.drawImage(QRectF(r), image,
                QRectF(r.x() * ratio_, r.y() * ratio_, r.width() * ratio_, r.height() * ratio_));
  }
}
