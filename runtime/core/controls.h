#pragma once

#include "runtime/core/color.h"
#include "runtime/core/property.h"

#include <deque>
#include <functional>
#include <string>

namespace rt {

class Form;
class PictureBox;

enum class ControlKind { PictureBox, Label, Shape, Line, ListBox, TextBox, CommandButton, Timer };

struct Font {
    std::string Name = "MS Sans Serif";
    float Size = 8.25f; // points
    bool Bold = false;
};

// The base of every control: its window, its name and index, and its container.
// Any property write that changes a value marks the window for repainting.
class Control : public PropertyOwner {
public:
    Control(Form& form, std::string name, int index = -1);
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;
    virtual ~Control() = default;

    virtual ControlKind kind() const = 0;

    Form& form() const { return *m_form; }
    const std::string& name() const { return m_name; }
    int index() const { return m_index; }
    // "Enemy(3)" for a member of a control array, "Player" otherwise.
    std::string displayName() const;

    // The picture box this control sits in, or null when it sits on the window itself.
    PictureBox* container() const { return m_container; }
    void setContainer(PictureBox& box) { m_container = &box; }

    void propertyChanged() override;

private:
    friend class Form;
    Form* m_form;
    std::string m_name;
    int m_index;
    PictureBox* m_container = nullptr;
    bool m_listedAsChanged = false;
};

// A control with a box: position relative to its container, size and visibility, in twips.
class BoxControl : public Control {
public:
    using Control::Control;

    Property<float> Left{*this, 0};
    Property<float> Top{*this, 0};
    Property<float> Width{*this, 0};
    Property<float> Height{*this, 0};
    Property<bool> Visible{*this, true};

    // Visible itself and in every container up to the window.
    bool shownOnWindow() const;
    void place(float left, float top, float width, float height);
};

class PictureBox : public BoxControl {
public:
    using BoxControl::BoxControl;
    ControlKind kind() const override { return ControlKind::PictureBox; }

    Property<Color> BackColor{*this, SystemColor::ButtonFace};
    Property<bool> Enabled{*this, true};
    // Name of a compiled-in picture, drawn unscaled from the top-left corner; empty for none.
    Property<std::string> Picture{*this, {}};
};

enum class Back { Transparent, Opaque };
enum class Align { Left, Right, Center };

class Label : public BoxControl {
public:
    using BoxControl::BoxControl;
    ControlKind kind() const override { return ControlKind::Label; }

    Property<std::string> Caption{*this, {}};
    Property<Color> BackColor{*this, SystemColor::ButtonFace};
    Property<Color> ForeColor{*this, SystemColor::ButtonText};
    Property<Back> BackStyle{*this, Back::Opaque};
    Align Alignment = Align::Left;
    rt::Font Font;
};

enum class ShapeKind { Rectangle, Square, Oval, Circle, RoundedRectangle, RoundedSquare };
enum class Fill { Solid, Transparent, DownwardDiagonal };

// How a shape is drawn, set in one go by a layout: `shot.setStyle({.Kind = ShapeKind::Oval})`.
// Unnamed fields give a solid shape without an outline, what the game mostly draws.
struct ShapeStyle {
    ShapeKind Kind = ShapeKind::Rectangle;
    Fill FillStyle = Fill::Solid;
    Color FillColor = SystemColor::WindowText;
    bool BorderVisible = false;
    Color BorderColor = SystemColor::WindowText;
    int BorderWidth = 1;
};

class Shape : public BoxControl {
public:
    using BoxControl::BoxControl;
    ControlKind kind() const override { return ControlKind::Shape; }

    void setStyle(const ShapeStyle& style);

    Property<ShapeKind> Kind{*this, ShapeKind::Rectangle};
    Property<Fill> FillStyle{*this, Fill::Transparent};
    Property<Color> FillColor{*this, SystemColor::WindowText};
    Property<bool> BorderVisible{*this, true};
    Property<Color> BorderColor{*this, SystemColor::WindowText};
    Property<int> BorderWidth{*this, 1};
};

class Line : public Control {
public:
    using Control::Control;
    ControlKind kind() const override { return ControlKind::Line; }

    Property<float> X1{*this, 0};
    Property<float> Y1{*this, 0};
    Property<float> X2{*this, 0};
    Property<float> Y2{*this, 0};
    Property<bool> Visible{*this, true};
    Property<Color> BorderColor{*this, SystemColor::WindowText};
    Property<int> BorderWidth{*this, 1};

    void place(float x1, float y1, float x2, float y2);
};

class ListBox : public BoxControl {
public:
    using BoxControl::BoxControl;
    ControlKind kind() const override { return ControlKind::ListBox; }

    // Row i of the list, from 0; rows are added by the layout and replaced in place.
    Property<std::string>& List(int i);
    const Property<std::string>& List(int i) const;
    int ListCount() const { return static_cast<int>(m_rows.size()); }
    void AddItem(std::string text);

    rt::Font Font;

private:
    std::deque<Property<std::string>> m_rows;
};

class TextBox : public BoxControl {
public:
    using BoxControl::BoxControl;
    ControlKind kind() const override { return ControlKind::TextBox; }

    Property<std::string> Text{*this, {}};
    rt::Font Font;
};

class CommandButton : public BoxControl {
public:
    using BoxControl::BoxControl;
    ControlKind kind() const override { return ControlKind::CommandButton; }

    Property<std::string> Caption{*this, {}};
    Property<bool> Enabled{*this, true};
    // Enter presses this button while the focus is on a control that is not a button.
    bool Default = false;
    rt::Font Font;
    std::function<void()> onClick;
};

// A timer as a layout sets it up: its handler comes in the same call as its interval and
// enabled flag, so no timer is laid out without one.
struct TimerSetup {
    int Interval;
    bool Enabled;
    std::function<void()> handler;
};

// A periodic timer. Its handler runs one period after it is enabled and every period after that;
// enabling, disabling and changing Interval go straight to the window's scheduler.
class Timer : public Control {
public:
    using Control::Control;
    ~Timer() override;
    ControlKind kind() const override { return ControlKind::Timer; }

    Property<int> Interval{*this, 0};
    Property<bool> Enabled{*this, true};
    std::function<void()> onTick;

    void setUp(TimerSetup setup);

    void propertyChanged() override;
};

} // namespace rt
