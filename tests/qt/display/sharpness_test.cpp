// Runs once per device pixel ratio, taken from QT_SCALE_FACTOR (see tests/CMakeLists.txt).

#include "qt_windows.h"

#include "wave/form1.h"

#include <QPixmap>
#include <QSet>

#include <cmath>

namespace {

double ratio() { return qEnvironmentVariable("QT_SCALE_FACTOR", QStringLiteral("1")).toDouble(); }

// Device pixels [first, last) that the logical pixels [from, to) cover.
int deviceEdge(double logical) { return static_cast<int>(std::floor(logical * ratio())); }

class Sharpness : public QtWindows {
protected:
    // The window as the screen holds it, one pixel per device pixel.
    QImage deviceGrab(const rt::Form& form)
    {
        const QPixmap pixmap = window(form).grab();
        EXPECT_DOUBLE_EQ(pixmap.devicePixelRatio(), ratio());
        QImage image = pixmap.toImage().convertToFormat(QImage::Format_RGB32);
        image.setDevicePixelRatio(1);
        return image;
    }
};

// The backing store holds every device pixel: nothing is drawn at 1x and stretched by the system.
TEST_F(Sharpness, WindowIsDrawnAtTheFullRatio)
{
    const wave::Form1& stage = show<wave::Form1>();
    const QImage image = deviceGrab(stage);
    EXPECT_NEAR(image.width(), 663 * ratio(), 1);
    EXPECT_NEAR(image.height(), 488 * ratio(), 1);
}

// Pictures are scaled without smoothing: inside a sprite, every device pixel is one of the
// picture's own colours, never a blend of two neighbours.
TEST_F(Sharpness, SpritesKeepOnlyTheirOwnColours)
{
    const wave::Form1& stage = show<wave::Form1>();
    const QImage image = deviceGrab(stage);
    struct Sprite {
        const char* picture;
        QPoint at; // the picture box's top-left corner, in logical pixels
    };
    // Enemy(21), the first of the bottom row, and the ship.
    for (const Sprite sprite : {Sprite{"enemy", {8, 200}}, Sprite{"ship", {296, 392}}}) {
        const QImage art = picture(sprite.picture);
        QSet<QRgb> palette;
        for (int y = 0; y < art.height(); ++y)
            for (int x = 0; x < art.width(); ++x)
                palette.insert(art.pixel(x, y));
        int foreign = 0;
        for (int y = deviceEdge(sprite.at.y()); y < deviceEdge(sprite.at.y() + art.height()); ++y)
            for (int x = deviceEdge(sprite.at.x()); x < deviceEdge(sprite.at.x() + art.width());
                 ++x)
                foreign += palette.contains(image.pixel(x, y)) ? 0 : 1;
        EXPECT_EQ(foreign, 0) << sprite.picture << " at ratio " << ratio();
    }
}

// Text is laid out at the device's resolution: glyph edges fall inside the footprint of a
// logical pixel, which a caption drawn at 1x and enlarged could never do.
TEST_F(Sharpness, TextIsDrawnAtTheDevicesResolution)
{
    if (ratio() == 1)
        GTEST_SKIP() << "one device pixel per logical pixel";
    const wave::Form1& stage = show<wave::Form1>();
    const QImage image = deviceGrab(stage);
    // "Score :" in lblScore, at (208, 456), 121 x 25 logical pixels.
    int split = 0;
    for (int y = 456; y < 456 + 25; ++y)
        for (int x = 208; x < 208 + 121; ++x) {
            const QRgb first = image.pixel(deviceEdge(x), deviceEdge(y));
            bool uniform = true;
            for (int dy = deviceEdge(y); dy < deviceEdge(y + 1); ++dy)
                for (int dx = deviceEdge(x); dx < deviceEdge(x + 1); ++dx)
                    uniform = uniform && image.pixel(dx, dy) == first;
            split += uniform ? 0 : 1;
        }
    EXPECT_GT(split, 20) << "at ratio " << ratio();
}

} // namespace
