#include "support/game_harness.h"

namespace {

class TitleFlow : public GameHarness {
protected:
    // What the program does at start-up.
    void startUp()
    {
        handle([this] { Form2().Show(); });
    }
};

// At start-up only the title is loaded.
TEST_F(TitleFlow, StartUpLoadsOnlyTheTitle)
{
    startUp();
    EXPECT_TRUE(Form2().visible());
    EXPECT_FALSE(loaded<title::Dialog>());
    EXPECT_FALSE(loaded<wave::Form1>());
    EXPECT_FALSE(loaded<boss::Boss>());
    EXPECT_FALSE(loaded<scores::Highscores>());
}

// "Start" shows the name dialog over the title with "New Guy"; a second "Start" reuses it.
TEST_F(TitleFlow, StartShowsOneDialogOverTheTitle)
{
    startUp();
    click(Form2().Start);
    title::Dialog& dialog = Dialog();
    EXPECT_TRUE(dialog.visible());
    EXPECT_TRUE(Form2().visible());
    EXPECT_EQ(dialog.PlayerName.Text, "New Guy");

    dialog.PlayerName.Text = "Ada";
    click(Form2().Start);
    EXPECT_EQ(&Dialog(), &dialog);
    EXPECT_EQ(Dialog().PlayerName.Text, "Ada");
}

// "OK" hides the title, opens the wave stage and hides the dialog, in that order of effect.
TEST_F(TitleFlow, OkOpensTheWaveStage)
{
    wave::Form1& stage = startGame();
    EXPECT_FALSE(Form2().visible());
    EXPECT_FALSE(Dialog().visible());
    EXPECT_TRUE(stage.visible());
    EXPECT_TRUE(stage.tmrAliensRight.Enabled);
}

// The dialog is never unloaded: the name typed for one game is offered for the next.
TEST_F(TitleFlow, LastTypedNameStaysForTheNextGame)
{
    startUp();
    click(Form2().Start);
    Dialog().PlayerName.Text = "Grace";
    click(Dialog().OKButton);
    Form1().Lives.Caption = "-1";
    advanceUs(15'625);
    ASSERT_TRUE(loaded<scores::Highscores>());
    click(Highscores().Command1);
    EXPECT_TRUE(Form2().visible());
    click(Form2().Start);
    EXPECT_EQ(Dialog().PlayerName.Text, "Grace");
}

// Closing the dialog with its frame only hides it; closing the table leaves it as "Exit Scores"
// does; closing the title ends the program.
TEST_F(TitleFlow, ClosingWindowsWithTheirFrame)
{
    startUp();
    click(Form2().Start);
    runtime.close(Dialog());
    EXPECT_TRUE(loaded<title::Dialog>());
    EXPECT_FALSE(Dialog().visible());
    click(Form2().cmdScores);
    runtime.close(Highscores());
    EXPECT_FALSE(loaded<scores::Highscores>());
    EXPECT_TRUE(Form2().visible());
    runtime.close(Form2());
    EXPECT_TRUE(runtime.ended());
}

// A stage closed with its frame ends the program, like the title.
TEST_F(TitleFlow, ClosingAStageEndsTheProgram)
{
    runtime.close(startGame());
    EXPECT_TRUE(runtime.ended());
}

// "EXIT" ends the program even with other windows loaded, and nothing ticks afterwards.
TEST_F(TitleFlow, ExitEndsEverything)
{
    startGame();
    handle([this] { Form2().Show(); });
    click(Form2().Exit);
    EXPECT_TRUE(runtime.ended());
    EXPECT_TRUE(runtime.loadedForms().empty());
    EXPECT_FALSE(runtime.scheduler().nextDue().has_value());
}

} // namespace
