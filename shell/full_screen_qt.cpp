#include "shell/full_screen_qt.h"

#include <QBoxLayout>
#include <QLayout>
#include <QMainWindow>
#include <QMenuBar>
#include <QScreen>
#include <QWindow>

#include "render/scaled_copy.h"
#include "render/surface.h"
#include "shell/playfield_view_qt.h"

FullScreenStage::FullScreenStage(QMainWindow* window, PlayfieldView* view) : window_(window), view_(view) {
  auto* stage = new QWidget(window);
  stage->setAutoFillBackground(true);
  QPalette black = stage->palette();
  black.setColor(QPalette::Window, Qt::black);
  stage->setPalette(black);
  // The view's place is the stage's margin: none in the window, the fit's
  // offset on the whole screen.
  layout_ = new QVBoxLayout(stage);
  layout_->setContentsMargins(0, 0, 0, 0);
  layout_->addWidget(view, 0, Qt::AlignLeft | Qt::AlignTop);
  window->setCentralWidget(stage);
}

bool FullScreenStage::Toggle() {
  QScreen* screen = window_->screen();
  const double ratio = screen ? screen->devicePixelRatio() : 1.0;
  if (window_->isFullScreen()) {
    layout_->setContentsMargins(0, 0, 0, 0);
    view_->SetScale(windowedScale_, ratio);
    window_->menuBar()->show();
    window_->layout()->setSizeConstraint(QLayout::SetFixedSize);
    window_->showNormal();
    return false;
  }
  windowedScale_ = view_->scale();
  const QRect area = screen ? screen->geometry() : QRect(0, 0, kClientWidth, kClientHeight);
  const FullScreenFit fit = FitToScreen(static_cast<int>(area.width() * ratio),
                                        static_cast<int>(area.height() * ratio), kClientWidth, kClientHeight);
  view_->SetScale(fit.scale, ratio);
  // Margins are in the widgets' units: device pixels over the ratio.
  layout_->setContentsMargins(static_cast<int>(fit.place.x / ratio), static_cast<int>(fit.place.y / ratio), 0, 0);
  window_->menuBar()->hide();
  // A fixed size would keep the window manager from making it larger.
  window_->layout()->setSizeConstraint(QLayout::SetNoConstraint);
  window_->setMinimumSize(0, 0);
  window_->setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
  window_->showFullScreen();
  // Where no window manager makes it as large as the screen, it asks itself.
  if (QWindow* w = window_->windowHandle()) w->setGeometry(area);
  return true;
}
