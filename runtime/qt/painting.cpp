#include "runtime/qt/painting.h"

#include "runtime/controls.h"
#include "runtime/form.h"
#include "runtime/qt/conversions.h"
#include "runtime/qt/damage.h"
#include "runtime/qt/pictures.h"

#include <QPainter>
#include <QPainterPath>
#include <QRegion>
#include <QTextLayout>

#include <algorithm>

namespace rtqt {

namespace {

void drawLine(QPainter& painter, const rt::Line& line)
{
    QPen pen(toQColor(line.BorderColor), std::max(1, line.BorderWidth.value()));
    pen.setCapStyle(Qt::FlatCap);
    painter.setPen(pen);
    painter.drawLine(QPointF(toPixels(line.X1), toPixels(line.Y1)),
                     QPointF(toPixels(line.X2), toPixels(line.Y2)));
}

bool isSquare(rt::ShapeKind kind)
{
    return kind == rt::ShapeKind::Square || kind == rt::ShapeKind::Circle ||
           kind == rt::ShapeKind::RoundedSquare;
}

// Squares and circles take the smaller side of the box, centred in it.
QRectF shapeBounds(const rt::Shape& shape)
{
    const QRectF box = pixelRect(shape.Left, shape.Top, shape.Width, shape.Height);
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

// The border is drawn inside the box: the fill takes what is left within it.
void drawShape(QPainter& painter, const rt::Shape& shape)
{
    const QRectF outer = shapeBounds(shape);
    const double border = shape.BorderVisible ? std::max(1, shape.BorderWidth.value()) : 0.0;
    const QRectF inner = outer.adjusted(border, border, -border, -border);
    const double radius = std::min(outer.width(), outer.height()) / 6;
    const QPainterPath innerPath = outline(shape.Kind, inner, std::max(0.0, radius - border));

    const QColor fill = toQColor(shape.FillColor);
    switch (shape.FillStyle) {
    case rt::Fill::Solid:
        painter.fillPath(innerPath, fill);
        break;
    case rt::Fill::DownwardDiagonal:
        // Qt's forward-diagonal pattern is the one whose lines run down to the right.
        painter.fillPath(innerPath, QBrush(fill, Qt::FDiagPattern));
        break;
    case rt::Fill::Transparent:
        break;
    }
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

// DejaVu Sans Mono stands in for Lucida Console but spaces its lines 1.16 em apart; Lucida
// Console's lines are 1 em apart with the baseline at 0.79 em, which the game's captions need
// to fit their boxes. The other faces keep their own spacing.
LineMetrics lineMetrics(const rt::Font& font, const QFont& face)
{
    if (font.Name == "Lucida Console")
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
    const QRectF box = pixelRect(label.Left, label.Top, label.Width, label.Height);
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

void drawContents(QPainter& painter, const rt::Form& form, const rt::PictureBox* container,
                  Pictures& pictures, const QRegion& exposed);

void drawPictureBox(QPainter& painter, const rt::Form& form, const rt::PictureBox& box,
                    Pictures& pictures, const QRegion& exposed)
{
    const QRectF rect = pixelRect(box.Left, box.Top, box.Width, box.Height);
    painter.save();
    painter.setClipRect(rect, Qt::IntersectClip);
    painter.translate(rect.topLeft());
    painter.fillRect(QRectF(QPointF(0, 0), rect.size()), toQColor(box.BackColor));
    drawPicture(painter, pictures, box.Picture);
    drawContents(painter, form, &box, pictures, exposed);
    painter.restore();
}

void drawContents(QPainter& painter, const rt::Form& form, const rt::PictureBox* container,
                  Pictures& pictures, const QRegion& exposed)
{
    const auto& controls = form.controls();
    for (const rt::Control* control : controls) {
        if (control->container() != container || !exposed.intersects(extentOf(*control)))
            continue;
        switch (control->kind()) {
        case rt::ControlKind::Line:
            if (const auto& line = static_cast<const rt::Line&>(*control); line.Visible)
                drawLine(painter, line);
            break;
        case rt::ControlKind::Shape:
            if (const auto& shape = static_cast<const rt::Shape&>(*control); shape.Visible)
                drawShape(painter, shape);
            break;
        case rt::ControlKind::Label:
            if (const auto& label = static_cast<const rt::Label&>(*control); label.Visible)
                drawLabel(painter, label);
            break;
        default:
            break;
        }
    }
    for (const rt::Control* control : controls) {
        if (control->container() != container || control->kind() != rt::ControlKind::PictureBox ||
            !exposed.intersects(extentOf(*control)))
            continue;
        if (const auto& box = static_cast<const rt::PictureBox&>(*control); box.Visible)
            drawPictureBox(painter, form, box, pictures, exposed);
    }
}

} // namespace

void paintForm(QPainter& painter, const rt::Form& form, Pictures& pictures, const QRegion& exposed)
{
    // Pixel art stays crisp at any device pixel ratio, and edges land on whole pixels.
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.fillRect(pixelRect(0, 0, form.frame().clientWidth, form.frame().clientHeight),
                     toQColor(form.BackColor));
    drawPicture(painter, pictures, form.Picture);
    drawContents(painter, form, nullptr, pictures, exposed);
}

} // namespace rtqt
