#include "qt_windows.h"

#include "runtime/core/controls.h"
#include "runtime/core/form.h"

#include <vector>

namespace {

constexpr rt::Color kBlack = rt::rgb(0, 0, 0);
constexpr rt::Color kRed = rt::rgb(255, 0, 0);
constexpr rt::Color kGreen = rt::rgb(0, 255, 0);
constexpr rt::Color kBlue = rt::rgb(0, 0, 255);
constexpr rt::Color kYellow = rt::rgb(255, 255, 0);
constexpr rt::Color kCyan = rt::rgb(0, 255, 255);
constexpr rt::Color kMagenta = rt::rgb(255, 0, 255);
constexpr rt::Color kGrey = rt::rgb(128, 128, 128);

QColor colour(rt::Color c) { return QColor(rt::redOf(c), rt::greenOf(c), rt::blueOf(c)); }

// A 200 x 160 pixel window on black; positions below are in twips, 15 to a pixel.
class Scene : public rt::Form {
public:
    explicit Scene(rt::Runtime& runtime) : Form(runtime, "Scene", {3000, 2400, 60, 450})
    {
        BackColor = kBlack;

        // Laid out before the shape, yet drawn over it: picture boxes come after shapes.
        Cover.place(300, 300, 300, 300);
        Cover.BackColor = kYellow;

        Block.place(150, 150, 900, 600);
        Block.FillStyle = rt::Fill::Solid;
        Block.FillColor = kRed;
        Block.BorderColor = rt::SystemColor::WindowBackground;
        Block.BorderWidth = 2;

        Floor.place(0, 1500, 3000, 1500);
        Floor.BorderColor = kGreen;

        Tag.place(1500, 150, 900, 300);
        Tag.BackColor = kBlue;

        Box.place(1500, 600, 900, 600);
        Box.BackColor = kCyan;
        Inside.setContainer(Box);
        Inside.place(150, 150, 300, 150);
        Inside.BackColor = kGrey;
        Spill.setContainer(Box);
        Spill.place(600, 300, 900, 150);
        Spill.FillStyle = rt::Fill::Solid;
        Spill.FillColor = kMagenta;

        Hidden.place(150, 1800, 600, 450);
        Hidden.BackColor = kBlue;
        Hidden.Visible = false;
        Ghost.setContainer(Hidden);
        Ghost.place(0, 0, 300, 300);
        Ghost.FillStyle = rt::Fill::Solid;
        Ghost.FillColor = kMagenta;
    }

