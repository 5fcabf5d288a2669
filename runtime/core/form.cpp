#include "runtime/core/form.h"

#include "runtime/core/controls.h"
#include "runtime/core/presenter.h"
#include "runtime/core/runtime.h"

namespace rt {

namespace {
float outerWidth(const FormFrame& f) { return f.clientWidth + 2 * f.designLeft; }
float outerHeight(const FormFrame& f) { return f.clientHeight + f.designTop + f.designLeft; }
} // namespace

Form::Form(Runtime& runtime, std::string name, FormFrame frame)
    : Width(*this, outerWidth(frame)), Height(*this, outerHeight(frame)), Screen(runtime.screen()),
      m_runtime(&runtime), m_name(std::move(name)), m_frame(frame)
{
}

Form::~Form() = default;

void Form::Form_KeyDown(int, int) {}

void Form::closeRequested() { End(); }

void Form::Show()
{
    // A window already unloaded by a running handler stays gone.
    if (!m_loaded)
        return;
    const bool wasHidden = !m_visible;
    m_visible = true;
    if (wasHidden)
        m_focus = nextInTabOrder(nullptr, false);
    m_runtime->presenter().formShown(*this);
}

void Form::Hide()
{
    if (!m_visible)
        return;
    m_visible = false;
    m_runtime->presenter().formHidden(*this);
}

void Form::Play(const SoundEffect& effect) { m_runtime->sounds().play(effect); }

void Form::Unload(Form& form) { m_runtime->unload(form); }

void Form::End() { m_runtime->end(); }

std::vector<Timer*> Form::timers() const
{
    std::vector<Timer*> result;
    for (Control* control : m_controls)
        if (control->kind() == ControlKind::Timer)
            result.push_back(static_cast<Timer*>(control));
    return result;
}

bool Form::canTakeFocus(const Control& control) const
{
    if (!Enabled || &control.form() != this)
        return false;
    switch (control.kind()) {
    case ControlKind::TextBox:
        return static_cast<const TextBox&>(control).shownOnWindow();
    case ControlKind::CommandButton: {
        const auto& button = static_cast<const CommandButton&>(control);
        return button.Enabled && button.shownOnWindow();
    }
    default:
        return false;
    }
}

Control* Form::focused() const { return m_focus && canTakeFocus(*m_focus) ? m_focus : nullptr; }

CommandButton* Form::defaultButton() const
{
    for (Control* control : m_controls)
        if (control->kind() == ControlKind::CommandButton &&
            static_cast<CommandButton*>(control)->Default)
            return static_cast<CommandButton*>(control);
    return nullptr;
}

Control* Form::nextInTabOrder(const Control* from, bool backwards) const
{
    const auto count = static_cast<std::ptrdiff_t>(m_controls.size());
    std::ptrdiff_t at = backwards ? count : -1;
    for (std::ptrdiff_t i = 0; i < count; ++i)
        if (m_controls[static_cast<std::size_t>(i)] == from)
            at = i;
    for (std::ptrdiff_t step = 1; step <= count; ++step) {
        const std::ptrdiff_t i = ((at + (backwards ? -step : step)) % count + count) % count;
        if (Control* next = m_controls[static_cast<std::size_t>(i)]; canTakeFocus(*next))
            return next;
    }
    return nullptr;
}

void Form::moveFocus(Control* control)
{
    if (m_focus == control)
        return;
    m_focus = control;
    if (m_loaded)
        m_runtime->presenter().focusMoved(*this);
}

void Form::markDirty()
{
    if (m_dirty)
        return;
    m_dirty = true;
    if (m_loaded)
        m_runtime->presenter().formChanged(*this);
}

void Form::propertyChanged()
{
    m_changes.whole = true;
    markDirty();
}

void Form::controlChanged(Control& control)
{
    if (!control.m_listedAsChanged) {
        control.m_listedAsChanged = true;
        m_changes.controls.push_back(&control);
    }
    markDirty();
}

Form::Changes Form::takeChanges()
{
    m_dirty = false;
    Changes taken = std::move(m_changes);
    m_changes = {};
    for (Control* control : taken.controls)
        control->m_listedAsChanged = false;
    return taken;
}

Form::Changes Presenter::takeChanges(Form& form) { return form.takeChanges(); }

void Form::Placement::propertyChanged()
{
    form->m_placed = true;
    form->markDirty();
}

} // namespace rt
