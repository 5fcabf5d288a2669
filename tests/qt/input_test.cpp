#include "qt_windows.h"

#include "runtime/core/controls.h"
#include "runtime/core/form.h"

#include <QLineEdit>
#include <QPointer>
#include <QPushButton>

#include <gmock/gmock.h>

#include <string>
#include <utility>
#include <vector>

namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;
using Key = std::pair<int, int>;

// A window with a hidden button, a disabled button, a text box and a button, in that order.
class Panel : public rt::Form {
public:
    explicit Panel(rt::Runtime& runtime) : Form(runtime, "Panel", {4500, 3000, 60, 450})
    {
        Hidden.place(150, 150, 1200, 450);
        Hidden.Visible = false;
        Off.place(150, 750, 1200, 450);
        Off.Enabled = false;
        Name.place(1500, 150, 2400, 450);
        Name.Text = "New Guy";
        Go.place(1500, 750, 1200, 450);
        Go.Caption = "Go";
        Go.onClick = [this] { log.push_back("Go"); };
    }

    void Form_KeyDown(int KeyCode, int Shift) override
    {
        keys.emplace_back(KeyCode, Shift);
        log.push_back("key " + std::to_string(KeyCode));
        if (unloadOnKey)
            Unload(*this);
    }

    rt::CommandButton Hidden{*this, "Hidden"};
    rt::CommandButton Off{*this, "Off"};
    rt::TextBox Name{*this, "Name"};
    rt::CommandButton Go{*this, "Go"};
    std::vector<Key> keys;
    std::vector<std::string> log;
    bool unloadOnKey = false;
};

// The same window, watching every key before its controls do.
class Previewing : public Panel {
public:
    explicit Previewing(rt::Runtime& runtime) : Panel(runtime) { KeyPreview = true; }
};

class Keys : public QtWindows {
protected:
    template <class W> W* child(const rt::Form& form, const char* name)
    {
        return window(form).findChild<W*>(QString::fromLatin1(name));
    }
};

// A fresh window gives the focus to its first shown, enabled button or text box.
TEST_F(Keys, ShownWindowFocusesFirstFocusableControlInLayoutOrder)
{
    const Panel& panel = show<Panel>();
    EXPECT_EQ(window(panel).focusWidget(), child<QLineEdit>(panel, "Name"));
}

// Held keys repeat: every auto-repeated press reaches the handler, with its shift mask (Shift 1,
// Ctrl 2, Alt 4; the keypad and Meta modifiers are not part of it).
TEST_F(Keys, AutoRepeatedPressesEachReachKeyDown)
{
    const Previewing& form = show<Previewing>();
    press(form, Qt::Key_Left, Qt::NoModifier, true);
    press(form, Qt::Key_Left, Qt::NoModifier, true);
    press(form, Qt::Key_A,
          Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier | Qt::KeypadModifier |
              Qt::MetaModifier,
          true);
    EXPECT_THAT(form.keys, ElementsAre(Key{37, 0}, Key{37, 0}, Key{65, 7}));
}

// A key the focused button does not use travels on to the window: still one key down.
TEST_F(Keys, KeyIgnoredByFocusedButtonReachesKeyDownOnce)
{
    Previewing& form = show<Previewing>();
    runtime.focus(form.Go);
    QTest::keyClick(window(form).windowHandle(), Qt::Key_X);
    QTest::keyClick(window(form).windowHandle(), Qt::Key_Space);
    EXPECT_THAT(form.keys, ElementsAre(Key{88, 0}, Key{32, 0}));
    EXPECT_THAT(form.log, ElementsAre("key 88", "key 32", "Go")) << "Space presses the button";
}

// Keys of a disabled window are dropped, key preview or not.
TEST_F(Keys, DisabledWindowGetsNoKeys)
{
    Previewing& form = show<Previewing>();
    runtime.dispatch([&] { form.Enabled = false; });
    advance();
    EXPECT_FALSE(window(form).isEnabled());
    press(form, Qt::Key_Space);
    EXPECT_THAT(form.keys, IsEmpty());
}

// Typing fills the text box; a window with key preview hears it too, one without does not.
TEST_F(Keys, TypingReachesTheTextBoxWithOrWithoutKeyPreview)
{
    Panel& panel = show<Panel>();
    Previewing& previewing = show<Previewing>();
    for (Panel* form : {&panel, static_cast<Panel*>(&previewing)}) {
        QLineEdit* name = child<QLineEdit>(*form, "Name");
        name->setFocus();
        name->end(false);
        QTest::keyClicks(name, "q");
        EXPECT_EQ(form->Name.Text.value(), "New Guyq");
    }
    EXPECT_THAT(panel.keys, IsEmpty());
    EXPECT_THAT(previewing.keys, ElementsAre(Key{81, 0}));
}

