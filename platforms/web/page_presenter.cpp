#include "platforms/web/page_presenter.h"

#include "platforms/web/page.h"
#include "platforms/web/page_painter.h"
#include "runtime/core/controls.h"
#include "runtime/core/form.h"
#include "runtime/core/runtime.h"
#include "runtime/presentation/faces.h"
#include "runtime/presentation/pause_banner.h"

#include <cmath>

namespace rtweb {

namespace {

int indexOf(const rt::Form& form, const rt::Control* control)
{
    const auto& controls = form.controls();
    for (std::size_t i = 0; i < controls.size(); ++i)
        if (controls[i] == control)
            return static_cast<int>(i);
    return -1;
}

bool hasWidget(rt::ControlKind kind)
{
    return kind == rt::ControlKind::CommandButton || kind == rt::ControlKind::TextBox ||
           kind == rt::ControlKind::ListBox;
}

page::WidgetKind widgetKind(rt::ControlKind kind)
{
    switch (kind) {
    case rt::ControlKind::TextBox:
        return page::WidgetKind::TextBox;
    case rt::ControlKind::ListBox:
        return page::WidgetKind::ListBox;
    default:
        break;
    }
    return page::WidgetKind::Button;
}

int pixels(float twips) { return static_cast<int>(std::lround(rt::toPixels(twips))); }

// A control's box on its window in pixels: its position is relative to its container.
rt::RectF boxOnWindow(const rt::BoxControl& control)
{
    float left = control.Left;
    float top = control.Top;
    for (const rt::PictureBox* box = control.container(); box; box = box->container()) {
        left += box->Left;
        top += box->Top;
    }
    return rt::pixelRect(left, top, control.Width, control.Height);
}

page::WidgetState stateOf(const rt::BoxControl& control)
{
    page::WidgetState state{.box = boxOnWindow(control),
                            .shown = control.shownOnWindow(),
                            .enabled = true,
                            .fontFamily = {},
                            .fontPx = 0,
                            .text = {},
                            .rows = {}};
    const auto useFont = [&state](const rt::Font& font) {
        const rt::Face face = rt::faceOf(font);
        state.fontFamily = face.family;
        state.fontPx = face.px;
    };
    switch (control.kind()) {
    case rt::ControlKind::CommandButton: {
        const auto& button = static_cast<const rt::CommandButton&>(control);
        state.enabled = button.Enabled;
        state.text = button.Caption;
        useFont(button.Font);
        break;
    }
    case rt::ControlKind::TextBox: {
        const auto& box = static_cast<const rt::TextBox&>(control);
        state.text = box.Text;
        useFont(box.Font);
        break;
    }
    case rt::ControlKind::ListBox: {
        const auto& list = static_cast<const rt::ListBox&>(control);
        for (int i = 0; i < list.ListCount(); ++i)
            state.rows.push_back(list.List(i));
        useFont(list.Font);
        break;
    }
    default:
        break;
    }
    return state;
}

} // namespace

PagePresenter::PagePresenter(rt::Runtime& runtime) : m_runtime(&runtime)
{
    runtime.setPresenter(this);
}

PagePresenter::~PagePresenter() { m_runtime->setPresenter(nullptr); }

PagePresenter::Panel* PagePresenter::find(const rt::Form& form)
{
    const auto it = m_panels.find(&form);
    return it == m_panels.end() ? nullptr : &it->second;
}

rt::Form* PagePresenter::formOf(int panel) const
{
    for (const auto& [form, shown] : m_panels)
        if (shown.number == panel)
            return const_cast<rt::Form*>(form);
    return nullptr;
}

rt::Control* PagePresenter::controlOf(int panel, int control) const
{
    const rt::Form* form = formOf(panel);
    if (!form || control < 0 || control >= static_cast<int>(form->controls().size()))
        return nullptr;
    return form->controls()[static_cast<std::size_t>(control)];
}

void PagePresenter::formLoaded(rt::Form& form)
{
    const int number = m_nextNumber++;
    m_panels.emplace(&form, Panel{.number = number});
    const rt::FormFrame& frame = form.frame();
    page::panelCreate(number, form.name(),
                      {.clientWidth = pixels(frame.clientWidth),
                       .clientHeight = pixels(frame.clientHeight),
                       .borderWidth = pixels(frame.designLeft),
                       .titleHeight = pixels(frame.designTop)});
    const auto& controls = form.controls();
    for (std::size_t i = 0; i < controls.size(); ++i)
        if (hasWidget(controls[i]->kind()))
            page::widgetCreate(number, static_cast<int>(i), widgetKind(controls[i]->kind()),
                               controls[i]->displayName());
}

void PagePresenter::formShown(rt::Form& form)
{
    if (Panel* panel = find(form)) {
        present(form, *panel);
        page::panelShow(panel->number);
        showFocus(form, *panel);
    }
}

void PagePresenter::formHidden(rt::Form& form)
{
    if (Panel* panel = find(form))
        page::panelHide(panel->number);
}

void PagePresenter::formUnloaded(rt::Form& form)
{
    if (Panel* panel = find(form)) {
        page::panelRemove(panel->number);
        m_panels.erase(&form);
    }
}

void PagePresenter::formChanged(rt::Form& form)
{
    if (Panel* panel = find(form); panel && form.visible())
        page::requestFrame(panel->number);
}

void PagePresenter::focusMoved(rt::Form& form)
{
    if (Panel* panel = find(form))
        showFocus(form, *panel);
}

void PagePresenter::endRequested() { page::ended(); }

void PagePresenter::pauseChanged(rt::Form& form)
{
    if (Panel* panel = find(form)) {
        panel->bandAgain = true;
        page::requestFrame(panel->number);
        page::paused(panel->number, m_runtime->pausedForm() == &form);
    }
}

void PagePresenter::muteChanged(bool muted) { page::muted(muted); }

void PagePresenter::frame(int number)
{
    for (auto& [form, panel] : m_panels)
        if (panel.number == number)
            present(*const_cast<rt::Form*>(form), panel);
}

void PagePresenter::redrawAll()
{
    for (auto& [form, panel] : m_panels) {
        panel.wholeAgain = true;
        page::requestFrame(panel.number);
    }
}

// Brings the panel and its controls in step with the form and draws what changed.
void PagePresenter::present(rt::Form& form, Panel& panel)
{
    if (panel.caption != form.Caption.value())
        page::panelCaption(panel.number, *(panel.caption = form.Caption.value()));
    if (panel.enabled != form.Enabled.value())
        page::panelEnabled(panel.number, *(panel.enabled = form.Enabled.value()));
    std::optional<rt::Point> place;
    if (form.placed())
        place = rt::Point{pixels(form.Left + form.frame().designLeft),
                          pixels(form.Top + form.frame().designTop)};
    if (panel.place != place)
        page::panelPlace(panel.number, *(panel.place = place));
    syncWidgets(form, panel);
    showFocus(form, panel);
    rt::Form::Changes changes = takeChanges(form);
    changes.whole = changes.whole || std::exchange(panel.wholeAgain, false);
    const rt::FormFrame& frame = form.frame();
    const rt::Size client{pixels(frame.clientWidth), pixels(frame.clientHeight)};
    rt::Region damaged =
        panel.damage.collect(form, changes, rt::Rect{0, 0, client.width, client.height});
    const rt::PauseBanner banner = rt::pauseBanner(client);
    // Where the banner was taken away, what it covered is painted again.
    if (std::exchange(panel.bandAgain, false))
        damaged.add(banner.band);
    if (!damaged.isEmpty())
        paintForm(panel.number, form, damaged,
                  m_runtime->pausedForm() == &form ? &banner : nullptr);
}

void PagePresenter::syncWidgets(const rt::Form& form, const Panel& panel)
{
    const auto& controls = form.controls();
    for (std::size_t i = 0; i < controls.size(); ++i)
        if (hasWidget(controls[i]->kind()))
            page::widgetSync(panel.number, static_cast<int>(i),
                             stateOf(static_cast<const rt::BoxControl&>(*controls[i])));
}

void PagePresenter::showFocus(const rt::Form& form, Panel& panel)
{
    const int focused = indexOf(form, form.focused());
    if (panel.focused != focused)
        page::focus(panel.number, *(panel.focused = focused));
}

} // namespace rtweb
