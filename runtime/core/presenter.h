#pragma once

#include "runtime/core/form.h"

namespace rt {

// What the runtime tells a front end (the Qt windows, the web page). Headless runs use the
// do-nothing default. Every call is made on the one user-interface thread.
//
// A front end draws forms and hands the player's raw input to the Runtime (keyDown, click,
// typeText, focus, close); it decides nothing a player could notice. Each time it brings a form
// up to date on screen it calls takeChanges(form), and only then is the next change reported
// through formChanged. A call added here is passed on by ForwardingPresenter too.
class Presenter {
public:
    virtual ~Presenter() = default;
    virtual void formLoaded(Form&) {}
    // Shown, or shown again: bring it forward and show its focus.
    virtual void formShown(Form&) {}
    virtual void formHidden(Form&) {}
    // The form is about to be discarded: drop everything that points to it.
    virtual void formUnloaded(Form&) {}
    // The first change since the form was last brought up to date.
    virtual void formChanged(Form&) {}
    // The focus moved to form.focused() (Tab, a click, a window shown); show it at once, so the
    // next key the player types goes where the game says.
    virtual void focusMoved(Form&) {}
    virtual void endRequested() {}
    // The game paused or resumed on `form` (Runtime::pausedForm): show or take away the banner.
    virtual void pauseChanged(Form&) {}
    virtual void muteChanged(bool /*muted*/) {}

    // What changed on `form` since the last call; the next change calls formChanged again.
    static Form::Changes takeChanges(Form& form);
};

// Passes every call on to `next`, the front end that shows the game: an app derives from it to
// watch windows come and go, and calls the base from each call it overrides.
class ForwardingPresenter : public Presenter {
public:
    explicit ForwardingPresenter(Presenter& next) : m_next(&next) {}
    void formLoaded(Form& form) override { m_next->formLoaded(form); }
    void formShown(Form& form) override { m_next->formShown(form); }
    void formHidden(Form& form) override { m_next->formHidden(form); }
    void formUnloaded(Form& form) override { m_next->formUnloaded(form); }
    void formChanged(Form& form) override { m_next->formChanged(form); }
    void focusMoved(Form& form) override { m_next->focusMoved(form); }
    void endRequested() override { m_next->endRequested(); }
    void pauseChanged(Form& form) override { m_next->pauseChanged(form); }
    void muteChanged(bool muted) override { m_next->muteChanged(muted); }

protected:
    Presenter& next() const { return *m_next; }

private:
    Presenter* m_next;
};

} // namespace rt
