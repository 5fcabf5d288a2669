#pragma once

#include "runtime/presentation/display_list.h"
#include "runtime/presentation/zoom.h"

#include <QObject>
#include <QWidget>

#include <vector>

namespace rt {
class BoxControl;
class Control;
class Form;
} // namespace rt

namespace rtqt {

// The real Qt widgets of a window's buttons, text boxes and list boxes, kept in step with their
// controls. A click or an edit goes back to the game through the runtime.
class FormWidgets {
public:
    FormWidgets(QWidget& window, rt::Form& form);
    FormWidgets(const FormWidgets&) = delete;
    FormWidgets& operator=(const FormWidgets&) = delete;

    // Copies the controls' state into the widgets, placed and sized by `zoom`; text only where it
    // differs, so a caret and a selection survive.
    void sync(const rt::Zoom& zoom);
    // The form is being discarded: no widget may reach its controls any more.
    void detach();

    // The widget that shows `control`, or null.
    QWidget* widgetOf(const rt::Control* control) const;
    // The control a widget shows, or null.
    rt::Control* controlOf(const QObject* widget) const;
    std::vector<QWidget*> widgets() const;

private:
    struct Binding {
        rt::BoxControl* control;
        QWidget* widget;
    };
    void create(QWidget& window, rt::BoxControl& control);
    void syncOne(QWidget& widget, const rt::WidgetView& view);

    rt::Form* m_form;
    std::vector<Binding> m_bindings;
};

} // namespace rtqt
