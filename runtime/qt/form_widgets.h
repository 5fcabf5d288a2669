#pragma once

#include "runtime/qt/zoom.h"

#include <vector>

class QObject;
class QWidget;

namespace rt {
class BoxControl;
class CommandButton;
class Form;
} // namespace rt

namespace rtqt {

// The real Qt widgets of a window's buttons, text boxes and list boxes, created in layout order
// (so the tab order is the layout order) and kept in step with their controls. A click or an
// edit goes back to the game through the runtime.
class FormWidgets {
public:
    FormWidgets(QWidget& window, rt::Form& form);
    FormWidgets(const FormWidgets&) = delete;
    FormWidgets& operator=(const FormWidgets&) = delete;

    // Copies the controls' state into the widgets, placed and sized by `zoom`; text only where it
    // differs, so a caret and a selection survive.
    void sync(const Zoom& zoom);
    // The form is being discarded: no widget may reach its controls any more.
    void detach();

    // The first button or text box in layout order that is shown and enabled, or null.
    QWidget* firstFocusable() const;
    // The button a widget stands for, or null when it is not one of the buttons.
    rt::CommandButton* buttonOf(const QObject* widget) const;
    std::vector<QWidget*> widgets() const;

private:
    struct Binding {
        rt::BoxControl* control;
        QWidget* widget;
    };
    void create(QWidget& window, rt::BoxControl& control);
    void syncOne(const Binding& binding);

    rt::Form* m_form;
    std::vector<Binding> m_bindings;
    Zoom m_zoom;
};

} // namespace rtqt