// Enter presses the focused button, after the window's own key handler has seen it;
// a held Enter does not press it again and again.
TEST_F(Keys, EnterPressesFocusedButtonOnceAfterKeyDown)
{
    Previewing& form = show<Previewing>();
    runtime.focus(form.Go);
    press(form, Qt::Key_Return);
    press(form, Qt::Key_Return, Qt::NoModifier, true);
    EXPECT_THAT(form.log, ElementsAre("key 13", "Go", "key 13"));
}

// A key handler that unloads its own window: Enter must not then press a button of it.
TEST_F(Keys, KeyHandlerUnloadingItsWindowEndsTheKeyThere)
{
    Previewing& form = show<Previewing>();
    runtime.focus(form.Go);
    form.unloadOnKey = true;
    QPointer<QWidget> shown = &window(form);
    press(form, Qt::Key_Return);
    EXPECT_FALSE(runtime.isLoaded<Previewing>());
    advance();
    EXPECT_TRUE(shown.isNull());
}

// The game's focus is shown on the widgets, and a click into the text box moves it there.
TEST_F(Keys, FocusFollowsTheGameAndTheMouse)
{
    Panel& panel = show<Panel>();
    runtime.focus(panel.Go);
    EXPECT_EQ(window(panel).focusWidget(), child<QPushButton>(panel, "Go"));
    QTest::mouseClick(child<QLineEdit>(panel, "Name"), Qt::LeftButton);
    EXPECT_EQ(panel.focused(), &panel.Name);
    press(panel, Qt::Key_Tab);
    EXPECT_EQ(panel.focused(), &panel.Go);
    EXPECT_EQ(window(panel).focusWidget(), child<QPushButton>(panel, "Go"));
}

// The title of a window changes with its caption; the widgets follow their controls.
TEST_F(Keys, WidgetsFollowTheirControls)
{
    Panel& panel = show<Panel>();
    QLineEdit* name = child<QLineEdit>(panel, "Name");
    QPushButton* go = child<QPushButton>(panel, "Go");
    EXPECT_EQ(go->geometry(), QRect(100, 50, 80, 30));
    EXPECT_TRUE(child<QPushButton>(panel, "Hidden")->isHidden());
    EXPECT_FALSE(child<QPushButton>(panel, "Off")->isEnabled());
    name->setCursorPosition(3);

    runtime.dispatch([&] {
        panel.Caption = "Renamed";
        panel.Go.Caption = "Again";
        panel.Go.Left = 3000;
        panel.Hidden.Visible = true;
    });
    advance();
    EXPECT_EQ(window(panel).windowTitle(), "Renamed");
    EXPECT_EQ(go->text(), "Again");
    EXPECT_EQ(go->x(), 200);
    EXPECT_FALSE(child<QPushButton>(panel, "Hidden")->isHidden());
    EXPECT_EQ(name->cursorPosition(), 3) << "an unchanged text is left alone";

    runtime.dispatch([&] { panel.Name.Text = "Zed"; });
    advance();
    EXPECT_EQ(name->text(), "Zed");
}

// A window whose button unloads it, then goes on using its own members.
class SelfClosing : public rt::Form {
public:
    explicit SelfClosing(rt::Runtime& runtime) : Form(runtime, "SelfClosing", {1500, 1500, 60, 450})
    {
        Close.place(150, 150, 900, 450);
        Close.onClick = [this] {
            Unload(*this);
            Close.Caption = "closed";
        };
    }
    rt::CommandButton Close{*this, "Close"};
};

// The window outlives the handler that unloaded it and goes away from the event loop.
TEST_F(Keys, ButtonHandlerMayUnloadItsOwnWindow)
{
    const SelfClosing& form = show<SelfClosing>();
    QPointer<QPushButton> button = child<QPushButton>(form, "Close");
    QPointer<QWidget> shown = &window(form);
    QTest::mouseClick(button, Qt::LeftButton);
    EXPECT_FALSE(runtime.isLoaded<SelfClosing>());
    EXPECT_EQ(qt.window(form), nullptr);
    EXPECT_TRUE(shown->isHidden());
    advance();
    EXPECT_TRUE(shown.isNull());
    EXPECT_TRUE(button.isNull());
}

class Hiding : public Panel {
public:
    using Panel::Panel;
    void closeRequested() override { Hide(); }
};

// Closing a window with its frame is the form's decision: hide it, or end the game.
TEST_F(Keys, ClosingTheFrameAsksTheForm)
{
    const Hiding& hiding = show<Hiding>();
    const Panel& panel = show<Panel>();
    QPointer<QWidget> panelWindow = &window(panel);

    window(hiding).close();
    EXPECT_TRUE(runtime.isLoaded<Hiding>());
    EXPECT_FALSE(hiding.visible());
    EXPECT_TRUE(window(hiding).isHidden());

    panelWindow->close();
    EXPECT_TRUE(runtime.ended());
    EXPECT_EQ(qt.window(panel), nullptr);
    advance();
    EXPECT_TRUE(panelWindow.isNull());
}

} // namespace
