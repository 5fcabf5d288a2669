#include "runtime/core/runtime.h"

#include "runtime/core/check.h"
#include "runtime/core/controls.h"
#include "runtime/core/key_codes.h"

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
    // Closing a paused stage (its frame, or the end of the game) lets time run again.
    if (m_paused == &form) {
        m_paused = nullptr;
        m_scheduler.resume(m_scheduler.now());
    }
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

Form* Runtime::findByName(const std::string& name) const
{
    for (const Loaded& loaded : m_forms)
        if (loaded.form->name() == name)
            return loaded.form.get();
    return nullptr;
}

// Only a window the player can see takes input: the wave stage hidden behind the boss fight
// stays frozen, and a game over's disabled stage takes nothing.
std::string Runtime::refusal(const Form& form, const Control* control) const
{
    if (m_ended)
        return "the game has ended";
    if (!form.loaded())
        return form.name() + " is not open";
    if (!form.visible())
        return form.name() + " is hidden";
    if (!form.Enabled)
        return form.name() + " is disabled";
    if (!control)
        return {};
    if (m_paused)
        return "the game is paused";
    const std::string name = form.name() + "." + control->displayName();
    if (control->kind() == ControlKind::CommandButton) {
        const auto& button = static_cast<const CommandButton&>(*control);
        if (!button.shownOnWindow())
            return name + " is hidden";
        if (!button.Enabled)
            return name + " is disabled";
        if (!button.onClick)
            return name + " does nothing";
    }
    if (control->kind() == ControlKind::TextBox &&
        !static_cast<const TextBox&>(*control).shownOnWindow())
        return name + " is hidden";
    return {};
}

template <class Run>
std::string Runtime::takeInput(InputEvent event, std::optional<std::int64_t> replayAt,
                               const Form& form, const Control* control, Run&& run)
{
    if (m_ignoringPlayer && !replayAt)
        return "the player's input is ignored while a recording plays";
    std::string refused = "the game has ended";
    // Inside a dispatch, so a window that a tick running first unloads outlives this call.
    dispatch([&] {
        event.atUs = replayAt ? *replayAt : m_scheduler.catchUp();
        refused = refusal(form, control);
        if (!refused.empty())
            return;
        if (onInput)
            onInput(event);
        m_scheduler.holdTime(event.atUs);
        run();
        m_scheduler.releaseTime();
    });
    return refused;
}

std::string Runtime::hearKey(Form& form, int keyCode, int shift,
                             std::optional<std::int64_t> replayAt)
{
    return takeInput(
        {.kind = InputEvent::Kind::Key, .form = form.name(), .keyCode = keyCode, .shift = shift},
        replayAt, form, nullptr, [&] { form.Form_KeyDown(keyCode, shift); });
}

std::string Runtime::press(CommandButton& button, std::optional<std::int64_t> replayAt)
{
    Form& form = button.form();
    return takeInput(
        {.kind = InputEvent::Kind::Click, .form = form.name(), .control = button.name()}, replayAt,
        form, &button, [&] {
            form.moveFocus(&button);
            button.onClick();
        });
}

std::string Runtime::type(TextBox& box, std::string text, std::optional<std::int64_t> replayAt)
{
    Form& form = box.form();
    return takeInput(
        {.kind = InputEvent::Kind::Text, .form = form.name(), .control = box.name(), .text = text},
        replayAt, form, &box, [&] {
            form.moveFocus(&box);
            box.Text = std::move(text);
        });
}

std::string Runtime::closeWindow(Form& form, std::optional<std::int64_t> replayAt)
{
    return takeInput({.kind = InputEvent::Kind::Close, .form = form.name()}, replayAt, form,
                     nullptr, [&] { form.closeRequested(); });
}

std::string Runtime::pause(Form& form, std::optional<std::int64_t> replayAt)
{
    if (!form.pausable)
        return form.name() + " cannot pause";
    if (m_paused)
        return "the game is already paused";
    return takeInput({.kind = InputEvent::Kind::Pause, .form = form.name()}, replayAt, form,
                     nullptr, [&] {
                         m_paused = &form;
                         m_scheduler.suspend(m_scheduler.now());
                         m_presenter->pauseChanged(form);
                     });
}

std::string Runtime::resume(Form& form, std::optional<std::int64_t> replayAt)
{
    if (m_paused != &form)
        return "the game is not paused on " + form.name();
    return takeInput({.kind = InputEvent::Kind::Resume, .form = form.name()}, replayAt, form,
                     nullptr, [&] {
                         m_paused = nullptr;
                         m_scheduler.resume(m_scheduler.now());
                         m_presenter->pauseChanged(form);
                     });
}

bool Runtime::stageKey(Form& form, int keyCode, bool repeat)
{
    if (keyCode == kKeyP || keyCode == kKeyEscape) {
        if (!repeat)
            m_paused ? resume(form, std::nullopt) : pause(form, std::nullopt);
        return true;
    }
    if (keyCode == kKeyM) {
        if (!repeat)
            setMuted(!m_sounds.muted());
        return true;
    }
    return m_paused != nullptr;
}

