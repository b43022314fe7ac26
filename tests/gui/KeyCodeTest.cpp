// Toolkit keys to the virtual-key codes that skins name in "win_os_key_msg".
#include <gtest/gtest.h>

#include "VirtualKeys.h"

namespace tavrel::gui {
namespace {

struct KeyCase {
  int qtKey;
  Qt::KeyboardModifiers modifiers;
  std::uint32_t code;
};

TEST(KeyCodeTest, KeysUsedByTheSkinsMapToTheirCodes) {
  const KeyCase cases[] = {
      {Qt::Key_A, Qt::NoModifier, 65},
      {Qt::Key_Z, Qt::ShiftModifier, 90},
      {Qt::Key_0, Qt::NoModifier, 48},
      {Qt::Key_9, Qt::NoModifier, 57},
      {Qt::Key_Return, Qt::NoModifier, 13},
      {Qt::Key_Enter, Qt::KeypadModifier, 13},
      {Qt::Key_Backspace, Qt::NoModifier, 8},
      {Qt::Key_Escape, Qt::NoModifier, 27},
      {Qt::Key_Tab, Qt::NoModifier, 9},
      {Qt::Key_CapsLock, Qt::NoModifier, 20},
      {Qt::Key_Space, Qt::NoModifier, 32},
      {Qt::Key_PageDown, Qt::NoModifier, 34},
      {Qt::Key_Home, Qt::NoModifier, 36},
      {Qt::Key_Left, Qt::NoModifier, 37},
      {Qt::Key_Up, Qt::NoModifier, 38},
      {Qt::Key_Right, Qt::NoModifier, 39},
      {Qt::Key_Down, Qt::NoModifier, 40},
      {Qt::Key_Delete, Qt::NoModifier, 46},
      {Qt::Key_Menu, Qt::NoModifier, 93},
      {Qt::Key_F1, Qt::NoModifier, 112},
      {Qt::Key_F6, Qt::NoModifier, 117},
      {Qt::Key_F12, Qt::NoModifier, 123},
      {Qt::Key_Shift, Qt::ShiftModifier, 16},
      {Qt::Key_Control, Qt::NoModifier, 17},
      {Qt::Key_Alt, Qt::AltModifier, 18},
      {Qt::Key_Apostrophe, Qt::NoModifier, 222},
      {Qt::Key_Equal, Qt::NoModifier, 187},
      {Qt::Key_Plus, Qt::ShiftModifier, 187},
      {Qt::Key_Minus, Qt::NoModifier, 189},
      {Qt::Key_Period, Qt::NoModifier, 190},
      {Qt::Key_Slash, Qt::NoModifier, 191},
      {Qt::Key_Exclam, Qt::ShiftModifier, 49},
      {Qt::Key_ParenRight, Qt::ShiftModifier, 48},
  };
  for (const KeyCase& c : cases) {
    EXPECT_EQ(virtualKeyFor(c.qtKey, c.modifiers), c.code) << "Qt key 0x" << std::hex << c.qtKey;
  }
}

TEST(KeyCodeTest, NumberBlockHasItsOwnCodes) {
  EXPECT_EQ(virtualKeyFor(Qt::Key_0, Qt::KeypadModifier), 96u);
  EXPECT_EQ(virtualKeyFor(Qt::Key_7, Qt::KeypadModifier), 103u);
  EXPECT_EQ(virtualKeyFor(Qt::Key_Asterisk, Qt::KeypadModifier), 106u);
  EXPECT_EQ(virtualKeyFor(Qt::Key_Plus, Qt::KeypadModifier), 107u);
  EXPECT_EQ(virtualKeyFor(Qt::Key_Minus, Qt::KeypadModifier), 109u);
  EXPECT_EQ(virtualKeyFor(Qt::Key_Period, Qt::KeypadModifier), 110u);
  EXPECT_EQ(virtualKeyFor(Qt::Key_Slash, Qt::KeypadModifier), 111u);
  // With NumLock off the block gives navigation keys.
  EXPECT_EQ(virtualKeyFor(Qt::Key_Home, Qt::KeypadModifier), 36u);
}

TEST(KeyCodeTest, KeysWithoutCodeGiveZero) {
  EXPECT_EQ(virtualKeyFor(Qt::Key_unknown, Qt::NoModifier), 0u);
  EXPECT_EQ(virtualKeyFor(Qt::Key_VolumeUp, Qt::NoModifier), 0u);
  EXPECT_EQ(virtualKeyFor(0, Qt::NoModifier), 0u);
}

}  // namespace
}  // namespace tavrel::gui
