#pragma once

#include <QHash>
#include <QRect>
#include <QRegion>

namespace rt {
class Control;
class Form;
} // namespace rt

namespace rtqt {

// Where a control draws in its window's client area, in device-independent pixels, rounded out
// and with room for line widths; it ignores clipping by containers, so it may be larger. Nothing
// is antialiased, so nothing is drawn outside it.
QRect extentOf(const rt::Control& control);

// The part of a window to repaint: where each changed control was drawn last and where it is
// now. A picture box carries its contents with it, so they are counted with it.
class Damage {
public:
    QRegion collect(rt::Form& form, const QRect& wholeWindow);

private:
    void remember(const rt::Control& control, QRegion& region);

    QHash<const rt::Control*, QRect> m_drawn;
};

} // namespace rtqt
