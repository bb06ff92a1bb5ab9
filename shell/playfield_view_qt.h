// The playfield's view: the persistent surface on screen, scaled by whole
// multiples on dense screens, and the paint of the game that follows a step.
#pragma once

#include <QImage>
#include <QWidget>
#include <functional>
#include <memory>
#include <vector>

#include "render/paint_window.h"
#include "render/repeating_picture.h"
#include "render/surface.h"

class XcbPresenter;

struct GameState;

// Shows the persistent surface, scaled by whole multiples on dense screens.
// On X it is a window of its own and puts its changes there directly
// (XcbPresenter); elsewhere, or where that cannot work, Qt paints it.
class PlayfieldView : public QWidget {
  Q_OBJECT
 public:
  PlayfieldView(GameState& g, QWidget* parent);
  ~PlayfieldView() override;
  Surface& surface() { return surface_; }
  // Shows the picture `scale` times as large (1 or more), for a screen of
  // device pixel ratio `ratio`: the view is sized so that one surface pixel
  // takes scale x scale screen pixels there.
  void SetScale(int scale, double ratio);
  int scale() const { return scale_; }
  // Draws the game into the surface (the renderer sets it).
  PaintFunction paint;
  // While it gives a key, the picture `paint` draws repeats every four
  // animation phases unless the key changes (RepeatingPictureKey goes with
  // PaintWindow): on X the window server then keeps each phase's picture
  // and shows it again, and `paint` is not called. Empty: every paint draws.
  std::function<std::optional<PictureKey>(const GameState&)> repeatingKey;

  // Asks for a paint of the game. It follows once the events waiting now
  // are handled, once however often it was asked for meanwhile, and puts on
  // screen only what it changed.
  void Invalidate();
  // Between these two an invalidation waits, and PaintHeld paints it at
  // once: the timer's step and its paint take one turn of the event loop.
  void HoldPaints();
  void PaintHeld();

 protected:
  // Copies the surface to the screen where Qt asks: what the last paint of
  // the game changed, or what the window system uncovered.
  void paintEvent(QPaintEvent* e) override;
  // None while the view puts its pixels on X itself.
  QPaintEngine* paintEngine() const override;
  // A new X window (Qt may make one again) needs a new presenter.
  bool event(QEvent* e) override;

 private:
  void PaintGame();
  // Shows the phase's kept picture instead of painting, when it can.
  bool ShowRepeatedPicture();
  // The shown picture: the surface, or its scaled copy.
  const uint32_t* ShownPixels(int* stride) const;
  // The presenter once the view's X window exists; null when Qt paints.
  XcbPresenter* Presenter();
  // The shown picture lives in the presenter's shared image: at scale 1 the
  // surface draws there, above 1 the paint scales into it, and the put sends
  // it as it is instead of copying the changed pixels once more at every
  // paint. DropPresenter gives the picture its own memory back first.
  void KeepShownInSharedImage();
  void DropPresenter();
  void PaintThroughQt();

  GameState& g_;
  Surface surface_;
  int scale_ = 1;
  double ratio_ = 1;
  QImage scaled_;  // the surface at scale_, when that is not 1
  bool paintPending_ = false;
  int holdLevel_ = -1;  // the event loop level that holds paints, or -1
  std::vector<ScreenRect> changedRects_;
  bool onX_ = false;  // puts its own pixels, as long as that works
  std::unique_ptr<XcbPresenter> presenter_;
  RepeatingPicture repeating_;  // which kept picture the presenter's window shows
};
