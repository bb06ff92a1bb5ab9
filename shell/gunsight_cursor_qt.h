// The main window's mouse cursor: the gunsight of resource 104.
#pragma once

#include <QCursor>

// The hot spot is the gunsight's centre.
constexpr int kGunsightHotX = 15, kGunsightHotY = 15;

// The cursor picture with its fuchsia pixels made transparent (the picture
// carries no separate mask); the system arrow when the program carries no
// such picture.
QCursor GunsightCursor();
