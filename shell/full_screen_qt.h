// The main window's stage: the playfield view on black. In the window the
// stage is exactly the view; on the whole screen the view is shown at the
// largest whole multiple that fits, centred, and the menu is hidden.
#pragma once

class QMainWindow;
class QBoxLayout;
class PlayfieldView;

class FullScreenStage {
 public:
  // Puts `view` on a new stage that becomes the window's central widget.
  FullScreenStage(QMainWindow* window, PlayfieldView* view);
  // Switches between the window and the whole screen; true when the
  // window now fills the screen.
  bool Toggle();

 private:
  QMainWindow* window_;
  PlayfieldView* view_;
  QBoxLayout* layout_;
  int windowedScale_ = 1;
};
