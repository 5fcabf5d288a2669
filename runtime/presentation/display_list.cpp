#include "runtime/presentation/display_list.h"

#include "runtime/core/controls.h"
#include "runtime/core/form.h"
#include "runtime/presentation/damage.h"
#include "runtime/presentation/draw_order.h"
#include "runtime/presentation/faces.h"
#include "runtime/presentation/pause_banner.h"

#include <algorithm>
#include <cmath>

namespace rt {

namespace {

std::uint32_t rgbOf(Color color)
{
    return static_cast<std::uint32_t>(redOf(color)) << 16 |
           static_cast<std::uint32_t>(greenOf(color)) << 8 |
           static_cast<std::uint32_t>(blueOf(color));
}

RectF moved(RectF rect, PointF by)
{
    rect.left += by.x;
    rect.top += by.y;
    return rect;
}

// A control's box on its window.
RectF boxOf(const BoxControl& control)
{
    return moved(pixelRect(control.Left, control.Top, control.Width, control.Height),
                 originOf(control));
}

bool isSquare(ShapeKind kind)
{
    return kind == ShapeKind::Square || kind == ShapeKind::Circle ||
           kind == ShapeKind::RoundedSquare;
}

draw::Outline outlineOf(ShapeKind kind)
{
    switch (kind) {
    case ShapeKind::Oval:
    case ShapeKind::Circle:
        return draw::Outline::Ellipse;
    case ShapeKind::RoundedRectangle:
    case ShapeKind::RoundedSquare:
        return draw::Outline::RoundedRectangle;
    case ShapeKind::Rectangle:
    case ShapeKind::Square:
        break;
    }
    return draw::Outline::Rectangle;
}

draw::TextAlign alignOf(Align align)
{
    switch (align) {
    case Align::Right:
        return draw::TextAlign::Right;
    case Align::Center:
        return draw::TextAlign::Centre;
    case Align::Left:
        break;
    }
    return draw::TextAlign::Left;
}

bool isEmpty(const RectF& rect) { return rect.width <= 0 || rect.height <= 0; }

// The damaged places merged where they overlap, so no pixel is painted twice in a frame.
std::vector<Rect> disjoint(std::vector<Rect> rects)
{
    for (bool merged = true; merged;) {
        merged = false;
        for (std::size_t i = 0; i < rects.size() && !merged; ++i)
            for (std::size_t j = i + 1; j < rects.size() && !merged; ++j)
                if (rects[i].intersects(rects[j])) {
                    const int left = std::min(rects[i].left, rects[j].left);
                    const int top = std::min(rects[i].top, rects[j].top);
                    const int right = std::max(rects[i].right(), rects[j].right());
                    const int bottom = std::max(rects[i].bottom(), rects[j].bottom());
                    rects[i] = {left, top, right - left, bottom - top};
                    rects.erase(rects.begin() + static_cast<std::ptrdiff_t>(j));
                    merged = true;
                }
    }
    return rects;
}

RectF overlap(const RectF& a, const RectF& b)
{
    const double left = std::max(a.left, b.left);
    const double top = std::max(a.top, b.top);
    return {left, top, std::max(0.0, std::min(a.right(), b.right()) - left),
            std::max(0.0, std::min(a.bottom(), b.bottom()) - top)};
}

// Writes a form's drawing into `list`: layout pixels in, the client area's pixels out.
class Builder {
public:
    Builder(std::vector<draw::Command>& list, const Zoom& zoom) : m_list(&list), m_zoom(zoom) {}

    void clip(const RectF& box) { m_list->push_back(draw::Clip{map(box)}); }
    void unclip() { m_list->push_back(draw::Unclip{}); }

    void fill(const RectF& box, Color color, double opacity = 1)
    {
        fillShape({draw::Outline::Rectangle, map(box), 0}, rgbOf(color), draw::Hatch::Solid,
                  opacity);
    }

    void picture(const std::string& name, PointF at)
    {
        if (!name.empty())
            m_list->push_back(draw::Picture{.name = name, .at = map(at), .scale = m_zoom.factor});
    }

