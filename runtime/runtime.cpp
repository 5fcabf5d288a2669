#include "runtime/runtime.h"

#include "runtime/check.h"
#include "runtime/controls.h"

#include <algorithm>
#include <utility>

namespace rt {

Runtime::Runtime() : m_files(std::make_unique<MemoryFileStore>()) {}

Runtime::~Runtime()
{
    // Windows go before the scheduler their timers are armed in.
    m_forms.clear();
    m_unloaded.clear();
}

Form* Runtime::find(std::type_index type) const
{
    for (const Loaded& loaded : m_forms)
        if (loaded.type == type)
            return loaded.form.get();
    return nullptr;
}

void Runtime::load(std::type_index type, std::unique_ptr<Form> created)
{
    Form& form = *created;
    // A timer without a handler would tick into nothing: a layout mistake, stopped at the load.
    for (const Timer* timer : form.timers())
        RT_REQUIRE(timer->onTick, form.name() + "." + timer->name() + " has no handler");
    m_forms.push_back({type, std::move(created)});
    form.m_loaded = true;
    m_presenter->formLoaded(form);
    // Timers enabled in the layout start with the load, in layout order.
    for (Timer* timer : form.timers())
        timer->propertyChanged();
    dispatch([&form] { form.Form_Load(); });
}

void Runtime::unload(Form& form)
{
    auto it = std::find_if(m_forms.begin(), m_forms.end(),
                           [&form](const Loaded& loaded) { return loaded.form.get() == &form; });
    if (it == m_forms.end())
        return;
    form.m_loaded = false;
    form.m_visible = false;
    for (Timer* timer : form.timers())
        m_scheduler.disarm(*timer);
    m_presenter->formUnloaded(form);
    m_unloaded.push_back(std::move(it->form));
    m_forms.erase(it);
    if (m_depth == 0)
        m_unloaded.clear();
}

void Runtime::end()
{
    if (m_ended)
        return;
    m_ended = true;
    while (!m_forms.empty())
        unload(*m_forms.back().form);
    m_presenter->endRequested();
}

void Runtime::leaveHandler()
{
    if (--m_depth > 0)
        return;
    m_unloaded.clear();
    if (onHandlerDone)
        onHandlerDone();
}

template <class Accepts, class Run>
void Runtime::takeInput(InputEvent event, Accepts&& accepts, Run&& run)
{
    const std::optional<std::int64_t> at = std::exchange(m_replayAt, std::nullopt);
    if (m_ignoringPlayer && !at)
        return;
    // Inside a dispatch, so a window that a tick running first unloads outlives this call.
    dispatch([&] {
        if (at)
            m_scheduler.runDue(*at);
        event.atUs = at ? *at : m_scheduler.catchUp();
        if (!accepts())
            return;
        if (onInput)
            onInput(event);
        m_scheduler.holdTime(event.atUs);
        run();
        m_scheduler.releaseTime();
    });
}

// Only a window the player can see takes keys: the wave stage hidden behind the boss fight stays
// frozen.
void Runtime::keyDown(Form& form, int keyCode, int shift)
{
    takeInput(
        {.kind = InputEvent::Kind::Key, .form = form.name(), .keyCode = keyCode, .shift = shift},
        [&] { return form.loaded() && form.visible() && form.Enabled; },
        [&] { form.Form_KeyDown(keyCode, shift); });
}

void Runtime::click(CommandButton& button)
{
    Form& form = button.form();
    takeInput(
        {.kind = InputEvent::Kind::Click, .form = form.name(), .control = button.name()},
        [&] { return form.loaded() && form.Enabled && button.Enabled && button.onClick; },
        [&] { button.onClick(); });
}

void Runtime::typeText(TextBox& box, std::string text)
{
    Form& form = box.form();
    takeInput(
        {.kind = InputEvent::Kind::Text, .form = form.name(), .control = box.name(), .text = text},
        [&] { return form.loaded(); }, [&] { box.Text = std::move(text); });
}

bool Runtime::replay(const InputEvent& event)
{
    // Every tick due by the input's instant runs first: one of them may open the window it is for
    // (the wave stage shows the boss in a march tick).
    dispatch([&] { m_scheduler.runDue(event.atUs); });
    if (m_ended)
        return false;
    auto loaded = std::find_if(m_forms.begin(), m_forms.end(),
                               [&](const Loaded& l) { return l.form->name() == event.form; });
    if (loaded == m_forms.end())
        return false;
    Form& form = *loaded->form;
    // The input lands at its recorded instant, whatever the clock reads.
    if (event.kind == InputEvent::Kind::Key) {
        m_replayAt = event.atUs;
        keyDown(form, event.keyCode, event.shift);
        return true;
    }
    for (Control* control : form.controls()) {
        if (control->name() != event.control)
            continue;
        if (event.kind == InputEvent::Kind::Click &&
            control->kind() == ControlKind::CommandButton) {
            m_replayAt = event.atUs;
            click(static_cast<CommandButton&>(*control));
            return true;
        }
        if (event.kind == InputEvent::Kind::Text && control->kind() == ControlKind::TextBox) {
            m_replayAt = event.atUs;
            typeText(static_cast<TextBox&>(*control), event.text);
            return true;
        }
    }
    return false;
}

std::vector<Form*> Runtime::loadedForms() const
{
    std::vector<Form*> result;
    for (const Loaded& loaded : m_forms)
        result.push_back(loaded.form.get());
    return result;
}

} // namespace rt
