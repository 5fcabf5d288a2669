#include "platforms/web/page_painter.h"

#include "platforms/web/page.h"
#include "runtime/core/color.h"
#include "runtime/core/controls.h"
#include "runtime/core/form.h"
#include "runtime/presentation/damage.h"
#include "runtime/presentation/draw_order.h"
#include "runtime/presentation/faces.h"
#include "runtime/presentation/pause_banner.h"

#include <algorithm>
#include <vector>

namespace rtweb {

namespace {

std::uint32_t rgbOf(rt::Color color)
{
    return (static_cast<std::uint32_t>(rt::redOf(color)) << 16) |
           (static_cast<std::uint32_t>(rt::greenOf(color)) << 8) | rt::blueOf(color);
}

rt::RectF boxOf(const rt::BoxControl& control, double dx, double dy)
{
    rt::RectF box = rt::pixelRect(control.Left, control.Top, control.Width, control.Height);
    box.left += dx;
    box.top += dy;
    return box;
}

bool isSquare(rt::ShapeKind kind)
{
    return kind == rt::ShapeKind::Square || kind == rt::ShapeKind::Circle ||
           kind == rt::ShapeKind::RoundedSquare;
}

void drawShape(const rt::Shape& shape, double dx, double dy)
{
    rt::RectF box = boxOf(shape, dx, dy);
    // Squares and circles take the smaller side of the box, centred in it.
    if (isSquare(shape.Kind)) {
        const double side = std::min(box.width, box.height);
        box = {box.left + (box.width - side) / 2, box.top + (box.height - side) / 2, side, side};
    }
    page::drawShape(box,
                    {.kind = static_cast<int>(shape.Kind.value()),
                     .fillStyle = static_cast<int>(shape.FillStyle.value()),
                     .fillRgb = rgbOf(shape.FillColor),
                     .border = shape.BorderVisible
                                   ? static_cast<double>(std::max(1, shape.BorderWidth.value()))
                                   : 0.0,
                     .borderRgb = rgbOf(shape.BorderColor)});
}

void drawLine(const rt::Line& line, double dx, double dy)
{
    page::drawLine(rt::toPixels(line.X1) + dx, rt::toPixels(line.Y1) + dy,
                   rt::toPixels(line.X2) + dx, rt::toPixels(line.Y2) + dy,
                   std::max(1, line.BorderWidth.value()), rgbOf(line.BorderColor));
}

void drawLabel(const rt::Label& label, double dx, double dy)
{
    const rt::RectF box = boxOf(label, dx, dy);
    if (label.BackStyle == rt::Back::Opaque)
        page::fillRect(box, rgbOf(label.BackColor));
    if (label.Caption.value().empty())
        return;
    const rt::Face face = rt::faceOf(label.Font);
    page::drawText(box, label.Caption,
                   {.fontFamily = face.family,
                    .fontPx = static_cast<double>(face.px),
                    .rgb = rgbOf(label.ForeColor),
                    .align = static_cast<int>(label.Alignment),
                    .fixedLineHeight = face.lucidaLines});
}

using ExposedControls = std::vector<rt::Exposed<rt::Rect>>;

void drawContents(const ExposedControls& controls, const rt::PictureBox* container, double dx,
                  double dy, const rt::Rect& area);

void drawPictureBox(const ExposedControls& controls, const rt::PictureBox& box, double dx,
                    double dy, const rt::Rect& area)
{
    const rt::RectF rect = boxOf(box, dx, dy);
    page::pushClip(rect);
    page::fillRect(rect, rgbOf(box.BackColor));
    if (!box.Picture.value().empty())
        page::drawPicture(box.Picture, rect.left, rect.top);
    drawContents(controls, &box, rect.left, rect.top, area);
    page::popClip();
}

void drawContents(const ExposedControls& controls, const rt::PictureBox* container, double dx,
                  double dy, const rt::Rect& area)
{
    rt::drawInOrder(controls, container, area,
                    rt::Overloaded{[&](const rt::Line& line) { drawLine(line, dx, dy); },
                                   [&](const rt::Shape& shape) { drawShape(shape, dx, dy); },
                                   [&](const rt::Label& label) { drawLabel(label, dx, dy); },
                                   [&](const rt::PictureBox& box) {
                                       drawPictureBox(controls, box, dx, dy, area);
                                   }});
}

// The damaged places merged where they overlap, so no pixel is painted twice in a frame.
std::vector<rt::Rect> disjoint(std::vector<rt::Rect> rects)
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

// The band lets the field show through, so it goes over freshly painted pixels only.
void drawBanner(const rt::PauseBanner& banner)
{
    page::fillRect(rt::toRectF(banner.band), 0x000000, rt::kBandOpacity);
    page::drawBannerText(rt::toRectF(banner.word), rt::kPausedText, rt::kBannerFamily,
                         banner.wordPixels, 0xFFFFFF);
    page::drawBannerText(rt::toRectF(banner.hint), rt::kResumeText, rt::kBannerFamily,
                         banner.hintPixels, rt::kHintGrey);
}

} // namespace

void paintForm(int panel, const rt::Form& form, const rt::Region& damaged,
               const rt::PauseBanner* banner)
{
    std::vector<rt::Rect> damagedRects(damaged.begin(), damaged.end());
    const bool bannerDamaged =
        banner && std::any_of(damagedRects.begin(), damagedRects.end(),
                              [banner](const rt::Rect& r) { return r.intersects(banner->band); });
    if (bannerDamaged)
        damagedRects.push_back(banner->band);
    const std::vector<rt::Rect> areas = disjoint(std::move(damagedRects));
    ExposedControls controls;
    for (const rt::Control* control : form.controls()) {
        const rt::Rect extent = rt::extentOf(*control);
        if (std::any_of(areas.begin(), areas.end(),
                        [&extent](const rt::Rect& area) { return area.intersects(extent); }))
            controls.push_back({control, extent});
    }
    const rt::RectF client =
        rt::pixelRect(0, 0, form.frame().clientWidth, form.frame().clientHeight);
    page::beginPaint(panel);
    // A rectangle at a time, each its own clip.
    for (const rt::Rect& area : areas) {
        page::pushClip(rt::toRectF(area));
        page::fillRect(client, rgbOf(form.BackColor));
        if (!form.Picture.empty())
            page::drawPicture(form.Picture, 0, 0);
        drawContents(controls, nullptr, 0, 0, area);
        page::popClip();
    }
    if (bannerDamaged)
        drawBanner(*banner);
    page::endPaint();
}

} // namespace rtweb
