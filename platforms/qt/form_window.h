#pragma once

#include "platforms/qt/form_widgets.h"
#include "runtime/presentation/damage.h"
#include "runtime/presentation/zoom.h"
#include "runtime/realtime/alarm_clock.h"

#include <QPoint>
#include <QSize>
#include <QWidget>

#include <cstdint>
#include <memory>
#include <optional>

class QKeyEvent;

namespace rt {
class Form;
}

namespace rtqt {

class Pictures;

// The top-level window of one loaded form: painted from its controls, with real widgets for
// its buttons, text boxes and lists; keys, clicks, typing, focus and closing are handed to the
// runtime, which decides what they do.
// A sizable window may be resized or maximised: the picture then zooms to fit, letterboxed.
// After formUnloaded it holds no pointer to the form and deletes itself from the event loop,
// since a handler of this very window may still be on the stack. Frames are paced on `clock`.
class FormWindow final : public QWidget {
public:
    FormWindow(rt::Form& form, Pictures& pictures, rt::AlarmClock& clock);

    void formShown();
    void formHidden();
    void formChanged();
    void focusMoved();
    void formUnloaded();
    // The banner goes up or comes down.
    void pauseChanged();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void frameDue();
    int msToNextFrame() const;
    void present();
    void syncWindow();
    void placeOnScreen();
    void showFocus();
    bool keyPressed(QObject* receiver, const QKeyEvent& event);
    double frameMs() const;

    rt::Form* m_form;
    Pictures* m_pictures;
    FormWidgets m_widgets;
    rt::Damage m_damage;
    const rt::Clock* m_clock;
    // Rings at the next display frame when a change comes sooner than a frame after the last.
    std::unique_ptr<rt::Alarm> m_frameAlarm;
    std::optional<std::int64_t> m_lastPaintUs;
    std::optional<QPoint> m_placedAt;
    // The client area the layout describes, in device-independent pixels, and how it is shown.
    QSize m_layout;
    rt::Zoom m_zoom;
};

} // namespace rtqt
