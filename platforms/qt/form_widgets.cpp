#include "platforms/qt/form_widgets.h"

#include "platforms/qt/conversions.h"
#include "runtime/core/controls.h"
#include "runtime/core/form.h"
#include "runtime/core/runtime.h"

#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

namespace rtqt {

namespace {

// A control's box on the window in pixels: its position is relative to its container.
QRect geometryOnWindow(const rt::BoxControl& control, const rt::Zoom& zoom)
{
    float left = control.Left;
    float top = control.Top;
    for (const rt::PictureBox* box = control.container(); box; box = box->container()) {
        left += box->Left;
        top += box->Top;
    }
    return toQRectF(zoom.map(rt::pixelRect(left, top, control.Width, control.Height))).toRect();
}

void setFontIfChanged(QWidget& widget, const rt::Font& font, const rt::Zoom& zoom)
{
    QFont wanted = toQFont(font);
    wanted.setPixelSize(qMax(1, qRound(wanted.pixelSize() * zoom.factor)));
    if (widget.font() != wanted)
        widget.setFont(wanted);
}

void syncButton(QPushButton& widget, const rt::CommandButton& button, const rt::Zoom& zoom)
{
    const QString caption = QString::fromStdString(button.Caption);
    if (widget.text() != caption)
        widget.setText(caption);
    setFontIfChanged(widget, button.Font, zoom);
    if (widget.isEnabled() != button.Enabled)
        widget.setEnabled(button.Enabled);
}

void syncTextBox(QLineEdit& widget, const rt::TextBox& textBox, const rt::Zoom& zoom)
{
    const QString text = QString::fromStdString(textBox.Text);
    if (widget.text() != text)
        widget.setText(text);
    setFontIfChanged(widget, textBox.Font, zoom);
}

void syncListBox(QListWidget& widget, const rt::ListBox& listBox, const rt::Zoom& zoom)
{
    while (widget.count() > listBox.ListCount())
        delete widget.takeItem(widget.count() - 1);
    while (widget.count() < listBox.ListCount())
        widget.addItem(QString());
    for (int i = 0; i < listBox.ListCount(); ++i) {
        const QString row = QString::fromStdString(listBox.List(i));
        if (widget.item(i)->text() != row)
            widget.item(i)->setText(row);
    }
    setFontIfChanged(widget, listBox.Font, zoom);
}

} // namespace

FormWidgets::FormWidgets(QWidget& window, rt::Form& form) : m_form(&form)
{
    for (rt::Control* control : form.controls()) {
        switch (control->kind()) {
        case rt::ControlKind::CommandButton:
        case rt::ControlKind::TextBox:
        case rt::ControlKind::ListBox:
            create(window, static_cast<rt::BoxControl&>(*control));
            break;
        default:
            break;
        }
    }
}

void FormWidgets::create(QWidget& window, rt::BoxControl& control)
{
    QWidget* widget = nullptr;
    switch (control.kind()) {
    case rt::ControlKind::CommandButton: {
        auto* button = new QPushButton(&window);
        auto* model = static_cast<rt::CommandButton*>(&control);
        QObject::connect(button, &QPushButton::clicked, button, [this, model] {
            if (m_form)
                m_form->runtime().click(*model);
        });
        widget = button;
        break;
    }
    case rt::ControlKind::TextBox: {
        auto* edit = new QLineEdit(&window);
        auto* model = static_cast<rt::TextBox*>(&control);
        QObject::connect(edit, &QLineEdit::textEdited, edit, [this, model](const QString& text) {
            if (m_form)
                m_form->runtime().typeText(*model, text.toStdString());
        });
        widget = edit;
        break;
    }
    case rt::ControlKind::ListBox: {
        auto* list = new QListWidget(&window);
        // The game's lists are tables to read: no selection, and keys stay with the window.
        list->setSelectionMode(QAbstractItemView::NoSelection);
        list->setFocusPolicy(Qt::NoFocus);
        widget = list;
        break;
    }
    default:
        return;
    }
    widget->setObjectName(QString::fromStdString(control.displayName()));
    m_bindings.push_back({&control, widget});
}

void FormWidgets::sync(const rt::Zoom& zoom)
{
    m_zoom = zoom;
    if (!m_form)
        return;
    for (const Binding& binding : m_bindings)
        syncOne(binding);
}

void FormWidgets::syncOne(const Binding& binding)
{
    QWidget& widget = *binding.widget;
    const rt::BoxControl& control = *binding.control;
    switch (control.kind()) {
    case rt::ControlKind::CommandButton:
        syncButton(static_cast<QPushButton&>(widget),
                   static_cast<const rt::CommandButton&>(control), m_zoom);
        break;
    case rt::ControlKind::TextBox:
        syncTextBox(static_cast<QLineEdit&>(widget), static_cast<const rt::TextBox&>(control),
                    m_zoom);
        break;
    case rt::ControlKind::ListBox:
        syncListBox(static_cast<QListWidget&>(widget), static_cast<const rt::ListBox&>(control),
                    m_zoom);
        break;
    default:
        break;
    }
    const QRect geometry = geometryOnWindow(control, m_zoom);
    if (widget.geometry() != geometry)
        widget.setGeometry(geometry);
    const bool shown = control.shownOnWindow();
    if (widget.isHidden() == shown)
        widget.setVisible(shown);
}

void FormWidgets::detach()
{
    m_form = nullptr;
    for (Binding& binding : m_bindings)
        binding.control = nullptr;
}

QWidget* FormWidgets::widgetOf(const rt::Control* control) const
{
    for (const Binding& binding : m_bindings)
        if (control && binding.control == control)
            return binding.widget;
    return nullptr;
}

rt::Control* FormWidgets::controlOf(const QObject* widget) const
{
    for (const Binding& binding : m_bindings)
        if (binding.widget == widget)
            return binding.control;
    return nullptr;
}

std::vector<QWidget*> FormWidgets::widgets() const
{
    std::vector<QWidget*> result;
    result.reserve(m_bindings.size());
    for (const Binding& binding : m_bindings)
        result.push_back(binding.widget);
    return result;
}

} // namespace rtqt
