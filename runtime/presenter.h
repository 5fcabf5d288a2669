#pragma once

namespace rt {

class Form;

// What the runtime tells the presentation layer (the Qt windows). Headless runs use the
// do-nothing default. Every call is made on the one user-interface thread.
class Presenter {
public:
    virtual ~Presenter() = default;
    virtual void formLoaded(Form&) {}
    // Shown, or shown again: bring it forward.
    virtual void formShown(Form&) {}
    virtual void formHidden(Form&) {}
    // The form is about to be discarded: drop everything that points to it.
    virtual void formUnloaded(Form&) {}
    // The first change since the form was last drawn.
    virtual void formChanged(Form&) {}
    virtual void endRequested() {}
};

} // namespace rt
