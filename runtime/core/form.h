#pragma once

#include "runtime/core/color.h"
#include "runtime/core/property.h"

#include <string>
#include <vector>

namespace rt {

class CommandButton;
class Control;
class Presenter;
class Runtime;
class Timer;
struct SoundEffect;
struct ScreenSize;

// The client area and the design position a window is drawn from. The design Left is also the
// nominal width of the left, right and bottom borders and the design Top the nominal title bar,
// so a window's outer size is the same on every desktop.
struct FormFrame {
    float clientWidth;
    float clientHeight;
    float designLeft;
    float designTop;
};

enum class BorderStyle { Sizable, FixedDialog };

// One window of the game. Its controls are members built from its layout in the constructor;
// its handlers are member functions. Reach another window through the runtime's form<F>(), which
// loads it on first reference.
class Form : public PropertyOwner {
public:
    Form(Runtime& runtime, std::string name, FormFrame frame);
    Form(const Form&) = delete;
    Form& operator=(const Form&) = delete;
    virtual ~Form();

private:
    // Left and Top report to this owner: a write means game code has placed the window.
    struct Placement : PropertyOwner {
        explicit Placement(Form& form) : form(&form) {}
        void propertyChanged() override;
        Form* form;
    } m_placement{*this};

public:
    Property<float> Left{m_placement, 0};
    Property<float> Top{m_placement, 0};
    Property<float> Width;
    Property<float> Height;
    Property<std::string> Caption{*this, {}};
    Property<bool> Enabled{*this, true};
    Property<Color> BackColor{*this, SystemColor::ButtonFace};
    std::string Picture;
    bool KeyPreview = false;
    rt::BorderStyle BorderStyle = rt::BorderStyle::Sizable;
    // A stage window: P and Escape pause and resume the game on it, M mutes, and it pauses when
    // it loses the keyboard focus.
    bool pausable = false;
    const ScreenSize& Screen;

    virtual void Form_Load() {}
    // Every key the window takes while KeyPreview is set, or while none of its controls has the
    // focus.
    virtual void Form_KeyDown(int KeyCode, int Shift);
    // The player closed the window with its frame; the title and the stages end the game.
    virtual void closeRequested();
    // Names the sound a rule makes, beside the rule: `Play(stage::kShotSound)`.
    void Play(const SoundEffect& effect);

    // Modeless: shows the window and brings it forward.
    void Show();
    void Hide();
    // Discards `form`; it lives on until the outermost handler returns. The next reference
    // builds it afresh from its layout.
    void Unload(Form& form);
    // Closes every window and ends the program; no further handler runs.
    void End();

    Runtime& runtime() const { return *m_runtime; }
    const std::string& name() const { return m_name; }
    const FormFrame& frame() const { return m_frame; }
    bool visible() const { return m_visible; }
    bool loaded() const { return m_loaded; }
    // True once game code has placed the window; otherwise the desktop picks its place.
    bool placed() const { return m_placed; }

    // Every control in layout order: the drawing order within a container and the tab order.
    const std::vector<Control*>& controls() const { return m_controls; }
    std::vector<Timer*> timers() const;

    // The control with the keyboard focus: a shown text box, or a shown and enabled button, of
    // an enabled window; null when none can have it. A window shown from hidden gives it to the
    // first such control in tab order; Tab, a click and typing move it (see Runtime).
    Control* focused() const;
    // A button or text box that could take the focus now.
    bool canTakeFocus(const Control& control) const;
    // The button Enter presses while the focus is not on a button (the name dialog's "OK").
    CommandButton* defaultButton() const;

    // A window changed since the presentation last drew it.
    bool dirty() const { return m_dirty; }
    void markDirty();

    // What changed since the presentation last drew the window: the controls whose drawing
    // changed, or the whole window when the window itself did (its colour, picture, caption).
    // Taken with Presenter::takeChanges.
    struct Changes {
        bool whole = false;
        std::vector<Control*> controls;
    };

    void propertyChanged() override;

private:
    friend class Control;
    friend class Presenter;
    friend class Runtime;
    void addControl(Control& control) { m_controls.push_back(&control); }
    void controlChanged(Control& control);
    Changes takeChanges();
    // Moves the focus and tells the presentation; null takes it away.
    void moveFocus(Control* control);
    // The next control after `from` in tab order that can take the focus, wrapping round;
    // backwards for Shift+Tab. From null: the first (or last).
    Control* nextInTabOrder(const Control* from, bool backwards) const;

    Runtime* m_runtime;
    std::string m_name;
    FormFrame m_frame;
    std::vector<Control*> m_controls;
    Control* m_focus = nullptr;
    bool m_visible = false;
    bool m_loaded = false;
    bool m_placed = false;
    bool m_dirty = true;
    Changes m_changes{true, {}};
};

} // namespace rt
