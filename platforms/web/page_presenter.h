#pragma once

#include "platforms/web/page_commands.h"
#include "runtime/core/presenter.h"
#include "runtime/presentation/damage.h"
#include "runtime/presentation/zoom.h"

#include <map>
#include <memory>
#include <optional>
#include <string>

namespace rt {
class Control;
class Runtime;
} // namespace rt

namespace rtweb {

// Shows the game's windows as panels on the page: a panel per loaded form, drawn from its
// controls at the page's animation frames, with HTML controls for its buttons, text box and
// lists. The player's input comes back through the panel's number (see page_main.cpp).
class PagePresenter final : public rt::Presenter {
public:
    explicit PagePresenter(rt::Runtime& runtime);
    PagePresenter(const PagePresenter&) = delete;
    PagePresenter& operator=(const PagePresenter&) = delete;
    ~PagePresenter() override;

    void formLoaded(rt::Form& form) override;
    void formShown(rt::Form& form) override;
    void formHidden(rt::Form& form) override;
    void formUnloaded(rt::Form& form) override;
    void formChanged(rt::Form& form) override;
    void focusMoved(rt::Form& form) override;
    void endRequested() override;
    void pauseChanged(rt::Form& form) override;
    void muteChanged(bool muted) override;

    // The page's animation frame for a panel that asked for one: bring it up to date.
    void frame(int panel);
    // The zoom the page shows every window at; on a change of it or of the page's pixel ratio,
    // every panel is drawn again whole.
    void setZoom(const rt::Zoom& zoom);

    rt::Form* formOf(int panel) const;
    rt::Control* controlOf(int panel, int control) const;

private:
    struct Panel {
        int number;
        rt::Damage damage;
        bool wholeAgain = false;
        bool bandAgain = false;  // the pause banner came or went
        bool frameAsked = false; // the page will draw it at its next animation frame
        // What the page shows of the window now: it is told only of changes.
        std::optional<std::string> caption;
        std::optional<bool> enabled;
        std::optional<std::optional<rt::Point>> place;
        std::optional<int> focused;
    };
    Panel* find(const rt::Form& form);
    void askFrame(Panel& panel);
    void present(rt::Form& form, Panel& panel);
    void syncWidgets(const rt::Form& form, const Panel& panel);
    void showFocus(const rt::Form& form, Panel& panel);

    rt::Runtime* m_runtime;
    rt::Zoom m_zoom;
    PageCommands m_commands; // the frame's drawing, its memory kept from frame to frame
    std::map<const rt::Form*, Panel> m_panels;
    int m_nextNumber = 1;
};

} // namespace rtweb
