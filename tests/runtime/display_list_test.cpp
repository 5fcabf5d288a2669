#include "runtime/core/controls.h"
#include "runtime/core/runtime.h"
#include "runtime/presentation/display_list.h"
#include "runtime/presentation/pause_banner.h"

#include <gtest/gtest.h>

#include <variant>

namespace {

namespace draw = rt::draw;

// A 320 x 240 window with a circle in a 40 x 20 box with a 2-pixel border, inside a picture box.
class Window : public rt::Form {
public:
    explicit Window(rt::Runtime& runtime) : rt::Form(runtime, "Window", {4800, 3600, 120, 400})
    {
        Box.place(1500, 1500, 1500, 1500);
        Ring.setContainer(Box);
        Ring.place(150, 0, 600, 300);
        Ring.setStyle({.Kind = rt::ShapeKind::Circle, .BorderVisible = true, .BorderWidth = 2});
    }
    rt::PictureBox Box{*this, "Box"};
    rt::Shape Ring{*this, "Ring"};
};

// Where the circle lands, at twice the size and moved by the window's bands: the smaller side of
// its box, centred, its border inside it, its container's place added.
TEST(DisplayList, ShapesAreSquaredInsetAndPlacedOnTheZoomedWindow)
{
    rt::Runtime runtime;
    const Window& window = runtime.form<Window>();
    const auto list = rt::displayList(window, rt::Rect{0, 0, 320, 240}, {2, {10, 0}}, nullptr);
    const draw::Ring* ring = nullptr;
    const draw::Fill* fill = nullptr;
    for (const draw::Command& command : list) {
        if (std::holds_alternative<draw::Ring>(command))
            ring = &std::get<draw::Ring>(command);
        else if (std::holds_alternative<draw::Fill>(command))
            fill = &std::get<draw::Fill>(command);
    }
    ASSERT_TRUE(ring && fill);
    EXPECT_EQ(ring->outer.outline, draw::Outline::Ellipse);
    EXPECT_EQ(ring->outer.box, (rt::RectF{2 * (100 + 10 + 10) + 10, 2 * 100, 40, 40}));
    EXPECT_EQ(ring->inner.box, (rt::RectF{2 * (100 + 10 + 12) + 10, 2 * 102, 32, 32}));
    EXPECT_EQ(fill->shape.box, ring->inner.box) << "the last fill is the circle's inside";
}

// A paused window's banner: its band is drawn again whole when a change touches any of it, over
// the freshly drawn field, and not at all when no change reaches it.
TEST(DisplayList, TheBannerIsRedrawnWholeOverWhatChanged)
{
    rt::Runtime runtime;
    const Window& window = runtime.form<Window>();
    const rt::PauseBanner banner = rt::pauseBanner({320, 240});
    const auto touched = rt::displayList(window, rt::Rect{0, banner.band.top, 5, 5}, {}, &banner);
    ASSERT_TRUE(std::holds_alternative<draw::Clip>(touched.front()));
    EXPECT_EQ(std::get<draw::Clip>(touched.front()).box, rt::toRectF(banner.band));
    ASSERT_TRUE(std::holds_alternative<draw::Text>(touched.back()));
    EXPECT_EQ(std::get<draw::Text>(touched.back()).layout, draw::TextLayout::Centred);

    const auto elsewhere = rt::displayList(window, rt::Rect{0, 0, 5, 5}, {}, &banner);
    EXPECT_FALSE(std::holds_alternative<draw::Text>(elsewhere.back()));
}

} // namespace
