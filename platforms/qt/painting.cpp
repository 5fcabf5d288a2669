#include "platforms/qt/painting.h"

#include "platforms/qt/conversions.h"
#include "platforms/qt/pictures.h"
#include "runtime/presentation/draw_order.h"

#include <QFont>
#include <QPainterPath>
#include <QPolygonF>
#include <QTextLayout>

#include <cmath>

namespace rtqt {

namespace {

QColor colorOf(std::uint32_t rgb) { return QColor(QRgb(rgb)); }

QBrush brushOf(const rt::draw::Fill& fill)
{
    // Qt's forward-diagonal pattern is the one whose lines run down to the right.
    if (fill.hatch == rt::draw::Hatch::DownwardDiagonal)
        return {colorOf(fill.rgb), Qt::FDiagPattern};
    return colorOf(fill.rgb);
}

QPainterPath pathOf(const rt::draw::Shape& shape)
{
    QPainterPath path;
    const QRectF rect = toQRectF(shape.box);
    switch (shape.outline) {
    case rt::draw::Outline::Rectangle:
        path.addRect(rect);
        break;
    case rt::draw::Outline::Ellipse:
        path.addEllipse(rect);
        break;
    case rt::draw::Outline::RoundedRectangle:
        path.addRoundedRect(rect, shape.radius, shape.radius);
        break;
    }
    return path;
}

// `rect` moved onto whole device pixels. The raster engine fills an ellipse with its quick
// midpoint routine only when the box maps exactly onto device pixels; otherwise it flattens and
// fills a path, several times slower. The mapped-back box leans a hair towards larger values,
// so the engine's truncation of its edges lands on the very pixels chosen here.
QRectF onDevicePixels(const QPainter& painter, const QRectF& rect)
{
    const QTransform toDevice = painter.deviceTransform(); // scale and offset only
    const QRectF device = toDevice.mapRect(rect);
    const double left = std::round(device.left());
    const double top = std::round(device.top());
    const double width = std::round(device.right()) - left;
    const double height = std::round(device.bottom()) - top;
    const auto back = [](double length, double scale) {
        return std::nextafter(length / scale, HUGE_VAL);
    };
    return {back(left - toDevice.dx(), toDevice.m11()), back(top - toDevice.dy(), toDevice.m22()),
            back(width, toDevice.m11()), back(height, toDevice.m22())};
}

void fill(QPainter& painter, const rt::draw::Fill& command)
{
    const QBrush brush = brushOf(command);
    painter.setOpacity(command.opacity);
    switch (command.shape.outline) {
    case rt::draw::Outline::Rectangle:
        painter.fillRect(toQRectF(command.shape.box), brush);
        break;
    case rt::draw::Outline::Ellipse:
        painter.setPen(Qt::NoPen);
        painter.setBrush(brush);
        painter.drawEllipse(onDevicePixels(painter, toQRectF(command.shape.box)));
        break;
    case rt::draw::Outline::RoundedRectangle:
        painter.fillPath(pathOf(command.shape), brush);
        break;
    }
    painter.setOpacity(1);
}

// A line's band is filled as the polygon it is: Qt's own thick-line routine first cuts the line
// to the clip rectangle, so the ends of a line crossing two clips would round differently in each.
void band(QPainter& painter, const rt::draw::Band& band)
{
    const QPolygonF corners({QPointF(band.corners[0].x, band.corners[0].y),
                             QPointF(band.corners[1].x, band.corners[1].y),
                             QPointF(band.corners[2].x, band.corners[2].y),
                             QPointF(band.corners[3].x, band.corners[3].y)});
    painter.setPen(Qt::NoPen);
    painter.setBrush(colorOf(band.rgb));
    painter.drawPolygon(corners);
}

void picture(QPainter& painter, Pictures& pictures, const rt::draw::Picture& command)
{
    const QPixmap& pixmap = pictures.get(command.name);
    if (pixmap.isNull())
        return;
    const QPointF at(command.at.x, command.at.y);
    if (command.scale == 1)
        painter.drawPixmap(at, pixmap);
    else
        painter.drawPixmap(QRectF(at, QSizeF(pixmap.size()) * command.scale), pixmap,
                           QRectF(pixmap.rect()));
}

Qt::Alignment alignmentOf(rt::draw::TextAlign align)
{
    switch (align) {
    case rt::draw::TextAlign::Right:
        return Qt::AlignRight;
    case rt::draw::TextAlign::Centre:
        return Qt::AlignHCenter;
    case rt::draw::TextAlign::Left:
        break;
    }
    return Qt::AlignLeft;
}

// Word-wrapped in the box from its top, each line's baseline where the layout puts it.
void wrappedText(QPainter& painter, const rt::draw::Text& command, const QFont& face,
                 const QRectF& box)
{
    QString text = QString::fromStdString(command.text);
    text.replace(QLatin1String("\r\n"), QString(QChar::LineSeparator));
    text.replace(QLatin1Char('\n'), QChar::LineSeparator);
    double ascent = 0.79 * command.px;
    double spacing = command.px;
    if (command.layout == rt::draw::TextLayout::Wrapped) {
        const QFontMetricsF metrics(face);
        ascent = metrics.ascent();
        spacing = metrics.lineSpacing();
    }
    QTextLayout layout(text, face, painter.device());
    QTextOption option(alignmentOf(command.align));
    option.setWrapMode(QTextOption::WordWrap);
    layout.setTextOption(option);
    layout.beginLayout();
    for (int i = 0;; ++i) {
        QTextLine line = layout.createLine();
        if (!line.isValid())
            break;
        line.setLineWidth(box.width());
        line.setPosition(QPointF(0, ascent + i * spacing - line.ascent()));
    }
    layout.endLayout();
    layout.draw(&painter, box.topLeft());
}

void text(QPainter& painter, const rt::draw::Text& command)
{
    QFont face(QString::fromStdString(command.family));
    face.setPixelSize(std::max(1, static_cast<int>(std::lround(command.px))));
    face.setBold(command.bold);
    const QRectF box = toQRectF(command.box);
    painter.save();
    painter.setClipRect(box, Qt::IntersectClip);
    painter.setPen(colorOf(command.rgb));
    painter.setFont(face);
    if (command.layout == rt::draw::TextLayout::Centred)
        painter.drawText(box, Qt::AlignCenter, QString::fromStdString(command.text));
    else
        wrappedText(painter, command, face, box);
    painter.restore();
}

} // namespace

void paintCommands(QPainter& painter, const std::vector<rt::draw::Command>& commands,
                   Pictures& pictures)
{
    // Pixel art stays crisp at any device pixel ratio, and edges land on whole pixels.
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    painter.setRenderHint(QPainter::Antialiasing, false);
    for (const rt::draw::Command& command : commands)
        std::visit(
            rt::Overloaded{
                [&](const rt::draw::Clip& clip) {
                    painter.save();
                    // In floating point, so neighbouring clips meet on the same device
                    // pixel at any ratio.
                    painter.setClipRect(toQRectF(clip.box), Qt::IntersectClip);
                },
                [&](const rt::draw::Unclip&) { painter.restore(); },
                [&](const rt::draw::Fill& command) { fill(painter, command); },
                [&](const rt::draw::Ring& ring) {
                    painter.fillPath(pathOf(ring.outer).subtracted(pathOf(ring.inner)),
                                     colorOf(ring.rgb));
                },
                [&](const rt::draw::Band& command) { band(painter, command); },
                [&](const rt::draw::Picture& command) { picture(painter, pictures, command); },
                [&](const rt::draw::Text& command) { text(painter, command); },
            },
            command);
}

} // namespace rtqt
