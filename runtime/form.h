#pragma once

#include "runtime/color.h"
#include "runtime/property.h"

#include <string>
#include <vector>

namespace rt {

class Control;
class Runtime;
class Timer;
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
    const ScreenSize& Screen;

    virtual void Form_Load() {}
    virtual void Form_KeyDown(int KeyCode, int Shift);
    // The player closed the window with its frame; the title and the stages end the game.
    virtual void closeRequested();

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

    // A window changed since the presentation last drew it.
    bool dirty() const { return m_dirty; }
    void clearDirty() { m_dirty = false; }
    void markDirty();

    // What changed since the presentation last drew the window: the controls whose drawing
    // changed, or the whole window when the window itself did (its colour, picture, caption).
    struct Changes {
        bool whole = false;
        std::vector<Control*> controls;
    };
    Changes takeChanges();

    void propertyChanged() override;

private:
    friend class Control;
    friend class Runtime;
    void addControl(Control& control) { m_controls.push_back(&control); }
    void controlChanged(Control& control);

    Runtime* m_runtime;
    std::string m_name;
    FormFrame m_frame;
    std::vector<Control*> m_controls;
    bool m_visible = false;
    bool m_loaded = false;
    bool m_placed = false;
    bool m_dirty = true;
    Changes m_changes{true, {}};
};

} // namespace rt
