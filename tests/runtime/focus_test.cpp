#include "runtime/core/controls.h"
#include "runtime/core/key_codes.h"
#include "runtime/core/runtime.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// A window with a text box and two buttons, and what reached its handlers.
class Panel : public rt::Form {
public:
    explicit Panel(rt::Runtime& runtime) : rt::Form(runtime, "Panel", {4800, 3600, 120, 400})
    {
        One.onClick = [this] { log.push_back("One"); };
        Two.onClick = [this] { log.push_back("Two"); };
    }
    void Form_KeyDown(int KeyCode, int) override
    {
        log.push_back("key " + std::to_string(KeyCode));
    }

    rt::TextBox Name{*this, "Name"};
    rt::CommandButton One{*this, "One"};
    rt::CommandButton Two{*this, "Two"};
    std::vector<std::string> log;
};

class Focus : public ::testing::Test {
protected:
    Panel& shown()
    {
        runtime.dispatch([this] { runtime.form<Panel>().Show(); });
        return runtime.form<Panel>();
    }
    rt::Runtime runtime;
};

// Without KeyPreview the window hears a key only while nothing has the focus; with it, every key,
// and before the focused button acts on it.
TEST_F(Focus, KeyPreviewDecidesWhetherTheWindowHearsFocusedKeys)
{
    Panel& panel = shown();
    runtime.focus(panel.One);
    runtime.keyDown(panel, rt::kKeyEnter, 0);
    panel.KeyPreview = true;
    runtime.keyDown(panel, rt::kKeyEnter, 0);
    panel.One.Visible = false;
    panel.Two.Enabled = false;
    panel.Name.Visible = false;
    panel.KeyPreview = false;
    runtime.keyDown(panel, 65, 0);
    EXPECT_EQ(panel.log, (std::vector<std::string>{"One", "key 13", "One", "key 65"}));
}

// The focus skips what cannot take it (hidden, disabled) and comes back round; a window shown
// again from hidden starts on its first control again.
TEST_F(Focus, TabSkipsWhatCannotTakeTheFocusAndAShownWindowStartsAfresh)
{
    Panel& panel = shown();
    EXPECT_EQ(panel.focused(), &panel.Name);
    panel.One.Enabled = false;
    runtime.keyDown(panel, rt::kKeyTab, 0);
    EXPECT_EQ(panel.focused(), &panel.Two);
    runtime.keyDown(panel, rt::kKeyTab, 0);
    EXPECT_EQ(panel.focused(), &panel.Name);
    runtime.keyDown(panel, rt::kKeyTab, rt::kShiftKey);
    EXPECT_EQ(panel.focused(), &panel.Two);
    runtime.dispatch([&] {
        panel.Hide();
        panel.Show();
    });
    EXPECT_EQ(panel.focused(), &panel.Name);
    panel.Enabled = false;
    EXPECT_EQ(panel.focused(), nullptr) << "a disabled window has no focus";
}

// Enter in the text box presses the default button only; a window without one ignores it.
TEST_F(Focus, EnterInTheTextBoxPressesTheDefaultButton)
{
    Panel& panel = shown();
    runtime.keyDown(panel, rt::kKeyEnter, 0);
    EXPECT_TRUE(panel.log.empty());
    panel.Two.Default = true;
    runtime.keyDown(panel, rt::kKeyEnter, 0);
    runtime.keyDown(panel, rt::kKeyEnter, 0, true);
    EXPECT_EQ(panel.log, std::vector<std::string>{"Two"}) << "a held Enter presses once";
}

} // namespace
