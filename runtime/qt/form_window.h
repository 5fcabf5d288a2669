#pragma once

#include "runtime/qt/damage.h"
#include "runtime/qt/form_widgets.h"

#include <QElapsedTimer>
#include <QPoint>
#include <QTimer>
#include <QWidget>

#include <optional>

class QKeyEvent;

namespace rt {
class Form;
}

namespace rtqt {

class Pictures;

// The top-level window of one loaded form: painted from its controls, with real widgets for
// its buttons, text boxes and lists, keys passed to the form, and closing left to the form.
// After formUnloaded it holds no pointer to the form and deletes itself from the event loop,
// since a handler of this very window may still be on the stack.
class FormWindow final : public QWidget {
public:
    FormWindow(rt::Form& form, Pictures& pictures);

    void formShown();
    void formHidden();
    void formChanged();
    void formUnloaded();

protected:
    void paintEvent(QPaintEvent* event) override;
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
    // Fires at the next display frame when a change comes sooner than a frame after the last.
    QTimer m_frameTimer;
    QElapsedTimer m_sincePaint;
    std::optional<QPoint> m_placedAt;
};

} // namespace rtqt
