#include "runtime/qt/form_window.h"

#include "runtime/form.h"
#include "runtime/qt/conversions.h"
#include "runtime/qt/keys.h"
#include "runtime/qt/painting.h"
#include "runtime/runtime.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QResizeEvent>
#include <QScreen>

#include <cmath>

namespace rtqt {

namespace {

Qt::WindowFlags flagsFor(rt::BorderStyle style)
{
    if (style == rt::BorderStyle::FixedDialog)
        return Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint;
    return Qt::Window;
}

} // namespace

FormWindow::FormWindow(rt::Form& form, Pictures& pictures, AlarmClock& clock)
    : QWidget(nullptr, flagsFor(form.BorderStyle)), m_form(&form), m_pictures(&pictures),
      m_widgets(*this, form), m_clock(&clock), m_frameAlarm(clock.alarm([this] { frameDue(); })),
      m_layout(qRound(toPixels(form.frame().clientWidth)),
               qRound(toPixels(form.frame().clientHeight)))
{
    setObjectName(QString::fromStdString(form.name()));
    // A sizable window opens at the layout's size; made larger, its picture zooms to fit.
    if (form.BorderStyle == rt::BorderStyle::FixedDialog)
        setFixedSize(m_layout);
    else
        resize(m_layout);
    // The whole client area is painted every time: Qt need not clear it first.
    setAttribute(Qt::WA_OpaquePaintEvent);
    // Keys are seen by whichever of the window's widgets receives them first.
    installEventFilter(this);
    for (QWidget* widget : m_widgets.widgets())
        widget->installEventFilter(this);
    syncWindow();
}

void FormWindow::formShown()
{
    const bool wasHidden = isHidden();
    present();
    show();
    if (wasHidden)
        if (QWidget* first = m_widgets.firstFocusable())
            first->setFocus(Qt::ActiveWindowFocusReason);
    raise();
    activateWindow();
}

void FormWindow::formHidden()
{
    m_frameAlarm->stop();
    hide();
}

// A dirty window repaints at most once a display frame; a window that does not change, never.
void FormWindow::formChanged()
{
    if (!m_form || isHidden() || m_frameAlarm->isActive())
        return;
    m_frameAlarm->start(msToNextFrame());
}

// A paint that came after the wait was set (one asked for earlier, or an expose) moves the next
// frame on; otherwise the window is brought up to date.
void FormWindow::frameDue()
{
    if (const int wait = msToNextFrame(); wait > 0) {
        m_frameAlarm->start(wait);
        return;
    }
    present();
}

// Whole milliseconds until a display frame has passed since the last paint.
int FormWindow::msToNextFrame() const
{
    const double sinceMs =
        m_lastPaintUs ? static_cast<double>(m_clock->nowUs() - *m_lastPaintUs) / 1e3 : 1e9;
    return static_cast<int>(std::ceil(std::max(0.0, frameMs() - sinceMs)));
}

void FormWindow::formUnloaded()
{
    m_form = nullptr;
    m_widgets.detach();
    m_frameAlarm->stop();
    hide();
    deleteLater();
}

// Brings the window and its widgets in step with the form; the paint follows from the event
// loop and reads the form as it then is.
void FormWindow::present()
{
    if (!m_form)
        return;
    syncWindow();
    m_widgets.sync(m_zoom);
    // Only where something changed: the rest of the window already shows the form as it is.
    const QRegion damaged = m_damage.collect(*m_form, QRect(QPoint(0, 0), m_layout));
    m_form->clearDirty();
    if (!damaged.isEmpty())
        update(m_zoom.map(damaged));
}

void FormWindow::syncWindow()
{
    const QString caption = QString::fromStdString(m_form->Caption);
    if (windowTitle() != caption)
        setWindowTitle(caption);
    if (isEnabled() != m_form->Enabled) {
        setEnabled(m_form->Enabled);
        // Disabling took the focus away; give it back where a fresh window would have it.
        if (isEnabled() && !focusWidget())
            if (QWidget* first = m_widgets.firstFocusable())
                first->setFocus(Qt::OtherFocusReason);
    }
    placeOnScreen();
}

// Left and Top place the outer frame; the client area sits inside the form's nominal frame.
void FormWindow::placeOnScreen()
{
    if (!m_form->placed())
        return;
    const rt::FormFrame& frame = m_form->frame();
    const QPoint client(qRound(toPixels(m_form->Left + frame.designLeft)),
                        qRound(toPixels(m_form->Top + frame.designTop)));
    if (m_placedAt == client)
        return;
    m_placedAt = client;
    setGeometry(QRect(client, size()));
}

double FormWindow::frameMs() const
{
    const QScreen* display = screen();
    const double rate = display ? display->refreshRate() : 0.0;
    return 1000.0 / (rate >= 1.0 ? rate : 60.0);
}

void FormWindow::paintEvent(QPaintEvent* event)
{
    // Frames are spaced from the paint itself: it may start well after present() asked for it
    // (the backing store can wait for the display server first).
    m_lastPaintUs = m_clock->nowUs();
    QPainter painter(this);
    const QRect picture = m_zoom.map(QRect(QPoint(0, 0), m_layout));
    for (const QRect& band : event->region() - picture)
        painter.fillRect(band, Qt::black);
    if (!m_form)
        return;
    painter.setClipRect(picture);
    painter.translate(m_zoom.offset);
    painter.scale(m_zoom.factor, m_zoom.factor);
    paintForm(painter, *m_form, *m_pictures, m_zoom.unmap(event->region()));
}

void FormWindow::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    const Zoom fitted = Zoom::toFit(m_layout, size());
    if (fitted == m_zoom)
        return;
    m_zoom = fitted;
    if (m_form)
        m_widgets.sync(m_zoom);
    update();
}

// The form decides what closing its frame means: end the game, hide, or act as a button.
void FormWindow::closeEvent(QCloseEvent* event)
{
    if (!m_form) {
        event->accept();
        return;
    }
    event->ignore();
    rt::Form* form = m_form;
    form->runtime().dispatch([form] { form->closeRequested(); });
}

bool FormWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::KeyPress)
        return false;
    // A key goes first to the focused widget, or to the window when none has the focus, and
    // then travels up to the window if that widget ignores it: act on it only the first time.
    QWidget* focused = focusWidget();
    if (watched != (focused ? static_cast<QObject*>(focused) : this))
        return false;
    return keyPressed(watched, static_cast<const QKeyEvent&>(*event));
}

bool FormWindow::keyPressed(QObject* receiver, const QKeyEvent& event)
{
    if (!m_form || !m_form->Enabled)
        return false;
    if (m_form->KeyPreview)
        if (const int code = virtualKey(event.key(), event.modifiers()))
            m_form->runtime().keyDown(*m_form, code, shiftMask(event.modifiers()));
    // The key's handler may have unloaded the window.
    if (!m_form)
        return false;
    // A plain window does not press its focused button on Enter; the game's windows do.
    const bool enter = event.key() == Qt::Key_Return || event.key() == Qt::Key_Enter;
    if (enter && !event.isAutoRepeat())
        if (rt::CommandButton* button = m_widgets.buttonOf(receiver)) {
            m_form->runtime().click(*button);
            return true;
        }
    return false;
}

} // namespace rtqt
