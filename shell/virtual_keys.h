// Key codes of the main window's key handling: the old platform's virtual
// key numbers, which the chat key table is written in. The Qt shell maps its
// key events onto them (key_map_qt.cpp).
#pragma once

enum VirtualKey : int {
  VkNone = 0,
  VkBack = 0x08,
  VkTab = 0x09,
  VkReturn = 0x0D,
  VkShift = 0x10,
  VkControl = 0x11,
  VkEscape = 0x1B,
  VkSpace = 0x20,
  VkLeft = 0x25,
  VkUp = 0x26,
  VkRight = 0x27,
  VkDown = 0x28,
  VkInsert = 0x2D,
  VkDelete = 0x2E,
  Vk0 = 0x30,  // '0'..'9' are 0x30..0x39, 'A'..'Z' are 0x41..0x5A
  VkA = 0x41,
  VkNumpad0 = 0x60,
  VkMultiply = 0x6A,
  VkAdd = 0x6B,
  VkSeparator = 0x6C,
  VkSubtract = 0x6D,
  VkDecimal = 0x6E,
  VkDivide = 0x6F,
  VkF1 = 0x70,  // F1..F12 are 0x70..0x7B
  VkOem1 = 0xBA,       // ; :
  VkOemPlus = 0xBB,    // = +
  VkOemComma = 0xBC,   // , <
  VkOemMinus = 0xBD,   // - _
  VkOemPeriod = 0xBE,  // . >
  VkOem2 = 0xBF,       // / ?
  VkOem3 = 0xC0,       // ' @
  VkOem4 = 0xDB,       // [ {
  VkOem5 = 0xDC,       // \ |
  VkOem6 = 0xDD,       // ] }
  VkOem7 = 0xDE,       // # ~
  VkOem8 = 0xDF,       // ` ¬
};

constexpr int VkF(int n) { return VkF1 + n - 1; }