    rt::PictureBox Cover{*this, "Cover"};
    rt::Shape Block{*this, "Block"};
    rt::Line Floor{*this, "Floor"};
    rt::Label Tag{*this, "Tag"};
    rt::PictureBox Box{*this, "Box"};
    rt::Label Inside{*this, "Inside"};
    rt::Shape Spill{*this, "Spill"};
    rt::PictureBox Hidden{*this, "Hidden"};
    rt::Shape Ghost{*this, "Ghost"};
};

using Painting = QtWindows;

// The window's back colour, a picture box's, an opaque label's, a shape's fill and a line.
TEST_F(Painting, EachControlPaintsItsOwnColourAtItsPlace)
{
    const Scene& scene = show<Scene>();
    const QImage image = grab(scene);
    ASSERT_EQ(image.size(), QSize(200, 160));

    EXPECT_EQ(at(image, 2900, 2300), colour(kBlack));
    EXPECT_EQ(at(image, 2000, 1100), colour(kCyan)) << "picture box";
    EXPECT_EQ(at(image, 2200, 200), colour(kBlue)) << "opaque label";
    EXPECT_EQ(at(image, 900, 600), colour(kRed)) << "shape fill";
    EXPECT_EQ(image.pixelColor(50, 100), colour(kGreen)) << "line";
    EXPECT_EQ(image.pixelColor(50, 99), colour(kBlack));
    EXPECT_EQ(image.pixelColor(50, 101), colour(kBlack));
}

// Picture boxes are drawn after the container's shapes, whatever the layout order.
TEST_F(Painting, PictureBoxCoversShapeLaidOutBeforeIt)
{
    const Scene& scene = show<Scene>();
    EXPECT_EQ(at(grab(scene), 450, 450), colour(kYellow));
}

// A border of N pixels lies inside the shape's box; the fill starts where it ends.
TEST_F(Painting, ShapeBorderIsDrawnInsideTheBox)
{
    const QImage image = grab(show<Scene>());
    // Block spans pixels 10..69 across, with a 2-pixel border.
    EXPECT_EQ(image.pixelColor(9, 30), colour(kBlack));
    EXPECT_EQ(image.pixelColor(10, 30), Qt::white);
    EXPECT_EQ(image.pixelColor(11, 30), Qt::white);
    EXPECT_EQ(image.pixelColor(12, 30), colour(kRed));
    EXPECT_EQ(image.pixelColor(67, 30), colour(kRed));
    EXPECT_EQ(image.pixelColor(68, 30), Qt::white);
    EXPECT_EQ(image.pixelColor(69, 30), Qt::white);
    EXPECT_EQ(image.pixelColor(70, 30), colour(kBlack));
}

// Contents sit relative to their picture box, are clipped to it, and vanish with it.
TEST_F(Painting, PictureBoxContentsAreRelativeClippedAndHiddenWithIt)
{
    Scene& scene = show<Scene>();
    QImage image = grab(scene);
    EXPECT_EQ(at(image, 1500 + 150 + 10, 600 + 150 + 10), colour(kGrey)) << "label in the box";
    EXPECT_EQ(at(image, 1500 + 700, 600 + 350), colour(kMagenta)) << "shape in the box";
    EXPECT_EQ(at(image, 1500 + 950, 600 + 350), colour(kBlack)) << "shape past the box's edge";
    EXPECT_EQ(at(image, 200, 1850), colour(kBlack)) << "shape in a hidden box";

    scene.Box.Visible = false;
    image = grab(scene);
    EXPECT_EQ(at(image, 1500 + 150 + 10, 600 + 150 + 10), colour(kBlack));
    EXPECT_EQ(at(image, 1500 + 700, 600 + 350), colour(kBlack));
}

class Shapes : public rt::Form {
public:
    explicit Shapes(rt::Runtime& runtime) : Form(runtime, "Shapes", {1800, 600, 60, 450})
    {
        BackColor = kBlack;
        Hatch.place(900, 0, 600, 600);
        Hatch.FillStyle = rt::Fill::DownwardDiagonal;
        Hatch.FillColor = kGreen;
        Hatch.BorderVisible = false;
    }
    rt::Shape Hatch{*this, "Hatch"};
};

// Downward diagonal hatching runs from top-left to bottom-right, over a see-through back.
TEST_F(Painting, DownwardDiagonalHatchRunsDownToTheRight)
{
    const QImage image = grab(show<Shapes>());
    int lit = 0;
    int dark = 0;
    for (int y = 2; y < 37; ++y)
        for (int x = 62; x < 97; ++x) {
            if (image.pixelColor(x, y) != colour(kGreen)) {
                dark += image.pixelColor(x, y) == colour(kBlack);
                continue;
            }
            ++lit;
            EXPECT_EQ(image.pixelColor(x + 1, y + 1), colour(kGreen)) << x << "," << y;
            EXPECT_NE(image.pixelColor(x + 1, y - 1), colour(kGreen)) << x << "," << y;
        }
    EXPECT_GT(lit, 20);
    EXPECT_GT(dark, lit);
}

class Captions : public rt::Form {
public:
    explicit Captions(rt::Runtime& runtime) : Form(runtime, "Captions", {3000, 1500, 60, 450})
    {
        BackColor = kBlack;
        Short.place(0, 0, 1500, 1500);
        Short.Caption = "Hi";
        Short.ForeColor = rt::SystemColor::HighlightText;
        Short.BackStyle = rt::Back::Transparent;
        Short.Alignment = rt::Align::Right;
        Long.place(1500, 0, 1500, 1500);
        Long.Caption = "many words wrap onto several lines in a narrow label";
        Long.BackColor = kBlue;
        Long.ForeColor = rt::SystemColor::HighlightText;
    }
    rt::Label Short{*this, "Short"};
    rt::Label Long{*this, "Long"};
};

// How many pixels of a region are not `background`: where text was drawn.
int inked(const QImage& image, const QRect& region, const QColor& background)
{
    int count = 0;
    for (int y = region.top(); y <= region.bottom(); ++y)
        for (int x = region.left(); x <= region.right(); ++x)
            count += image.pixelColor(x, y) != background;
    return count;
}

// Captions sit at the top of their box, aligned across it, and wrap at word breaks.
TEST_F(Painting, LabelCaptionsAreTopAlignedAndWrapped)
{
    const QImage image = grab(show<Captions>());
    const QColor black = colour(kBlack);
    EXPECT_GT(inked(image, QRect(50, 0, 50, 25), black), 0) << "right-aligned, at the top";
    EXPECT_EQ(inked(image, QRect(0, 0, 50, 100), black), 0) << "nothing on the left";
    EXPECT_EQ(inked(image, QRect(0, 50, 100, 50), black), 0) << "nothing at the bottom";
    EXPECT_GT(inked(image, QRect(100, 30, 100, 20), colour(kBlue)), 0) << "a wrapped line";
}

} // namespace

class Lettering : public rt::Form {
public:
    explicit Lettering(rt::Runtime& runtime) : Form(runtime, "Lettering", {1500, 3000, 60, 450})
    {
        BackColor = kBlack;
        Stacked.place(0, 0, 750, 3000); // room for one letter a line
        Stacked.Caption = "H H";
        Stacked.Font = {"Lucida Console", 36}; // 48 pixels
        Stacked.BackStyle = rt::Back::Transparent;
        Stacked.ForeColor = rt::SystemColor::HighlightText;
    }
    rt::Label Stacked{*this, "Stacked"};
};

// Lucida Console captions keep that face's lines: baselines at 0.79 em, then 1 em apart,
// so the game's captions fit their boxes with the wider-spaced face that stands in for it.
TEST_F(Painting, LucidaConsoleLinesAreOneEmApart)
{
    const QImage image = grab(show<Lettering>());
    std::vector<int> baselines;
    bool inkAbove = false;
    for (int y = 0; y < image.height(); ++y) {
        const bool ink = inked(image, QRect(0, y, image.width(), 1), colour(kBlack)) > 0;
        if (inkAbove && !ink)
            baselines.push_back(y);
        inkAbove = ink;
    }
    ASSERT_EQ(baselines.size(), 2u);
    EXPECT_NEAR(baselines[0], 0.79 * 48, 1.5);
    EXPECT_NEAR(baselines[1] - baselines[0], 48, 1.0);
}
