#include "qt_windows.h"

#include "title/dialog.h"
#include "title/form2.h"
#include "wave/form1.h"

namespace {

const QColor kBlack(0, 0, 0);
const QColor kFloorGrey(0xE0, 0xE0, 0xE0);
const QColor kShotRed(0xFF, 0, 0);

using GameWindows = QtWindows;

// The stage as it opens: an enemy's picture unscaled at its box's corner, black beyond it,
// and the floor line two pixels thick at 6720 twips.
TEST_F(GameWindows, StageDrawsEnemiesAndFloor)
{
    const wave::Form1& stage = show<wave::Form1>();
    const QImage image = grab(stage);
    ASSERT_EQ(image.size(), QSize(663, 488));

    const QImage enemy = picture("enemy");
    ASSERT_EQ(enemy.size(), QSize(30, 30));
    ASSERT_NE(enemy.pixelColor(15, 15), kBlack);
    // Enemy(21) is the first of the bottom row, its box at pixel (8, 200), 32 across.
    EXPECT_EQ(image.pixelColor(8 + 15, 200 + 15), enemy.pixelColor(15, 15));
    EXPECT_EQ(image.pixelColor(8 + 3, 200 + 27), enemy.pixelColor(3, 27));
    EXPECT_EQ(image.pixelColor(8 + 31, 200 + 15), kBlack) << "the box beyond its picture";

    EXPECT_EQ(image.pixelColor(100, 448), kFloorGrey);
    EXPECT_EQ(image.pixelColor(100, 445), kBlack);
    EXPECT_EQ(image.pixelColor(100, 451), kBlack);
}

// A spent shot is parked in the status strip at its slot's place, drawn as a red oval.
TEST_F(GameWindows, SpentShotIsDrawnParkedInTheStrip)
{
    wave::Form1& stage = show<wave::Form1>();
    press(stage, Qt::Key_Space);
    ASSERT_LT(stage.Lasers(0).Top.value(), 6840);
    ASSERT_TRUE(advanceUntil([&] { return stage.Lasers(0).Top == 6840; }, 5000));
    ASSERT_EQ(stage.Lasers(0).Left.value(), 0);
    // Shot 0 parks at (0, 6840), 9 x 25 pixels.
    const QImage image = grab(stage);
    EXPECT_EQ(image.pixelColor(4, 468), kShotRed);
    EXPECT_EQ(image.pixelColor(12, 468), kBlack);
}

// Enter on a fresh title presses its first button, "Start", which opens the name dialog
// where its layout puts it.
TEST_F(GameWindows, EnterOnTheTitleOpensTheNameDialog)
{
    const title::Form2& titleWindow = show<title::Form2>();
    const QImage art = picture("title");
    ASSERT_FALSE(art.isNull());
    EXPECT_EQ(grab(titleWindow).pixelColor(5, 5), art.pixelColor(5, 5));

    press(titleWindow, Qt::Key_Return);
    ASSERT_TRUE(runtime.isLoaded<title::Dialog>());
    const title::Dialog& dialog = runtime.form<title::Dialog>();
    EXPECT_TRUE(dialog.visible());
    QWidget& dialogWindow = window(dialog);
    EXPECT_TRUE(dialogWindow.isVisible());
    EXPECT_EQ(dialogWindow.geometry().topLeft(), QPoint(2760 / 15, 3750 / 15));
    EXPECT_TRUE(dialogWindow.windowFlags().testFlag(Qt::Tool));
}

} // namespace
