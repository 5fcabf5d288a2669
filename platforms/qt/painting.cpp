#include "platforms/qt/painting.h"

#include "platforms/qt/conversions.h"
#include "platforms/qt/pictures.h"
#include "runtime/core/controls.h"
#include "runtime/core/form.h"
#include "runtime/presentation/damage.h"
#include "runtime/presentation/draw_order.h"
#include "runtime/presentation/faces.h"
#include "runtime/presentation/pause_banner.h"

#include <QFont>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <QRegion>
#include <QTextLayout>

#include <algorithm>
#include <cmath>
#include <vector>

namespace rtqt {

namespace {

// A line is filled as the band its width covers, cut square at its ends. Qt's own thick-line
// routine first cuts the line to the clip rectangle, so the ends of a line crossing two of a
// frame's rectangles would round differently in each.
void drawLine(QPainter& painter, const rt::Line& line)
{
    const QPointF from(rt::toPixels(line.X1), rt::toPixels(line.Y1));
    const QPointF to(rt::toPixels(line.X2), rt::toPixels(line.Y2));
    const QLineF along(from, to);
    if (along.length() == 0)
        return;
    const double width = std::max(1, line.BorderWidth.value());
    const QLineF normal = along.normalVector().unitVector();
    const QPointF half = (normal.p2() - normal.p1()) * (width / 2);
    const QPolygonF band({from + half, to + half, to - half, from - half});
    painter.setPen(Qt::NoPen);
    painter.setBrush(toQColor(line.BorderColor));
    painter.drawPolygon(band);
}

bool isSquare(rt::ShapeKind kind)
{
    return kind == rt::ShapeKind::Square || kind == rt::ShapeKind::Circle ||
           kind == rt::ShapeKind::RoundedSquare;
}

// Squares and circles take the smaller side of the box, centred in it.
QRectF shapeBounds(const rt::Shape& shape)
{
    const QRectF box = toQRectF(rt::pixelRect(shape.Left, shape.Top, shape.Width, shape.Height));
    if (!isSquare(shape.Kind))
        return box;
    const double side = std::min(box.width(), box.height());
    QRectF square(0, 0, side, side);
    square.moveCenter(box.center());
    return square;
}

QPainterPath outline(rt::ShapeKind kind, const QRectF& rect, double cornerRadius)
{
    QPainterPath path;
    if (rect.isEmpty())
        return path;
    switch (kind) {
    case rt::ShapeKind::Rectangle:
    case rt::ShapeKind::Square:
        path.addRect(rect);
        break;
    case rt::ShapeKind::Oval:
    case rt::ShapeKind::Circle:
        path.addEllipse(rect);
        break;
    case rt::ShapeKind::RoundedRectangle:
    case rt::ShapeKind::RoundedSquare:
        path.addRoundedRect(rect, cornerRadius, cornerRadius);
        break;
    }
    return path;
}

bool isRound(rt::ShapeKind kind)
{
    return kind == rt::ShapeKind::Oval || kind == rt::ShapeKind::Circle;
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

// Shots and bombs: a round shape with no border, drawn every frame while it flies.
void fillEllipse(QPainter& painter, const QRectF& rect, const QBrush& brush)
{
    painter.setPen(Qt::NoPen);
    painter.setBrush(brush);
    painter.drawEllipse(onDevicePixels(painter, rect));
}

QBrush fillBrush(const rt::Shape& shape)
{
    const QColor fill = toQColor(shape.FillColor);
    switch (shape.FillStyle) {
    case rt::Fill::Solid:
        return fill;
    case rt::Fill::DownwardDiagonal:
        // Qt's forward-diagonal pattern is the one whose lines run down to the right.
        return {fill, Qt::FDiagPattern};
    case rt::Fill::Transparent:
        break;
    }
    return Qt::NoBrush;
}

// The border is drawn inside the box: the fill takes what is left within it.
void drawShape(QPainter& painter, const rt::Shape& shape)
{
    const QRectF outer = shapeBounds(shape);
    const QBrush fill = fillBrush(shape);
    if (isRound(shape.Kind) && !shape.BorderVisible) {
        if (fill.style() != Qt::NoBrush)
            fillEllipse(painter, outer, fill);
        return;
    }
    const double border = shape.BorderVisible ? std::max(1, shape.BorderWidth.value()) : 0.0;
    const QRectF inner = outer.adjusted(border, border, -border, -border);
    const double radius = std::min(outer.width(), outer.height()) / 6;
    const QPainterPath innerPath = outline(shape.Kind, inner, std::max(0.0, radius - border));

    if (fill.style() != Qt::NoBrush)
        painter.fillPath(innerPath, fill);
    if (border > 0)
        painter.fillPath(outline(shape.Kind, outer, radius).subtracted(innerPath),
                         toQColor(shape.BorderColor));
}

Qt::Alignment alignmentOf(rt::Align align)
{
    switch (align) {
    case rt::Align::Right:
        return Qt::AlignRight;
    case rt::Align::Center:
        return Qt::AlignHCenter;
    case rt::Align::Left:
        break;
    }
    return Qt::AlignLeft;
}

// Where a label's lines sit: the baseline of the first below the box's top, and the spacing.
struct LineMetrics {
    double ascent;
    double spacing;
};

LineMetrics lineMetrics(const rt::Font& font, const QFont& face)
{
    if (rt::faceOf(font).lucidaLines)
        return {0.79 * face.pixelSize(), 1.0 * face.pixelSize()};
    const QFontMetricsF metrics(face);
    return {metrics.ascent(), metrics.lineSpacing()};
}

// The caption word-wrapped in the box, top aligned, clipped to the box.
void drawCaption(QPainter& painter, const rt::Label& label, const QRectF& box)
{
    QString text = QString::fromStdString(label.Caption);
    text.replace(QLatin1String("\r\n"), QString(QChar::LineSeparator));
    text.replace(QLatin1Char('\n'), QChar::LineSeparator);
    const QFont face = toQFont(label.Font);
    const LineMetrics metrics = lineMetrics(label.Font, face);

    QTextLayout layout(text, face, painter.device());
    QTextOption option(alignmentOf(label.Alignment));
    option.setWrapMode(QTextOption::WordWrap);
    layout.setTextOption(option);
    layout.beginLayout();
    for (int i = 0;; ++i) {
        QTextLine line = layout.createLine();
        if (!line.isValid())
            break;
        line.setLineWidth(box.width());
        line.setPosition(QPointF(0, metrics.ascent + i * metrics.spacing - line.ascent()));
    }
    layout.endLayout();

    painter.save();
    painter.setClipRect(box, Qt::IntersectClip);
    painter.setPen(toQColor(label.ForeColor));
    layout.draw(&painter, box.topLeft());
    painter.restore();
}

void drawLabel(QPainter& painter, const rt::Label& label)
{
    const QRectF box = toQRectF(rt::pixelRect(label.Left, label.Top, label.Width, label.Height));
    if (label.BackStyle == rt::Back::Opaque)
        painter.fillRect(box, toQColor(label.BackColor));
    if (!label.Caption.value().empty())
        drawCaption(painter, label, box);
}

void drawPicture(QPainter& painter, Pictures& pictures, const std::string& name)
{
    const QPixmap& pixmap = pictures.get(name);
    if (!pixmap.isNull())
        painter.drawPixmap(QPointF(0, 0), pixmap);
}

using ExposedControls = std::vector<rt::Exposed<QRect>>;

void drawContents(QPainter& painter, const ExposedControls& controls,
                  const rt::PictureBox* container, Pictures& pictures, const QRect& area);

void drawPictureBox(QPainter& painter, const ExposedControls& controls, const rt::PictureBox& box,
                    Pictures& pictures, const QRect& area)
{
    const QRectF rect = toQRectF(rt::pixelRect(box.Left, box.Top, box.Width, box.Height));
    painter.save();
    painter.setClipRect(rect, Qt::IntersectClip);
    painter.translate(rect.topLeft());
    painter.fillRect(QRectF(QPointF(0, 0), rect.size()), toQColor(box.BackColor));
    drawPicture(painter, pictures, box.Picture);
    drawContents(painter, controls, &box, pictures, area);
    painter.restore();
}

void drawContents(QPainter& painter, const ExposedControls& controls,
                  const rt::PictureBox* container, Pictures& pictures, const QRect& area)
{
    rt::drawInOrder(controls, container, area,
                    rt::Overloaded{[&](const rt::Line& line) { drawLine(painter, line); },
                                   [&](const rt::Shape& shape) { drawShape(painter, shape); },
                                   [&](const rt::Label& label) { drawLabel(painter, label); },
                                   [&](const rt::PictureBox& box) {
                                       drawPictureBox(painter, controls, box, pictures, area);
                                   }});
}

} // namespace

void paintForm(QPainter& painter, const rt::Form& form, Pictures& pictures, const QRegion& exposed)
{
    // Pixel art stays crisp at any device pixel ratio, and edges land on whole pixels.
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    painter.setRenderHint(QPainter::Antialiasing, false);
    ExposedControls controls;
    for (const rt::Control* control : form.controls())
        if (const QRect extent = toQRect(rt::extentOf(*control)); exposed.intersects(extent))
            controls.push_back({control, extent});
    const QRectF client =
        toQRectF(rt::pixelRect(0, 0, form.frame().clientWidth, form.frame().clientHeight));
    // A rectangle at a time, each its own clip: under a clip of many rectangles Qt's raster
    // engine looks each scan line of a shot or bomb up from the clip's first line, and a frame
    // of a few small changes on a large window cost far more than its pixels.
    for (const QRect& area : exposed) {
        painter.save();
        // In floating point, so neighbouring rectangles meet on the same device pixel at any ratio.
        painter.setClipRect(QRectF(area), Qt::IntersectClip);
        painter.fillRect(client, toQColor(form.BackColor));
        drawPicture(painter, pictures, form.Picture);
        drawContents(painter, controls, nullptr, pictures, area);
        painter.restore();
    }
}

void paintPauseBanner(QPainter& painter, QSize client)
{
    const rt::PauseBanner banner = rt::pauseBanner({client.width(), client.height()});
    painter.save();
    painter.setOpacity(rt::kBandOpacity);
    painter.fillRect(toQRect(banner.band), Qt::black);
    painter.setOpacity(1);
    QFont face(QString::fromUtf8(rt::kBannerFamily.data(), rt::kBannerFamily.size()));
    face.setBold(true);
    face.setPixelSize(banner.wordPixels);
    painter.setFont(face);
    painter.setPen(Qt::white);
    painter.drawText(toQRect(banner.word), Qt::AlignCenter,
                     QString::fromUtf8(rt::kPausedText.data(), rt::kPausedText.size()));
    face.setPixelSize(banner.hintPixels);
    painter.setFont(face);
    painter.setPen(QColor(QRgb(rt::kHintGrey)));
    painter.drawText(toQRect(banner.hint), Qt::AlignCenter,
                     QString::fromUtf8(rt::kResumeText.data(), rt::kResumeText.size()));
    painter.restore();
}

} // namespace rtqt
