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

void setFontIfChanged(QWidget& widget, const rt::WidgetView& view)
{
    QFont wanted(QString::fromStdString(view.family));
    wanted.setPixelSize(static_cast<int>(view.px));
    wanted.setBold(view.bold);
    if (widget.font() != wanted)
        widget.setFont(wanted);
}

void setTextIfChanged(auto& widget, const std::string& text)
{
    const QString wanted = QString::fromStdString(text);
    if (widget.text() != wanted)
        widget.setText(wanted);
}

void syncRows(QListWidget& widget, const std::vector<std::string>& rows)
{
    const int count = static_cast<int>(rows.size());
    while (widget.count() > count)
        delete widget.takeItem(widget.count() - 1);
    while (widget.count() < count)
        widget.addItem(QString());
    for (int i = 0; i < count; ++i) {
        const QString row = QString::fromStdString(rows[static_cast<std::size_t>(i)]);
        if (widget.item(i)->text() != row)
            widget.item(i)->setText(row);
    }
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
    if (!m_form)
        return;
    for (const rt::WidgetView& view : rt::widgetViews(*m_form, zoom))
        if (QWidget* widget = widgetOf(m_form->controls()[static_cast<std::size_t>(view.control)]))
            syncOne(*widget, view);
}

void FormWidgets::syncOne(QWidget& widget, const rt::WidgetView& view)
{
    switch (view.kind) {
    case rt::WidgetKind::Button:
        setTextIfChanged(static_cast<QPushButton&>(widget), view.text);
        if (widget.isEnabled() != view.enabled)
            widget.setEnabled(view.enabled);
        break;
    case rt::WidgetKind::TextBox:
        setTextIfChanged(static_cast<QLineEdit&>(widget), view.text);
        break;
    case rt::WidgetKind::ListBox:
        syncRows(static_cast<QListWidget&>(widget), view.rows);
        break;
    }
    setFontIfChanged(widget, view);
    const QRect geometry = toQRectF(view.box).toRect();
    if (widget.geometry() != geometry)
        widget.setGeometry(geometry);
    if (widget.isHidden() == view.shown)
        widget.setVisible(view.shown);
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
