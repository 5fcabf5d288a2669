#include "qt_windows.h"

#include "boss/boss.h"
#include "runtime/core/files.h"
#include "scores/highscores.h"
#include "title/dialog.h"
#include "title/form2.h"
#include "wave/form1.h"

#include <QLineEdit>

#include <cstdio>
#include <memory>

namespace {

// The most game time a scripted game may take before it counts as stuck.
constexpr int kLongestGameMs = 30 * 60 * 1000;
// The player's script: a step of this long, firing on every one, turning every few.
constexpr int kStepMs = 100;
constexpr int kStepsEachWay = 12;

// A whole game on the real windows, from the title through play to the table and back, every
// window painted, typed into and closed as a player would. Run under the dev build's
// LeakSanitizer, it shows that nothing a game makes outlives it.
class FullGame : public QtWindows {
protected:
    FullGame()
    {
        auto files = std::make_unique<rt::MemoryFileStore>();
        m_files = files.get();
        runtime.setFiles(std::move(files));
    }
    rt::MemoryFileStore* m_files;
};

// A lost game lands in the table under the name typed, in the file too, and "Exit Scores" then
// "EXIT" end the program.
TEST_F(FullGame, ScriptedGameEndsInTheTableAndTheProgramEnds)
{
    auto& title = show<title::Form2>();
    press(title, Qt::Key_Return);
    auto& dialog = runtime.form<title::Dialog>();
    auto* box = window(dialog).findChild<QLineEdit*>();
    ASSERT_NE(box, nullptr);
    box->selectAll();
    QTest::keyClicks(box, QStringLiteral("Scripted"));
    advance();
    ASSERT_EQ(dialog.PlayerName.Text.value(), "Scripted");
    runtime.click(dialog.OKButton);
    advance();
    ASSERT_TRUE(runtime.isLoaded<wave::Form1>());

    int step = 0;
    for (; !runtime.isLoaded<scores::Highscores>() && step * kStepMs < kLongestGameMs; ++step) {
        const bool onBoss = runtime.isLoaded<boss::Boss>() && runtime.form<boss::Boss>().visible();
        const rt::Form& stage = onBoss ? static_cast<const rt::Form&>(runtime.form<boss::Boss>())
                                       : runtime.form<wave::Form1>();
        press(stage, Qt::Key_Space);
        press(stage, (step / kStepsEachWay) % 2 == 0 ? Qt::Key_Left : Qt::Key_Right);
        advance(kStepMs);
    }
    ASSERT_TRUE(runtime.isLoaded<scores::Highscores>())
        << "no game over in " << step * kStepMs << " ms";
    auto& table = runtime.form<scores::Highscores>();
    int row = 0;
    while (row < table.Names.ListCount() && table.Names.List(row).value() != "Scripted")
        ++row;
    ASSERT_LT(row, table.Names.ListCount()) << "the game scored " << table.Score.List(0).value();
    std::printf("game over after %d s of play, %s points\n", step * kStepMs / 1000,
                table.Score.List(row).value().c_str());
    EXPECT_NE(m_files->files["highscores"].find("\"Scripted\"\r\n"), std::string::npos);

    runtime.click(table.Command1);
    advance();
    EXPECT_TRUE(title.visible());
    runtime.click(title.Exit);
    advance();
    EXPECT_TRUE(runtime.ended());
}

} // namespace
