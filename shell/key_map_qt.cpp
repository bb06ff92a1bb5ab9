#include "shell/key_map_qt.h"

#include <QKeyEvent>

#include "shell/virtual_keys.h"

namespace {

// X11 key codes of the keys in the main block whose characters depend on
// the layout, by their place on a United Kingdom keyboard.
int VirtualKeyOfX11Code(quint32 code) {
  if (code >= 10 && code <= 18) return Vk0 + 1 + (code - 10);  // 1..9
  switch (code) {
    case 19: return Vk0;
    case 20: return VkOemMinus;
    case 21: return VkOemPlus;
    case 34: return VkOem4;
    case 35: return VkOem6;
    case 47: return VkOem1;
    case 48: return VkOem3;
    case 49: return VkOem8;
    case 51: return VkOem7;
    case 59: return VkOemComma;
    case 60: return VkOemPeriod;
    case 61: return VkOem2;
    case 94: return VkOem5;
    default: return VkNone;
  }
}

int VirtualKeyOfPunctuation(int key) {
  switch (key) {
    case Qt::Key_Semicolon: case Qt::Key_Colon: return VkOem1;
    case Qt::Key_Equal: case Qt::Key_Plus: return VkOemPlus;
    case Qt::Key_Comma: case Qt::Key_Less: return VkOemComma;
    case Qt::Key_Minus: case Qt::Key_Underscore: return VkOemMinus;
    case Qt::Key_Period: case Qt::Key_Greater: return VkOemPeriod;
    case Qt::Key_Slash: case Qt::Key_Question: return VkOem2;
    case Qt::Key_Apostrophe: case Qt::Key_At: return VkOem3;
    case Qt::Key_BracketLeft: case Qt::Key_BraceLeft: return VkOem4;
    case Qt::Key_Backslash: case Qt::Key_Bar: return VkOem5;
    case Qt::Key_BracketRight: case Qt::Key_BraceRight: return VkOem6;
    case Qt::Key_NumberSign: case Qt::Key_AsciiTilde: return VkOem7;
    case Qt::Key_QuoteLeft: case Qt::Key_notsign: return VkOem8;
    // Shifted digits of a layout without key positions.
    case Qt::Key_ParenRight: return Vk0;
    case Qt::Key_Exclam: return Vk0 + 1;
    case Qt::Key_QuoteDbl: return Vk0 + 2;
    case Qt::Key_sterling: return Vk0 + 3;
    case Qt::Key_Dollar: return Vk0 + 4;
    case Qt::Key_Percent: return Vk0 + 5;
    case Qt::Key_AsciiCircum: return Vk0 + 6;
    case Qt::Key_Ampersand: return Vk0 + 7;
    case Qt::Key_Asterisk: return Vk0 + 8;
    case Qt::Key_ParenLeft: return Vk0 + 9;
    default: return VkNone;
  }
}

int VirtualKeyOfKeypad(int key) {
  switch (key) {
    case Qt::Key_Asterisk: return VkMultiply;
    case Qt::Key_Plus: return VkAdd;
    case Qt::Key_Minus: return VkSubtract;
    case Qt::Key_Period: case Qt::Key_Comma: return VkDecimal;
    case Qt::Key_Slash: return VkDivide;
    case Qt::Key_Enter: return VkReturn;
    // With Num Lock off the keypad's keys are the cursor block's, as they
    // arrive on the old platform: its arrows steer like the arrow keys, and
    // keypad 0 (Insert) types the digit 0.
    case Qt::Key_Up: return VkUp;
    case Qt::Key_Down: return VkDown;
    case Qt::Key_Left: return VkLeft;
    case Qt::Key_Right: return VkRight;
    case Qt::Key_Insert: return VkInsert;
    case Qt::Key_Delete: return VkDelete;
    default:
      if (key >= Qt::Key_0 && key <= Qt::Key_9) return VkNumpad0 + (key - Qt::Key_0);
      return VkNone;  // Home, End, Page Up and Down, Clear: nothing
  }
}

}  // namespace

int VirtualKeyOf(const QKeyEvent& e) {
  const int key = e.key();
  if (key >= Qt::Key_F1 && key <= Qt::Key_F12) return VkF1 + (key - Qt::Key_F1);
  if (e.modifiers() & Qt::KeypadModifier) return VirtualKeyOfKeypad(key);
  switch (key) {
    case Qt::Key_Up: return VkUp;
    case Qt::Key_Down: return VkDown;
    case Qt::Key_Left: return VkLeft;
    case Qt::Key_Right: return VkRight;
    case Qt::Key_Shift: return VkShift;
    case Qt::Key_Control: return VkControl;
    case Qt::Key_Return: case Qt::Key_Enter: return VkReturn;
    case Qt::Key_Backspace: return VkBack;
    case Qt::Key_Escape: return VkEscape;
    case Qt::Key_Space: return VkSpace;
    case Qt::Key_Insert: return VkInsert;
    case Qt::Key_Delete: return VkDelete;
    case Qt::Key_Tab: return VkTab;
    default: break;
  }
  if (key >= Qt::Key_A && key <= Qt::Key_Z) return VkA + (key - Qt::Key_A);
  if (int vk = VirtualKeyOfX11Code(e.nativeScanCode())) return vk;
  if (key >= Qt::Key_0 && key <= Qt::Key_9) return Vk0 + (key - Qt::Key_0);
  return VirtualKeyOfPunctuation(key);
}

bool CapsLockOn(const QKeyEvent& e) {
  constexpr quint32 kX11LockMask = 0x2;
  return e.nativeModifiers() & kX11LockMask;
}
