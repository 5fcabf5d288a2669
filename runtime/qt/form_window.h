#pragma once

#include "runtime/qt/alarm_clock.h"
#include "runtime/qt/damage.h"
#include "runtime/qt/form_widgets.h"
#include "runtime/qt/zoom.h"

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
// its buttons, text boxes and lists, keys passed to the form, and closing left to the form.
// A sizable window may be resized or maximised: the picture then zooms to fit, letterboxed.
// After formUnloaded it holds no pointer to the form and deletes itself from the event loop,
// since a handler of this very window may still be on the stack. Frames are paced on `clock`.
class FormWindow final : public QWidget {
public:
    FormWindow(rt::Form& form, Pictures& pictures, AlarmClock& clock);

    void formShown();
    void formHidden();
    void formChanged();
    void formUnloaded();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void frameDue();
    int msToNextFrame() const;
    void present();
    void syncWindow();
    void placeOnScreen();
    bool keyPressed(QObject* receiver, const QKeyEvent& event);
    double frameMs() const;

    rt::Form* m_form;
    Pictures* m_pictures;
    FormWidgets m_widgets;
    Damage m_damage;
    const rt::Clock* m_clock;
    // Rings at the next display frame when a change comes sooner than a frame after the last.
    std::unique_ptr<Alarm> m_frameAlarm;
    std::optional<std::int64_t> m_lastPaintUs;
    std::optional<QPoint> m_placedAt;
    // The client area the layout describes, in device-independent pixels, and how it is shown.
    QSize m_layout;
    Zoom m_zoom;
};

} // namespace rtqt