    void line(const rt::Line& line)
    {
        const PointF origin = originOf(line);
        const PointF from{toPixels(line.X1) + origin.x, toPixels(line.Y1) + origin.y};
        const PointF to{toPixels(line.X2) + origin.x, toPixels(line.Y2) + origin.y};
        const double length = std::hypot(to.x - from.x, to.y - from.y);
        if (length == 0)
            return;
        // Half the width across the line, square to it.
        const double half = std::max(1, line.BorderWidth.value()) / 2.0;
        const PointF across{-(to.y - from.y) / length * half, (to.x - from.x) / length * half};
        m_list->push_back(draw::Band{.corners = {map(PointF{from.x + across.x, from.y + across.y}),
                                                 map(PointF{to.x + across.x, to.y + across.y}),
                                                 map(PointF{to.x - across.x, to.y - across.y}),
                                                 map(PointF{from.x - across.x, from.y - across.y})},
                                     .rgb = rgbOf(line.BorderColor)});
    }

    // The border lies inside the box, the fill within it; squares and circles take the smaller
    // side of the box, centred in it, and rounded corners a sixth of the smaller side.
    void shape(const rt::Shape& shape)
    {
        RectF outer = boxOf(shape);
        if (isSquare(shape.Kind)) {
            const double side = std::min(outer.width, outer.height);
            outer = {outer.left + (outer.width - side) / 2, outer.top + (outer.height - side) / 2,
                     side, side};
        }
        if (isEmpty(outer))
            return;
        const draw::Outline outline = outlineOf(shape.Kind);
        const double border = shape.BorderVisible ? std::max(1, shape.BorderWidth.value()) : 0.0;
        const RectF inner{outer.left + border, outer.top + border, outer.width - 2 * border,
                          outer.height - 2 * border};
        const double radius = outline == draw::Outline::RoundedRectangle
                                  ? std::min(outer.width, outer.height) / 6
                                  : 0.0;
        const draw::Shape outerShape{outline, map(outer), radius * m_zoom.factor};
        const draw::Shape innerShape{outline, map(inner),
                                     std::max(0.0, radius - border) * m_zoom.factor};
        if (shape.FillStyle != rt::Fill::Transparent && !isEmpty(inner))
            fillShape(innerShape, rgbOf(shape.FillColor),
                      shape.FillStyle == rt::Fill::DownwardDiagonal ? draw::Hatch::DownwardDiagonal
                                                                    : draw::Hatch::Solid);
        if (border == 0)
            return;
        if (isEmpty(inner))
            fillShape(outerShape, rgbOf(shape.BorderColor));
        else
            m_list->push_back(draw::Ring{
                .outer = outerShape, .inner = innerShape, .rgb = rgbOf(shape.BorderColor)});
    }

    void label(const rt::Label& label)
    {
        const RectF box = boxOf(label);
        if (label.BackStyle == Back::Opaque)
            fill(box, label.BackColor);
        if (label.Caption.value().empty())
            return;
        const Face face = faceOf(label.Font);
        m_list->push_back(draw::Text{.text = label.Caption,
                                     .box = map(box),
                                     .family = face.family,
                                     .px = face.px * m_zoom.factor,
                                     .rgb = rgbOf(label.ForeColor),
                                     .bold = label.Font.Bold,
                                     .align = alignOf(label.Alignment),
                                     .layout = face.lucidaLines ? draw::TextLayout::WrappedEm
                                                                : draw::TextLayout::Wrapped});
    }

    void bannerText(std::string_view text, const Rect& box, int px, std::uint32_t rgb)
    {
        m_list->push_back(draw::Text{.text = std::string(text),
                                     .box = map(toRectF(box)),
                                     .family = std::string(kBannerFamily),
                                     .px = px * m_zoom.factor,
                                     .rgb = rgb,
                                     .bold = true,
                                     .align = draw::TextAlign::Centre,
                                     .layout = draw::TextLayout::Centred});
    }

    void banner(const PauseBanner& banner)
    {
        // The band lets the field show through, so it goes over freshly painted pixels only.
        fill(toRectF(banner.band), rgb(0, 0, 0), kBandOpacity);
        bannerText(kPausedText, banner.word, banner.wordPixels, 0xFFFFFF);
        bannerText(kResumeText, banner.hint, banner.hintPixels, kHintGrey);
    }

private:
    void fillShape(const draw::Shape& shape, std::uint32_t rgb,
                   draw::Hatch hatch = draw::Hatch::Solid, double opacity = 1)
    {
        m_list->push_back(draw::Fill{shape, rgb, hatch, opacity});
    }

