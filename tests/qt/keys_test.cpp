#include "platforms/qt/keys.h"

#include <gtest/gtest.h>

namespace {

struct Mapping {
    int qtKey;
    Qt::KeyboardModifiers modifiers;
    int virtualKey;
};

// The codes the game's key handlers test for, and the edges of each range.
constexpr Mapping kMappings[] = {
    {Qt::Key_Left, {}, 37},
    {Qt::Key_Up, {}, 38},
    {Qt::Key_Right, {}, 39},
    {Qt::Key_Down, {}, 40},
    {Qt::Key_Space, {}, 32},
    {Qt::Key_Return, {}, 13},
    {Qt::Key_Enter, Qt::KeypadModifier, 13},
    {Qt::Key_Escape, {}, 27},
    {Qt::Key_Backspace, {}, 8},
    {Qt::Key_Backtab, Qt::ShiftModifier, 9},
    {Qt::Key_Shift, Qt::ShiftModifier, 16},
    {Qt::Key_Control, {}, 17},
    {Qt::Key_Alt, {}, 18},
    {Qt::Key_PageUp, {}, 33},
    {Qt::Key_Home, {}, 36},
    {Qt::Key_Insert, {}, 45},
    {Qt::Key_Delete, {}, 46},
    {Qt::Key_A, {}, 65},
    {Qt::Key_Z, Qt::ShiftModifier, 90},
    {Qt::Key_0, {}, 48},
    {Qt::Key_9, {}, 57},
    {Qt::Key_0, Qt::KeypadModifier, 96},
    {Qt::Key_9, Qt::KeypadModifier, 105},
    {Qt::Key_Left, Qt::KeypadModifier, 37},
    {Qt::Key_F1, {}, 112},
    {Qt::Key_F12, {}, 123},
    {Qt::Key_F13, {}, 0},
    {Qt::Key_Exclam, Qt::ShiftModifier, 0},
    {Qt::Key_Meta, {}, 0},
};

TEST(KeyMapping, QtKeysMapToVirtualKeyCodes)
{
    for (const Mapping& m : kMappings)
        EXPECT_EQ(rtqt::virtualKey(m.qtKey, m.modifiers), m.virtualKey)
            << "Qt key 0x" << std::hex << m.qtKey;
}

// Shift 1, Ctrl 2, Alt 4; the keypad and Meta modifiers are not part of the mask.
TEST(KeyMapping, ShiftMaskCombinesShiftCtrlAlt)
{
    EXPECT_EQ(rtqt::shiftMask(Qt::NoModifier), 0);
    EXPECT_EQ(rtqt::shiftMask(Qt::ShiftModifier), 1);
    EXPECT_EQ(rtqt::shiftMask(Qt::ControlModifier), 2);
    EXPECT_EQ(rtqt::shiftMask(Qt::AltModifier), 4);
    EXPECT_EQ(rtqt::shiftMask(Qt::ShiftModifier | Qt::AltModifier | Qt::KeypadModifier |
                              Qt::MetaModifier),
              5);
}

} // namespace
