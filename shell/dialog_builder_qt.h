// Turns a dialog template into a Qt dialog: one widget per control, placed
// in pixels converted from dialog units with the dialog font's base units.
// Every control with an id carries it as its object name ("1027").
#pragma once

#include <QDialog>
#include <QFont>
#include <QPixmap>
#include <QString>

#include "platform/dialog_template.h"

// The font of every dialog: DejaVu Sans at 11 pixels, what the old
// platform's 8-point dialog font measured on a 96-dpi screen.
QFont DialogFont();

// The base units the dialogs use with a font: BaseUnitsFromFont on its
// measurements, enlarged (EnlargedUnits).
DialogBaseUnits DialogUnitsOf(const QFont& font);

// An embedded picture ("icon102.bmp", "bitmap130.bmp"); a drawn placeholder
// of the given size when the program carries no such picture.
QPixmap ResourcePixmap(const char* name, int placeholderWidth, int placeholderHeight);

// The program icon (resource 102) and bitmap <id>.
QPixmap ProgramIconPixmap();
QPixmap BitmapPixmap(int id);

// Sets the dialog's title, font, window buttons and size and creates the
// template's controls in it.
void BuildDialog(QDialog& dialog, const DialogTemplate& t);

// The size in pixels of a template's client area.
QSize DialogPixelSize(const DialogTemplate& t);

// Moves a top-level dialog so that a dialog of `size` is centred on the
// screen it is on.
void CentreOnScreen(QWidget& dialog, QSize size);

// The control with that id, or null.
template <class W>
W* DialogControlById(QWidget& dialog, int id) {
  return dialog.findChild<W*>(QString::number(id));
}

// A dialog that ends only through its buttons: Escape and the window
// manager's close request do nothing (the welcome and nickname dialogs).
// It has no minimise box either; a window manager that draws one anyway
// (Openbox draws its own buttons whatever a window asks for) cannot hide it.
class ButtonOnlyDialog : public QDialog {
 public:
  using QDialog::QDialog;

 protected:
  void keyPressEvent(QKeyEvent* e) override;
  void closeEvent(QCloseEvent* e) override;
  void changeEvent(QEvent* e) override;
};

// A dialog that ends only through its close box, system menu or Alt+F4,
// with result 0: Escape and Enter do nothing (the About and help dialogs).
class CloseBoxOnlyDialog : public QDialog {
 public:
  using QDialog::QDialog;

 protected:
  void keyPressEvent(QKeyEvent* e) override;
};
