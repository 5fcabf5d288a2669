#pragma once

#include <algorithm>
#include <cmath>
#include <vector>

namespace rt {

// Twips per device-independent pixel (96 dpi): every front end draws a window's layout at this
// scale before its zoom.
inline constexpr double kTwipsPerPixel = 15;

inline double toPixels(float twips) { return twips / kTwipsPerPixel; }

struct Point {
    int x = 0;
    int y = 0;
    bool operator==(const Point&) const = default;
};

struct PointF {
    double x = 0;
    double y = 0;
    bool operator==(const PointF&) const = default;
};

struct Size {
    int width = 0;
    int height = 0;
    bool isEmpty() const { return width <= 0 || height <= 0; }
    bool operator==(const Size&) const = default;
};

// A rectangle of whole pixels; right() and bottom() are just past its last column and row.
struct Rect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;

    int right() const { return left + width; }
    int bottom() const { return top + height; }
    bool isEmpty() const { return width <= 0 || height <= 0; }
    bool intersects(const Rect& other) const
    {
        return !isEmpty() && !other.isEmpty() && left < other.right() && other.left < right() &&
               top < other.bottom() && other.top < bottom();
    }
    bool operator==(const Rect&) const = default;
};

// A rectangle in fractions of a pixel, as a layout's twips map to pixels.
struct RectF {
    double left = 0;
    double top = 0;
    double width = 0;
    double height = 0;

    double right() const { return left + width; }
    double bottom() const { return top + height; }
    bool operator==(const RectF&) const = default;
};

inline RectF toRectF(const Rect& r)
{
    return {static_cast<double>(r.left), static_cast<double>(r.top), static_cast<double>(r.width),
            static_cast<double>(r.height)};
}

// Twips to pixels.
inline RectF pixelRect(float left, float top, float width, float height)
{
    return {toPixels(left), toPixels(top), toPixels(width), toPixels(height)};
}

// The whole pixels a rectangle touches.
inline Rect roundedOut(const RectF& rect)
{
    const int left = static_cast<int>(std::floor(std::min(rect.left, rect.right())));
    const int top = static_cast<int>(std::floor(std::min(rect.top, rect.bottom())));
    const int right = static_cast<int>(std::ceil(std::max(rect.left, rect.right())));
    const int bottom = static_cast<int>(std::ceil(std::max(rect.top, rect.bottom())));
    return {left, top, right - left, bottom - top};
}

// Where to repaint: rectangles that may overlap, since each front end merges them the way its
// drawing library likes.
class Region {
public:
    Region() = default;
    Region(const Rect& rect)
    {
        add(rect);
    } // NOLINT(google-explicit-constructor): a rect is a region

    void add(const Rect& rect)
    {
        if (!rect.isEmpty())
            m_rects.push_back(rect);
    }
    bool isEmpty() const { return m_rects.empty(); }
    const std::vector<Rect>& rects() const { return m_rects; }
    auto begin() const { return m_rects.begin(); }
    auto end() const { return m_rects.end(); }

private:
    std::vector<Rect> m_rects;
};

} // namespace rt