void Runtime::setMuted(bool muted)
{
    if (muted == m_sounds.muted())
        return;
    m_sounds.setMuted(muted);
    m_presenter->muteChanged(muted);
}

void Runtime::lostFocus(Form& form)
{
    if (m_ignoringPlayer || m_paused || !form.pausable || !refusal(form, nullptr).empty())
        return;
    pause(form, std::nullopt);
}

void Runtime::tapped(Form& form)
{
    if (m_ignoringPlayer || m_paused != &form || !refusal(form, nullptr).empty())
        return;
    resume(form, std::nullopt);
}

void Runtime::keyDown(Form& form, int keyCode, int shift, bool repeat)
{
    if (m_ignoringPlayer || !refusal(form, nullptr).empty())
        return;
    if (form.pausable ? stageKey(form, keyCode, repeat) : m_paused != nullptr)
        return;
    // One dispatch round the whole key, so a window its handler unloads outlives it.
    dispatch([&] {
        if (form.KeyPreview || !form.focused())
            hearKey(form, keyCode, shift, std::nullopt);
        // The key's handler may have closed, hidden or disabled the window.
        if (!refusal(form, nullptr).empty())
            return;
        Control* focused = form.focused();
        auto* button = focused && focused->kind() == ControlKind::CommandButton
                           ? static_cast<CommandButton*>(focused)
                           : nullptr;
        switch (keyCode) {
        case kKeyTab:
            form.moveFocus(form.nextInTabOrder(form.m_focus, (shift & kShiftKey) != 0));
            break;
        case kKeyEnter:
            if (!button && (!focused || focused->kind() == ControlKind::TextBox))
                button = form.defaultButton();
            if (button && !repeat)
                press(*button, std::nullopt);
            break;
        case kKeySpace:
            if (button && !repeat)
                press(*button, std::nullopt);
            break;
        // Among buttons the arrows move the focus as Tab does; in a text box they move its caret.
        case kKeyLeft:
        case kKeyUp:
        case kKeyRight:
        case kKeyDown:
            if (button)
                form.moveFocus(
                    form.nextInTabOrder(button, keyCode == kKeyLeft || keyCode == kKeyUp));
            break;
        default:
            break;
        }
    });
}

void Runtime::click(CommandButton& button) { press(button, std::nullopt); }

void Runtime::typeText(TextBox& box, std::string text) { type(box, std::move(text), std::nullopt); }

void Runtime::focus(Control& control)
{
    Form& form = control.form();
    if (m_ignoringPlayer || !refusal(form, nullptr).empty() || !form.canTakeFocus(control))
        return;
    form.moveFocus(&control);
}

void Runtime::close(Form& form) { closeWindow(form, std::nullopt); }

bool Runtime::replay(const InputEvent& event, std::string* why)
{
    std::string refused = "the game has ended";
    dispatch([&] {
        // Every tick due by the input's instant runs first: one of them may open the window it is
        // for (the wave stage shows the boss in a march tick).
        m_scheduler.runDue(event.atUs);
        Form* form = findByName(event.form);
        refused.clear();
        if (m_ended) {
            refused = "the game has ended";
            return;
        }
        if (!form) {
            refused = event.form + " is not open";
            return;
        }
        const auto& controls = form->controls();
        const auto named = std::find_if(controls.begin(), controls.end(), [&](const Control* c) {
            return c->name() == event.control;
        });
        Control* control = named == controls.end() ? nullptr : *named;
        const auto wanted = event.kind == InputEvent::Kind::Click ? ControlKind::CommandButton
                                                                  : ControlKind::TextBox;
        const bool needsControl =
            event.kind == InputEvent::Kind::Click || event.kind == InputEvent::Kind::Text;
        if (needsControl && (!control || control->kind() != wanted)) {
            refused = event.form + " has no " +
                      (wanted == ControlKind::CommandButton ? "button " : "text box ") +
                      event.control;
            return;
        }
        switch (event.kind) {
        case InputEvent::Kind::Key:
            refused = hearKey(*form, event.keyCode, event.shift, event.atUs);
            break;
        case InputEvent::Kind::Click:
            refused = press(static_cast<CommandButton&>(*control), event.atUs);
            break;
        case InputEvent::Kind::Text:
            refused = type(static_cast<TextBox&>(*control), event.text, event.atUs);
            break;
        case InputEvent::Kind::Close:
            refused = closeWindow(*form, event.atUs);
            break;
        case InputEvent::Kind::Pause:
            refused = pause(*form, event.atUs);
            break;
        case InputEvent::Kind::Resume:
            refused = resume(*form, event.atUs);
            break;
        }
    });
    if (why)
        *why = refused;
    return refused.empty();
}

std::vector<Form*> Runtime::loadedForms() const
{
    std::vector<Form*> result;
    for (const Loaded& loaded : m_forms)
        result.push_back(loaded.form.get());
    return result;
}

} // namespace rt
