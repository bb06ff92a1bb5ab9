// Qt key events to the old platform's virtual keys: the chat's United
// Kingdom table relies on the key positions of the main block, whatever the
// desktop's layout says the key is, and the keypad with Num Lock off steers.
#include <QKeyEvent>
#include <QtTest>

#include "shell/key_map_qt.h"
#include "shell/virtual_keys.h"

namespace {

struct KeyRow {
  int key;                 // what the desktop's layout made of it
  Qt::KeyboardModifiers modifiers;
  quint32 scanCode;        // the X11 key code: the key's place
  int vk;
};

int Map(const KeyRow& r, quint32 nativeModifiers = 0) {
  QKeyEvent e(QEvent::KeyPress, r.key, r.modifiers, r.scanCode, 0, nativeModifiers);
  return VirtualKeyOf(e);
}

}  // namespace

class KeyMapTest : public QObject {
  Q_OBJECT

 private slots:
  void mainBlockKeysGoByTheirPlace() {
    const Qt::KeyboardModifiers none = Qt::NoModifier;
    // Layouts chosen so that the key's own code would give another answer.
    const KeyRow rows[] = {
        {Qt::Key_Exclam, Qt::ShiftModifier, 10, Vk0 + 1},  // shifted 1 on any layout
        {Qt::Key_At, Qt::ShiftModifier, 11, Vk0 + 2},      // US shift+2
        {Qt::Key_Ccedilla, none, 18, Vk0 + 9},             // French, the 9 key
        {Qt::Key_0, none, 19, Vk0},
        {Qt::Key_ssharp, none, 20, VkOemMinus},            // German, right of 0
        {Qt::Key_Apostrophe, none, 21, VkOemPlus},         // German, right of that
        {Qt::Key_Udiaeresis, none, 34, VkOem4},
        {Qt::Key_Plus, none, 35, VkOem6},
        {Qt::Key_Odiaeresis, none, 47, VkOem1},
        {Qt::Key_Adiaeresis, none, 48, VkOem3},
        {Qt::Key_AsciiCircum, none, 49, VkOem8},
        {Qt::Key_Backslash, none, 51, VkOem7},             // US backslash: UK # ~
        {Qt::Key_Semicolon, none, 59, VkOemComma},         // French , place
        {Qt::Key_Colon, none, 60, VkOemPeriod},
        {Qt::Key_Exclam, none, 61, VkOem2},
        {Qt::Key_Less, none, 94, VkOem5},                  // the key beside left Shift
    };
    for (const KeyRow& r : rows) QCOMPARE(Map(r), r.vk);
  }

  void keysWithoutAPlaceGoByTheirCode() {
    const Qt::KeyboardModifiers none = Qt::NoModifier;
    const KeyRow rows[] = {
        {Qt::Key_Q, none, 24, VkA + ('Q' - 'A')},
        {Qt::Key_F12, none, 96, VkF(12)},
        {Qt::Key_Up, none, 111, VkUp},
        {Qt::Key_Return, none, 36, VkReturn},
        {Qt::Key_sterling, Qt::ShiftModifier, 0, Vk0 + 3},  // no place known
        {Qt::Key_NumberSign, none, 0, VkOem7},
    };
    for (const KeyRow& r : rows) QCOMPARE(Map(r), r.vk);
  }

  void keypadWithNumLockOffSteersAndTypesOnlyItsZero() {
    const Qt::KeyboardModifiers pad = Qt::KeypadModifier;
    const KeyRow rows[] = {
        {Qt::Key_Up, pad, 80, VkUp},         {Qt::Key_Down, pad, 88, VkDown},
        {Qt::Key_Left, pad, 83, VkLeft},     {Qt::Key_Right, pad, 85, VkRight},
        {Qt::Key_Insert, pad, 90, VkInsert}, {Qt::Key_Delete, pad, 91, VkDelete},
        {Qt::Key_Home, pad, 79, VkNone},     {Qt::Key_Clear, pad, 84, VkNone},
        // Num Lock on: digits are keypad digits, which type nothing.
        {Qt::Key_7, pad, 79, VkNumpad0 + 7}, {Qt::Key_Asterisk, pad, 63, VkMultiply},
        {Qt::Key_Enter, pad, 104, VkReturn},
    };
    for (const KeyRow& r : rows) QCOMPARE(Map(r), r.vk);
  }

  void capsLockComesFromTheLockModifier() {
    const KeyRow a{Qt::Key_A, Qt::NoModifier, 38, VkA};  // Shift alone is not Caps
    QKeyEvent off(QEvent::KeyPress, a.key, a.modifiers, a.scanCode, 0, 0x1 /* Shift */);
    QKeyEvent on(QEvent::KeyPress, a.key, a.modifiers, a.scanCode, 0, 0x2 | 0x10 /* Num Lock */);
    QVERIFY(!CapsLockOn(off));
    QVERIFY(CapsLockOn(on));
  }
};

QTEST_MAIN(KeyMapTest)
#include "key_map_test.moc"
