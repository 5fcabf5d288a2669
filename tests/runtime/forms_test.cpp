#include "runtime/core/controls.h"
#include "runtime/core/runtime.h"
#include "runtime/text/counter.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

constexpr rt::FormFrame kFrame{4800, 3600, 120, 400};

// What the test windows did, in order; every test starts with it empty.
std::vector<std::string> journal;

// A stage: a score counter and a 100 ms timer that counts it up, both from the layout.
class Stage : public rt::Form {
public:
    explicit Stage(rt::Runtime& runtime) : rt::Form(runtime, "Stage", kFrame)
    {
        KeyPreview = true;
        Score.Caption = "0";
        tmrMarch.setUp({.Interval = 100, .Enabled = true, .handler = [this] {
                            journal.push_back("Stage.tick");
                            rt::setCounter(Score, rt::counter(Score) + 1);
                        }});
        Quit.onClick = [this] { quitAndTidyUp(); };
    }

    void Form_Load() override { journal.push_back("Stage.load"); }
    void Form_KeyDown(int KeyCode, int) override
    {
        journal.push_back("Stage.key " + std::to_string(KeyCode));
    }

    // Unloads its own window, then goes on with its controls as a handler may.
    void quitAndTidyUp()
    {
        Unload(*this);
        noteTimer();
        rt::setCounter(Score, rt::counter(Score) + 1000);
        tmrMarch.Enabled = false;
        tmrMarch.Enabled = true;
        noteTimer();
    }

    void noteTimer()
    {
        const bool armed = runtime().scheduler().armed(tmrMarch);
        journal.push_back("Stage.quit " + Score.Caption.value() + (armed ? " armed" : " stopped"));
    }

    rt::Label Score{*this, "Score"};
    rt::Timer tmrMarch{*this, "tmrMarch"};
    rt::CommandButton Quit{*this, "Quit"};
};

// A title window whose Start button reaches the stage.
class Title : public rt::Form {
public:
    explicit Title(rt::Runtime& runtime) : rt::Form(runtime, "Title", kFrame)
    {
        Start.onClick = [this] {
            journal.push_back("Title.start");
            rt::Form& stage = this->runtime().form<Stage>();
            journal.push_back(stage.visible() ? "Stage shown" : "Stage hidden");
        };
        tmrIdle.setUp({.Interval = 100, .Enabled = false, .handler = [] {}});
    }

    void Form_Load() override { journal.push_back("Title.load"); }

    rt::CommandButton Start{*this, "Start"};
    rt::Label Hint{*this, "Hint"};
    rt::Timer tmrIdle{*this, "tmrIdle"};
};

// A window whose load throws out the title: shown from the title's own handler.
class Takeover : public rt::Form {
public:
    explicit Takeover(rt::Runtime& runtime) : rt::Form(runtime, "Takeover", kFrame) {}

    void Form_Load() override
    {
        journal.push_back("Takeover.load");
        Unload(runtime().form<Title>());
    }
};

class FormTest : public ::testing::Test {
protected:
    void SetUp() override { journal.clear(); }

    // A window on screen, as a window must be to take the player's input.
    template <class F> F& shown()
    {
        runtime.dispatch([this] { runtime.form<F>().Show(); });
        return runtime.form<F>();
    }

    rt::Runtime runtime;
};

using FormLoading = FormTest;

// The first reference builds the window and runs Form_Load; later ones return the same window.
TEST_F(FormLoading, FirstReferenceLoadsOnce)
{
    Stage& first = runtime.form<Stage>();
    Stage& second = runtime.form<Stage>();
    EXPECT_EQ(&first, &second);
    EXPECT_EQ(journal, (std::vector<std::string>{"Stage.load"}));
    EXPECT_FALSE(first.visible());
}

// A reference from a handler loads the window hidden, its Form_Load done before the reference
// returns.
TEST_F(FormLoading, ReferenceFromAHandlerLoadsHidden)
{
    Title& title = shown<Title>();
    runtime.click(title.Start);
    const std::vector<std::string> expected = {"Title.load", "Title.start", "Stage.load",
                                               "Stage hidden"};
    EXPECT_EQ(journal, expected);
}

using FormUnloading = FormTest;

// Unloading stops the window's timers at once; the next reference builds it from its layout.
TEST_F(FormUnloading, NextReferenceBuildsAFreshWindow)
{
    Stage& stage = runtime.form<Stage>();
    runtime.scheduler().advance(250);
    ASSERT_EQ(stage.Score.Caption, "2");
    stage.Unload(stage);
    EXPECT_FALSE(runtime.isLoaded<Stage>());
    EXPECT_FALSE(runtime.scheduler().nextDue());
    runtime.scheduler().advance(1000);

    Stage& fresh = runtime.form<Stage>();
    EXPECT_EQ(fresh.Score.Caption, "0");
    EXPECT_EQ(runtime.scheduler().nextDue(), 1'350'000);
    const std::vector<std::string> expected = {"Stage.load", "Stage.tick", "Stage.tick",
                                               "Stage.load"};
    EXPECT_EQ(journal, expected);
}

// A handler that unloads its own window runs to its end on a live window; its timer stays off.
TEST_F(FormUnloading, HandlerOutlivesTheUnloadOfItsOwnWindow)
{
    runtime.click(shown<Stage>().Quit);
    EXPECT_FALSE(runtime.isLoaded<Stage>());
    EXPECT_FALSE(runtime.scheduler().nextDue());
    const std::vector<std::string> expected = {"Stage.load", "Stage.quit 0 stopped",
                                               "Stage.quit 1000 stopped"};
    EXPECT_EQ(journal, expected);
}

