#include "platforms/web/page_presenter.h"

#include "platforms/web/page.h"
#include "runtime/core/controls.h"
#include "runtime/core/form.h"
#include "runtime/core/runtime.h"
#include "runtime/presentation/display_list.h"
#include "runtime/presentation/pause_banner.h"

#include <cmath>
#include <utility>

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

int pixels(float twips) { return static_cast<int>(std::lround(rt::toPixels(twips))); }

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
        if (const auto kind = rt::widgetKindOf(controls[i]->kind()))
            page::widgetCreate(number, static_cast<int>(i), *kind, controls[i]->displayName());
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
        askFrame(*panel);
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
        askFrame(*panel);
        page::paused(panel->number, m_runtime->pausedForm() == &form);
    }
}

void PagePresenter::muteChanged(bool muted) { page::muted(muted); }

void PagePresenter::frame(int number)
{
    for (auto& [form, panel] : m_panels)
        if (panel.number == number) {
            panel.frameAsked = false;
            present(*const_cast<rt::Form*>(form), panel);
        }
}

// A tick changes a stage many times over; the page is asked for its frame once.
void PagePresenter::askFrame(Panel& panel)
{
    if (!std::exchange(panel.frameAsked, true))
        page::requestFrame(panel.number);
}

void PagePresenter::setZoom(const rt::Zoom& zoom)
{
    m_zoom = zoom;
    for (auto& [form, panel] : m_panels) {
        panel.wholeAgain = true;
        askFrame(panel);
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
    if (damaged.isEmpty())
        return;
    m_commands.write(rt::displayList(form, damaged, m_zoom,
                                     m_runtime->pausedForm() == &form ? &banner : nullptr));
    page::paint(panel.number, m_commands);
}

void PagePresenter::syncWidgets(const rt::Form& form, const Panel& panel)
{
    for (const rt::WidgetView& view : rt::widgetViews(form, m_zoom))
        page::widgetSync(panel.number, view);
}

void PagePresenter::showFocus(const rt::Form& form, Panel& panel)
{
    const int focused = indexOf(form, form.focused());
    if (panel.focused != focused)
        page::focus(panel.number, *(panel.focused = focused));
}

} // namespace rtweb
