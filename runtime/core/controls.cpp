#include "runtime/core/controls.h"

#include "runtime/core/check.h"
#include "runtime/core/form.h"
#include "runtime/core/runtime.h"

namespace rt {

Control::Control(Form& form, std::string name, int index)
    : m_form(&form), m_name(std::move(name)), m_index(index)
{
    form.addControl(*this);
}

std::string Control::displayName() const
{
    if (m_index < 0)
        return m_name;
    return m_name + "(" + std::to_string(m_index) + ")";
}

void Control::propertyChanged() { m_form->controlChanged(*this); }

bool BoxControl::shownOnWindow() const
{
    if (!Visible)
        return false;
    for (const PictureBox* box = container(); box; box = box->container())
        if (!box->Visible)
            return false;
    return true;
}

void BoxControl::place(float left, float top, float width, float height)
{
    Left = left;
    Top = top;
    Width = width;
    Height = height;
}

void Line::place(float x1, float y1, float x2, float y2)
{
    X1 = x1;
    Y1 = y1;
    X2 = x2;
    Y2 = y2;
}

Property<std::string>& ListBox::List(int i)
{
    RT_REQUIRE(i >= 0 && i < ListCount(),
               displayName() + ".List(" + std::to_string(i) + ") is not a row");
    return m_rows[static_cast<std::size_t>(i)];
}

const Property<std::string>& ListBox::List(int i) const
{
    RT_REQUIRE(i >= 0 && i < ListCount(),
               displayName() + ".List(" + std::to_string(i) + ") is not a row");
    return m_rows[static_cast<std::size_t>(i)];
}

void ListBox::AddItem(std::string text)
{
    m_rows.emplace_back(*this, std::move(text));
    propertyChanged();
}

void Shape::setStyle(const ShapeStyle& style)
{
    Kind = style.Kind;
    FillStyle = style.FillStyle;
    FillColor = style.FillColor;
    BorderVisible = style.BorderVisible;
    BorderColor = style.BorderColor;
    BorderWidth = style.BorderWidth;
}

void Timer::setUp(TimerSetup setup)
{
    onTick = std::move(setup.handler);
    Interval = setup.Interval;
    Enabled = setup.Enabled;
}

Timer::~Timer() { form().runtime().scheduler().disarm(*this); }

void Timer::propertyChanged()
{
    // A timer of a window that is not (or no longer) loaded never ticks; loading arms it.
    Scheduler& scheduler = form().runtime().scheduler();
    if (Enabled && form().loaded() && !form().runtime().ended())
        scheduler.arm(*this);
    else
        scheduler.disarm(*this);
}

} // namespace rt
