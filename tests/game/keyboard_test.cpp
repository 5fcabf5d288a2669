#include "runtime/core/key_codes.h"
#include "support/game_harness.h"

#include <string>
#include <vector>

namespace {

enum class On { Title, Dialog, Table };

struct Press {
    On window;
    int key;
    int shift = 0;
    bool repeat = false;
};

struct KeyboardCase {
    const char* what;
    std::vector<Press> presses;
    const char* shown; // the windows on screen afterwards, in load order; "ended" once it ended
};

void PrintTo(const KeyboardCase& c, std::ostream* os) { *os << c.what; }

constexpr int kTab = rt::kKeyTab;
constexpr int kEnter = rt::kKeyEnter;
constexpr int kSpace = rt::kKeySpace;
constexpr int kShift = rt::kShiftKey;

class Keyboard : public GameHarness, public ::testing::WithParamInterface<KeyboardCase> {
protected:
    rt::Form& window(On on)
    {
        switch (on) {
        case On::Dialog:
            return Dialog();
        case On::Table:
            return Highscores();
        case On::Title:
            break;
        }
        return Form2();
    }

    std::string shownWindows() const
    {
        if (runtime.ended())
            return "ended";
        std::string names;
        for (const rt::Form* form : runtime.loadedForms())
            if (form->visible())
                names += (names.empty() ? "" : ",") + form->name();
        return names;
    }
};

// The title, the name dialog and the table play with the keyboard alone: the focus starts on the
// first button, Tab and the arrows move it round the buttons, Enter and Space press the focused
// one, and in the name box Enter presses "OK".
TEST_P(Keyboard, KeysReachTheButtonsAPlayerExpects)
{
    handle([this] { Form2().Show(); });
    for (const Press& p : GetParam().presses)
        runtime.keyDown(window(p.window), p.key, p.shift, p.repeat);
    EXPECT_EQ(shownWindows(), GetParam().shown);
}

INSTANTIATE_TEST_SUITE_P(
    TitleDialogAndTable, Keyboard,
    ::testing::Values(
        KeyboardCase{"Enter on a fresh title starts", {{On::Title, kEnter}}, "Form2,Dialog"},
        KeyboardCase{"a held Enter presses once", {{On::Title, kEnter, 0, true}}, "Form2"},
        KeyboardCase{"Space presses the focused button", {{On::Title, kSpace}}, "Form2,Dialog"},
        KeyboardCase{"Tab reaches HighScores!",
                     {{On::Title, kTab}, {On::Title, kEnter}},
                     "Form2,Highscores"},
        KeyboardCase{"Tab wraps round past EXIT",
                     {{On::Title, kTab}, {On::Title, kTab}, {On::Title, kTab}, {On::Title, kEnter}},
                     "Form2,Dialog"},
        KeyboardCase{"Shift+Tab goes back to EXIT",
                     {{On::Title, kTab, kShift}, {On::Title, kEnter}},
                     "ended"},
        KeyboardCase{"the arrows move among the buttons",
                     {{On::Title, rt::kKeyDown},
                      {On::Title, rt::kKeyRight},
                      {On::Title, rt::kKeyUp},
                      {On::Title, kEnter}},
                     "Form2,Highscores"},
        KeyboardCase{"Enter on the table leaves it",
                     {{On::Title, kTab}, {On::Title, kEnter}, {On::Table, kEnter}},
                     "Form2"},
        KeyboardCase{
            "Enter on the dialog's OK plays", {{On::Title, kEnter}, {On::Dialog, kEnter}}, "Form1"},
        KeyboardCase{"Enter in the name box plays",
                     {{On::Title, kEnter}, {On::Dialog, kTab}, {On::Dialog, kEnter}},
                     "Form1"},
        KeyboardCase{"Space in the name box presses nothing",
                     {{On::Title, kEnter}, {On::Dialog, kTab}, {On::Dialog, kSpace}},
                     "Form2,Dialog"}));

// Typing into the name box takes the focus there: the Enter after it starts the game with the
// name typed.
TEST_F(GameHarness, TypedNameAndEnterStartTheGame)
{
    handle([this] { Form2().Show(); });
    runtime.keyDown(Form2(), kEnter, 0);
    runtime.typeText(Dialog().PlayerName, "Ada");
    EXPECT_EQ(Dialog().focused(), &Dialog().PlayerName);
    runtime.keyDown(Dialog(), kEnter, 0);
    EXPECT_TRUE(Form1().visible());
    EXPECT_EQ(Dialog().PlayerName.Text, "Ada");
}

} // namespace
