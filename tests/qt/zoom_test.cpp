#include "paint_regions.h"
#include "qt_windows.h"

#include "runtime/core/controls.h"
#include "runtime/core/form.h"
#include "title/dialog.h"
#include "title/form2.h"
#include "wave/form1.h"

#include <QPaintEvent>
#include <QPushButton>

namespace {

// A small form whose dot moves: 100 x 100 pixels, the dot at (10, 10), 10 across.
class Marker : public rt::Form {
public:
    explicit Marker(rt::Runtime& runtime) : Form(runtime, "Marker", {1500, 1500, 60, 450})
    {
        BackColor = rt::rgb(0, 0, 255);
        Dot.place(150, 150, 150, 150);
        Dot.FillStyle = rt::Fill::Solid;
        Dot.FillColor = rt::rgb(255, 0, 0);
    }
    rt::Shape Dot{*this, "Dot"};
};

using ZoomedWindows = QtWindows;

// Made larger, the stage draws its layout at a whole factor with black bands around it; the game
// still reads the window's size from the layout.
TEST_F(ZoomedWindows, StageScalesToFitAndLetterboxesInBlack)
{
    wave::Form1& stage = show<wave::Form1>();
    const float width = stage.Width;
    const float height = stage.Height;
    window(stage).resize(1400, 1000); // zoom 2, the picture at (37, 12)
    const QImage image = grab(stage);
    ASSERT_EQ(image.size(), QSize(1400, 1000));

    // Enemy(21)'s picture at (8, 200): each of its pixels becomes a 2 x 2 block.
    const QImage enemy = picture("enemy");
    for (const QPoint d : {QPoint(0, 0), QPoint(1, 0), QPoint(0, 1), QPoint(1, 1)})
        EXPECT_EQ(image.pixelColor(QPoint(37 + 2 * (8 + 15), 12 + 2 * (200 + 15)) + d),
                  enemy.pixelColor(15, 15));
    // The floor line at 448 spans the picture and stops at its edges.
    const QColor floor(0xE0, 0xE0, 0xE0);
    EXPECT_EQ(image.pixelColor(37, 12 + 896), floor);
    EXPECT_EQ(image.pixelColor(37 + 1325, 12 + 896), floor);
    EXPECT_EQ(image.pixelColor(36, 12 + 896), QColor(Qt::black)) << "left band";
    EXPECT_EQ(image.pixelColor(37 + 1326, 12 + 896), QColor(Qt::black)) << "right band";

    EXPECT_EQ(stage.Width.value(), width);
    EXPECT_EQ(stage.Height.value(), height);
}

// The title can be resized like any main window; the name dialog keeps its fixed frame.
TEST_F(ZoomedWindows, TitleIsResizableAndDialogIsNot)
{
    const title::Form2& title = show<title::Form2>();
    const title::Dialog& dialog = show<title::Dialog>();
    EXPECT_NE(window(title).minimumSize(), window(title).maximumSize());
    EXPECT_EQ(window(dialog).minimumSize(), window(dialog).maximumSize());
}

// The title's real buttons grow with the picture: place, size and face.
TEST_F(ZoomedWindows, ButtonsScaleWithThePicture)
{
    const title::Form2& title = show<title::Form2>();
    auto* start = window(title).findChild<QPushButton*>(QStringLiteral("Start"));
    ASSERT_NE(start, nullptr);
    const QRect laidOut = start->geometry();
    const int face = start->font().pixelSize();

    window(title).resize(3 * 509, 3 * 382);
    EXPECT_EQ(start->geometry(), QRect(3 * laidOut.topLeft(), 3 * laidOut.size()));
    EXPECT_EQ(start->font().pixelSize(), 3 * face);

    window(title).resize(509, 382);
    EXPECT_EQ(start->geometry(), laidOut) << "back at the layout's size";
}

// At zoom 3 a moved control repaints its old and new places, scaled, and nothing else.
TEST_F(ZoomedWindows, MovedControlRepaintsOnlyItsScaledPlaces)
{
    Marker& form = show<Marker>();
    window(form).resize(300, 300);
    PaintRegions regions;
    window(form).installEventFilter(&regions);
    advance(100);
    regions.painted = {};

    runtime.dispatch([&] { form.Dot.Left = 450; }); // from x 10 to x 30
    advance(60);
    const QRect painted = regions.painted.boundingRect();
    EXPECT_TRUE(painted.contains(QRect(30, 30, 90, 30))) << "old and new place, scaled";
    EXPECT_FALSE(painted.intersects(QRect(150, 150, 30, 30))) << "far from the dot";

    const QImage image = grab(form);
    EXPECT_EQ(image.pixelColor(95, 35), QColor(255, 0, 0)) << "the dot at its new place";
    EXPECT_EQ(image.pixelColor(35, 35), QColor(0, 0, 255)) << "the old place cleared";
}

} // namespace
