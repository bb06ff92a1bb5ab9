#pragma once

class QKeyEvent;

// The virtual key of a Qt key event. Punctuation is taken from the key's
// position on the keyboard where the platform says it, so that the chat's
// United Kingdom key table types the same characters whatever the desktop's
// layout; elsewhere from Qt's key code.
int VirtualKeyOf(const QKeyEvent& e);

// Whether Caps Lock is on at this key event.
bool CapsLockOn(const QKeyEvent& e);
