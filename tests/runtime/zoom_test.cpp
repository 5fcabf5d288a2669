#include "runtime/presentation/zoom.h"

#include <gtest/gtest.h>

namespace {

// The wave stage's layout, 663 x 488 pixels.
constexpr rt::Size kStage{663, 488};

struct FitCase {
    rt::Size client;
    double factor;
    rt::Point offset;
};

class ZoomToFit : public ::testing::TestWithParam<FitCase> {};

// The largest whole factor that fits, centred; below the layout's size, the fraction that fits.
TEST_P(ZoomToFit, PicksTheFactorAndCentresThePicture)
{
    const rt::Zoom zoom = rt::Zoom::toFit(kStage, GetParam().client);
    EXPECT_DOUBLE_EQ(zoom.factor, GetParam().factor);
    EXPECT_EQ(zoom.offset, GetParam().offset);
}

INSTANTIATE_TEST_SUITE_P(
    ClientSizes, ZoomToFit,
    ::testing::Values(FitCase{kStage, 1, {0, 0}},                 // as laid out
                      FitCase{{1326, 976}, 2, {0, 0}},            // exactly twice
                      FitCase{{1325, 976}, 1, {331, 244}},        // a pixel short of it
                      FitCase{{1366, 768}, 1, {351, 140}},        // a laptop, maximised
                      FitCase{{3840, 2160}, 4, {594, 104}},       // 4K, maximised
                      FitCase{{2652, 3000}, 4, {0, 524}},         // tall: bands above, below
                      FitCase{{331, 244}, 331.0 / 663, {0, 0}})); // smaller: shrinks

// A repaint at a fractional zoom covers every pixel the layout's rectangle touches, and mapping
// back from the screen covers at least the layout pixels under it.
TEST(ZoomMapping, RoundsOutBothWays)
{
    const rt::Zoom half{0.5, {10, 0}};
    EXPECT_EQ(half.map(rt::Rect{1, 1, 3, 3}), (rt::Rect{10, 0, 2, 2}));
    EXPECT_EQ(half.unmap(rt::Rect{11, 1, 1, 1}), (rt::Rect{2, 2, 2, 2}));
}

} // namespace