    RectF map(const RectF& rect) const { return m_zoom.map(rect); }
    PointF map(PointF point) const
    {
        return {point.x * m_zoom.factor + m_zoom.offset.x,
                point.y * m_zoom.factor + m_zoom.offset.y};
    }

    std::vector<draw::Command>* m_list;
    Zoom m_zoom;
};

using ExposedControls = std::vector<Exposed<Rect>>;

void drawContents(Builder& out, const ExposedControls& controls, const PictureBox* container,
                  const Rect& area)
{
    drawInOrder(controls, container, area,
                Overloaded{[&](const rt::Line& line) { out.line(line); },
                           [&](const rt::Shape& shape) { out.shape(shape); },
                           [&](const rt::Label& label) { out.label(label); },
                           [&](const PictureBox& box) {
                               const RectF rect = boxOf(box);
                               out.clip(rect);
                               out.fill(rect, box.BackColor);
                               out.picture(box.Picture, {rect.left, rect.top});
                               drawContents(out, controls, &box, area);
                               out.unclip();
                           }});
}

} // namespace

std::optional<WidgetKind> widgetKindOf(ControlKind kind)
{
    switch (kind) {
    case ControlKind::CommandButton:
        return WidgetKind::Button;
    case ControlKind::TextBox:
        return WidgetKind::TextBox;
    case ControlKind::ListBox:
        return WidgetKind::ListBox;
    default:
        break;
    }
    return std::nullopt;
}

std::vector<WidgetView> widgetViews(const Form& form, const Zoom& zoom)
{
    std::vector<WidgetView> views;
    const auto& controls = form.controls();
    for (std::size_t i = 0; i < controls.size(); ++i) {
        const ControlKind kind = controls[i]->kind();
        const std::optional<WidgetKind> widget = widgetKindOf(kind);
        if (!widget)
            continue;
        const auto& control = static_cast<const BoxControl&>(*controls[i]);
        WidgetView view;
        view.control = static_cast<int>(i);
        view.kind = *widget;
        view.box = zoom.map(boxOf(control));
        view.shown = control.shownOnWindow();
        const auto useFont = [&view, &zoom](const Font& font) {
            const Face face = faceOf(font);
            view.family = face.family;
            view.px = std::max(1.0, std::round(face.px * zoom.factor));
            view.bold = font.Bold;
        };
        if (kind == ControlKind::CommandButton) {
            const auto& button = static_cast<const CommandButton&>(control);
            view.enabled = button.Enabled;
            view.text = button.Caption;
            useFont(button.Font);
        } else if (kind == ControlKind::TextBox) {
            const auto& box = static_cast<const TextBox&>(control);
            view.text = box.Text;
            useFont(box.Font);
        } else {
            const auto& list = static_cast<const ListBox&>(control);
            for (int row = 0; row < list.ListCount(); ++row)
                view.rows.push_back(list.List(row));
            useFont(list.Font);
        }
        views.push_back(std::move(view));
    }
    return views;
}

std::vector<draw::Command> displayList(const Form& form, const Region& damaged, const Zoom& zoom,
                                       const PauseBanner* banner)
{
    std::vector<Rect> rects(damaged.begin(), damaged.end());
    const bool bannerDamaged =
        banner && std::any_of(rects.begin(), rects.end(),
                              [banner](const Rect& r) { return r.intersects(banner->band); });
    if (bannerDamaged)
        rects.push_back(banner->band);
    const std::vector<Rect> areas = disjoint(std::move(rects));

    ExposedControls controls;
    for (const Control* control : form.controls()) {
        const Rect extent = extentOf(*control);
        if (std::any_of(areas.begin(), areas.end(),
                        [&extent](const Rect& area) { return area.intersects(extent); }))
            controls.push_back({control, extent});
    }
    const RectF client = pixelRect(0, 0, form.frame().clientWidth, form.frame().clientHeight);
    std::vector<draw::Command> list;
    Builder out(list, zoom);
    // A rectangle at a time, each its own clip: a painter's clip of many rectangles costs far
    // more per scan line than the few small changes of a frame.
    for (const Rect& area : areas) {
        out.clip(toRectF(area));
        // Only the area's own pixels: a canvas counts everything a fill covers as changed.
        out.fill(overlap(client, toRectF(area)), form.BackColor);
        out.picture(form.Picture, {0, 0});
        drawContents(out, controls, nullptr, area);
        out.unclip();
    }
    if (bannerDamaged)
        out.banner(*banner);
    return list;
}

} // namespace rt
