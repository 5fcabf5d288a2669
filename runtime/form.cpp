#include "runtime/form.h"

#include "runtime/controls.h"
#include "runtime/runtime.h"

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
    m_visible = true;
    m_runtime->presenter().formShown(*this);
}

void Form::Hide()
{
    if (!m_visible)
        return;
    m_visible = false;
    m_runtime->presenter().formHidden(*this);
}

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
    Changes taken = std::move(m_changes);
    m_changes = {};
    for (Control* control : taken.controls)
        control->m_listedAsChanged = false;
    return taken;
}

void Form::Placement::propertyChanged()
{
    form->m_placed = true;
    form->markDirty();
}

} // namespace rt
