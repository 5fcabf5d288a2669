#include "platforms/qt/keys.h"

#include "runtime/core/key_codes.h"

#include <Qt>

namespace rtqt {

namespace {

struct KeyCode {
    int qtKey;
    int virtualKey;
};

constexpr KeyCode kNamedKeys[] = {
    {Qt::Key_Backspace, rt::kKeyBackspace},
    {Qt::Key_Tab, rt::kKeyTab},
    {Qt::Key_Backtab, rt::kKeyTab},
    {Qt::Key_Return, rt::kKeyEnter},
    {Qt::Key_Enter, rt::kKeyEnter},
    {Qt::Key_Shift, rt::kKeyShift},
    {Qt::Key_Control, rt::kKeyControl},
    {Qt::Key_Alt, rt::kKeyAlt},
    {Qt::Key_Escape, rt::kKeyEscape},
    {Qt::Key_Space, rt::kKeySpace},
    {Qt::Key_PageUp, rt::kKeyPageUp},
    {Qt::Key_PageDown, rt::kKeyPageDown},
    {Qt::Key_End, rt::kKeyEnd},
    {Qt::Key_Home, rt::kKeyHome},
    {Qt::Key_Left, rt::kKeyLeft},
    {Qt::Key_Up, rt::kKeyUp},
    {Qt::Key_Right, rt::kKeyRight},
    {Qt::Key_Down, rt::kKeyDown},
    {Qt::Key_Insert, rt::kKeyInsert},
    {Qt::Key_Delete, rt::kKeyDelete},
};

} // namespace

int virtualKey(int qtKey, Qt::KeyboardModifiers modifiers)
{
    // Qt reports letters by their upper-case code whatever the case typed, as the game expects.
    if (qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z)
        return rt::kKeyA + (qtKey - Qt::Key_A);
    if (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9)
        return (modifiers.testFlag(Qt::KeypadModifier) ? rt::kKeyNumpad0 : rt::kKey0) +
               (qtKey - Qt::Key_0);
    if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F12)
        return rt::kKeyF1 + (qtKey - Qt::Key_F1);
    for (const KeyCode& named : kNamedKeys)
        if (named.qtKey == qtKey)
            return named.virtualKey;
    return 0;
}

int shiftMask(Qt::KeyboardModifiers modifiers)
{
    return (modifiers.testFlag(Qt::ShiftModifier) ? rt::kShiftKey : 0) |
           (modifiers.testFlag(Qt::ControlModifier) ? rt::kCtrlKey : 0) |
           (modifiers.testFlag(Qt::AltModifier) ? rt::kAltKey : 0);
}

} // namespace rtqt
