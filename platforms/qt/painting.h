#pragma once

#include <QPainter>
#include <QRegion>
#include <QSize>

namespace rt {
class Form;
}

namespace rtqt {

class Pictures;

// Draws a window's client area from its controls; reads the form and changes nothing.
// Each container (the window, then every picture box inside it) draws its back colour and
// picture, its lines, shapes and labels in layout order, then its picture boxes in layout
// order, each clipped to its box and drawn by the same rule. Controls wholly outside `exposed`
// are skipped, and `exposed` is painted one of its rectangles at a time.
void paintForm(QPainter& painter, const rt::Form& form, Pictures& pictures, const QRegion& exposed);

// The banner a paused stage shows over its field, on a client area of `client` pixels.
void paintPauseBanner(QPainter& painter, QSize client);

} // namespace rtqt