// The same from a tick: the window goes only once the tick's handler has returned.
TEST_F(FormUnloading, TickOutlivesTheUnloadOfItsOwnWindow)
{
    Stage& stage = runtime.form<Stage>();
    stage.tmrMarch.onTick = [&stage] { stage.quitAndTidyUp(); };
    runtime.scheduler().advance(500);
    EXPECT_FALSE(runtime.isLoaded<Stage>());
    const std::vector<std::string> expected = {"Stage.load", "Stage.quit 0 stopped",
                                               "Stage.quit 1000 stopped"};
    EXPECT_EQ(journal, expected);
}

// A Show whose Form_Load unloads the caller hands back to the caller's handler, which finishes.
TEST_F(FormUnloading, NestedShowMayUnloadTheCaller)
{
    Title& title = shown<Title>();
    title.Start.onClick = [&title] {
        title.runtime().form<Takeover>().Show();
        title.Hint.Caption = "still here";
        title.Start.Enabled = false;
        journal.push_back("Title.after show: " + title.Hint.Caption.value());
    };
    runtime.click(title.Start);
    EXPECT_FALSE(runtime.isLoaded<Title>());
    EXPECT_TRUE(runtime.form<Takeover>().visible());
    EXPECT_EQ(journal, (std::vector<std::string>{"Title.load", "Takeover.load",
                                                 "Title.after show: still here"}));
}

// A window unloaded by an earlier tick at the same instant does not tick.
TEST_F(FormUnloading, WindowUnloadedAtTheSameInstantDoesNotTick)
{
    Title& title = runtime.form<Title>();
    title.tmrIdle.onTick = [&title] {
        journal.push_back("Title.tick");
        title.Unload(title.runtime().form<Stage>());
    };
    title.tmrIdle.Enabled = true;
    runtime.form<Stage>();
    runtime.scheduler().advance(100);
    EXPECT_EQ(journal, (std::vector<std::string>{"Title.load", "Stage.load", "Title.tick"}));
}

using EndOfGame = FormTest;

// End unloads every window and stops every timer; no handler runs after it, not even a load.
TEST_F(EndOfGame, NothingRunsAfterEnd)
{
    Stage& stage = runtime.form<Stage>();
    runtime.form<Title>();
    stage.tmrMarch.onTick = [&stage] {
        journal.push_back("Stage.end");
        stage.End();
    };
    runtime.scheduler().advance(1000);
    EXPECT_TRUE(runtime.ended());
    EXPECT_TRUE(runtime.loadedForms().empty());
    EXPECT_FALSE(runtime.scheduler().nextDue());

    Title& late = runtime.form<Title>();
    runtime.click(late.Start);
    runtime.keyDown(runtime.form<Stage>(), 32, 0);
    runtime.scheduler().advance(1000);
    EXPECT_FALSE(runtime.scheduler().nextDue());
    EXPECT_EQ(journal, (std::vector<std::string>{"Stage.load", "Title.load", "Stage.end"}));
}

using PlayerInput = FormTest;

// A disabled window gets no key presses; enabled again, it does.
TEST_F(PlayerInput, DisabledWindowGetsNoKeys)
{
    Stage& stage = runtime.form<Stage>();
    stage.Show();
    stage.Enabled = false;
    runtime.keyDown(stage, 37, 0);
    stage.Enabled = true;
    runtime.keyDown(stage, 39, 1);
    EXPECT_EQ(journal, (std::vector<std::string>{"Stage.load", "Stage.key 39"}));
}

// Only a window on screen takes keys: one loaded but never shown, or hidden again, gets none.
TEST_F(PlayerInput, HiddenWindowGetsNoKeys)
{
    Stage& stage = runtime.form<Stage>();
    runtime.keyDown(stage, 37, 0);
    stage.Show();
    runtime.keyDown(stage, 38, 0);
    stage.Hide();
    runtime.keyDown(stage, 39, 0);
    EXPECT_EQ(journal, (std::vector<std::string>{"Stage.load", "Stage.key 38"}));
}

// A click reaches a button only when the button is shown and enabled on a window that is.
TEST_F(PlayerInput, ClickNeedsAShownEnabledButtonOnAShownEnabledWindow)
{
    const struct {
        bool formShown;
        bool formEnabled;
        bool buttonShown;
        bool buttonEnabled;
        bool clicked;
    } cases[] = {{true, true, true, true, true},
                 {true, true, true, false, false},
                 {true, true, false, true, false},
                 {true, false, true, true, false},
                 {false, true, true, true, false}};
    Title& title = runtime.form<Title>();
    for (const auto& c : cases) {
        runtime.dispatch([&] { c.formShown ? title.Show() : title.Hide(); });
        title.Enabled = c.formEnabled;
        title.Start.Visible = c.buttonShown;
        title.Start.Enabled = c.buttonEnabled;
        journal.clear();
        runtime.click(title.Start);
        EXPECT_EQ(!journal.empty(), c.clicked) << "form " << c.formShown << c.formEnabled
                                               << ", button " << c.buttonShown << c.buttonEnabled;
    }
}

// A window whose layout forgot a timer's handler.
class Unwired : public rt::Form {
public:
    explicit Unwired(rt::Runtime& runtime) : rt::Form(runtime, "Unwired", kFrame)
    {
        tmrLost.Interval = 100;
    }
    rt::Timer tmrLost{*this, "tmrLost"};
};

// A timer without a handler stops the load in every build, naming the window and the timer,
// even while the timer is disabled: it would tick into nothing the moment it is enabled.
TEST(FormLoadingDeathTest, TimerWithoutAHandlerStopsTheLoad)
{
    rt::Runtime runtime;
    EXPECT_DEATH(runtime.form<Unwired>(), "Unwired\\.tmrLost has no handler");
}

} // namespace
