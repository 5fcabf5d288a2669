#include "platforms/qt/form_window.h"

#include "platforms/qt/conversions.h"
#include "platforms/qt/keys.h"
#include "platforms/qt/painting.h"
#include "runtime/core/form.h"
#include "runtime/core/key_codes.h"
#include "runtime/core/presenter.h"
#include "runtime/core/runtime.h"
#include "runtime/presentation/pause_banner.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
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

FormWindow::FormWindow(rt::Form& form, Pictures& pictures, rt::AlarmClock& clock)
    : QWidget(nullptr, flagsFor(form.BorderStyle)), m_form(&form), m_pictures(&pictures),
      m_widgets(*this, form), m_clock(&clock), m_frameAlarm(clock.alarm([this] { frameDue(); })),
      m_layout(qRound(rt::toPixels(form.frame().clientWidth)),
               qRound(rt::toPixels(form.frame().clientHeight)))
{
    setObjectName(QString::fromStdString(form.name()));
    // A sizable window opens at the layout's size; made larger, its picture zooms to fit.
    if (form.BorderStyle == rt::BorderStyle::FixedDialog)
        setFixedSize(m_layout);
    else
        resize(m_layout);
    // The whole client area is painted every time: Qt need not clear it first.
    setAttribute(Qt::WA_OpaquePaintEvent);
    // Keys and the focus are seen by whichever of the window's widgets receives them.
    installEventFilter(this);
    for (QWidget* widget : m_widgets.widgets())
        widget->installEventFilter(this);
    syncWindow();
}

void FormWindow::formShown()
{
    present();
    show();
    showFocus();
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

void FormWindow::focusMoved() { showFocus(); }

void FormWindow::pauseChanged()
{
    present();
    update();
}

// The focus is where the runtime has it.
void FormWindow::showFocus()
{
    if (!m_form)
        return;
    if (QWidget* wanted = m_widgets.widgetOf(m_form->focused())) {
        if (focusWidget() != wanted)
            wanted->setFocus(Qt::OtherFocusReason);
    } else if (QWidget* had = focusWidget()) {
        had->clearFocus();
    }
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
    showFocus();
    // Only where something changed: the rest of the window already shows the form as it is.
    const rt::Region damaged =
        m_damage.collect(*m_form, rt::Presenter::takeChanges(*m_form),
                         rt::Rect{0, 0, m_layout.width(), m_layout.height()});
    if (!damaged.isEmpty())
        update(toQRegion(m_zoom.map(damaged)));
}

void FormWindow::syncWindow()
{
    const QString caption = QString::fromStdString(m_form->Caption);
    if (windowTitle() != caption)
        setWindowTitle(caption);
    if (isEnabled() != m_form->Enabled)
        setEnabled(m_form->Enabled);
    placeOnScreen();
}

// Left and Top place the outer frame; the client area sits inside the form's nominal frame.
void FormWindow::placeOnScreen()
{
    if (!m_form->placed())
        return;
    const rt::FormFrame& frame = m_form->frame();
    const QPoint client(qRound(rt::toPixels(m_form->Left + frame.designLeft)),
                        qRound(rt::toPixels(m_form->Top + frame.designTop)));
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
    const QRect picture = toQRect(m_zoom.map(rt::Rect{0, 0, m_layout.width(), m_layout.height()}));
    for (const QRect& band : event->region() - picture)
        painter.fillRect(band, Qt::black);
    if (!m_form)
        return;
    painter.setClipRect(picture);
    rt::Region exposed;
    for (const QRect& rect : event->region())
        exposed.add(m_zoom.unmap(fromQRect(rect)));
    const rt::PauseBanner banner = rt::pauseBanner(fromQSize(m_layout));
    const bool paused = m_form->runtime().pausedForm() == m_form;
    paintCommands(painter, rt::displayList(*m_form, exposed, m_zoom, paused ? &banner : nullptr),
                  *m_pictures);
}

void FormWindow::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    const rt::Zoom fitted = rt::Zoom::toFit(fromQSize(m_layout), fromQSize(size()));
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
    event->setAccepted(!m_form);
    if (m_form)
        m_form->runtime().close(*m_form);
}

// A stage the player leaves for another window, or minimises, pauses.
void FormWindow::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    const bool left = (event->type() == QEvent::ActivationChange && !isActiveWindow()) ||
                      (event->type() == QEvent::WindowStateChange && isMinimized());
    if (left && m_form)
        m_form->runtime().lostFocus(*m_form);
}

// A click on the window itself, not on one of its widgets: a paused stage plays on.
void FormWindow::mouseReleaseEvent(QMouseEvent* event)
{
    QWidget::mouseReleaseEvent(event);
    if (m_form && event->button() == Qt::LeftButton)
        m_form->runtime().tapped(*m_form);
}

bool FormWindow::eventFilter(QObject* watched, QEvent* event)
{
    // The player's click into a widget moves the game's focus; Qt's own moves do not.
    if (event->type() == QEvent::MouseButtonPress && m_form)
        if (rt::Control* control = m_widgets.controlOf(watched))
            m_form->runtime().focus(*control);
    if (event->type() != QEvent::KeyPress)
        return false;
    // A key goes first to the focused widget, or to the window when none has the focus, and
    // then travels up to the window if that widget ignores it: act on it only the first time.
    QWidget* focused = focusWidget();
    if (watched != (focused ? static_cast<QObject*>(focused) : this))
        return false;
    return keyPressed(watched, static_cast<const QKeyEvent&>(*event));
}

// The key goes to the runtime as the game's key code. The text box still edits its own text
// (what it then holds reaches the game as typed text); every other key is the game's alone.
bool FormWindow::keyPressed(QObject* receiver, const QKeyEvent& event)
{
    const int code = virtualKey(event.key(), event.modifiers());
    if (m_form && code)
        m_form->runtime().keyDown(*m_form, code, shiftMask(event.modifiers()),
                                  event.isAutoRepeat());
    return !qobject_cast<QLineEdit*>(receiver) || code == rt::kKeyTab || code == rt::kKeyEnter;
}

} // namespace rtqt
