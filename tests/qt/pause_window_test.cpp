#include "qt_windows.h"

#include "runtime/presentation/pause_banner.h"
#include "wave/form1.h"

#include <QApplication>

namespace {

using PauseWindow = QtWindows;

// White pixels where the banner writes its word: the word is white, the field under it is not.
int whiteInWord(const QImage& image)
{
    const rt::Rect word = rt::pauseBanner({image.width(), image.height()}).word;
    int white = 0;
    for (int y = word.top; y < word.bottom(); ++y)
        for (int x = word.left; x < word.right(); ++x)
            white += image.pixelColor(x, y) == Qt::white;
    return white;
}

// The stage pauses when another window takes the keyboard focus: the banner is drawn over the
// field and stays until P; the march stands still meanwhile.
TEST_F(PauseWindow, FocusLostPausesTheStageUnderItsBannerUntilP)
{
    wave::Form1& stage = show<wave::Form1>();
    QWidget& stageWindow = window(stage);
    QApplication::setActiveWindow(&stageWindow);
    advance();
    const int whiteBefore = whiteInWord(grab(stage));

    QWidget elsewhere;
    elsewhere.show();
    QApplication::setActiveWindow(&elsewhere);
    advance();
    ASSERT_EQ(runtime.pausedForm(), &stage);
    EXPECT_GT(whiteInWord(grab(stage)), whiteBefore + 200);
    const float left = stage.Enemy(0).Left;
    advance(2000);
    EXPECT_EQ(stage.Enemy(0).Left.value(), left);

    press(stage, Qt::Key_P);
    advance();
    EXPECT_EQ(runtime.pausedForm(), nullptr);
    EXPECT_EQ(whiteInWord(grab(stage)), whiteBefore);
    advance(2000);
    EXPECT_NE(stage.Enemy(0).Left.value(), left);
}

// Minimising the stage pauses it too.
TEST_F(PauseWindow, MinimisingPausesTheStage)
{
    wave::Form1& stage = show<wave::Form1>();
    window(stage).showMinimized();
    advance();
    EXPECT_EQ(runtime.pausedForm(), &stage);
}

} // namespace
