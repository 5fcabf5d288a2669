#include "platforms/qt/qt_runtime.h"

#include "platforms/qt/form_window.h"
#include "platforms/qt/pictures.h"
#include "platforms/qt/realtime_clock.h"
#include "runtime/core/runtime.h"
#include "runtime/presentation/geometry.h"
#include "runtime/realtime/ticker.h"

#include <QApplication>
#include <QByteArray>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QPointer>
#include <QScreen>

#include <map>
#include <memory>
#include <optional>
#include <vector>

namespace rtqt {

void preparePlatform()
{
    if (!qEnvironmentVariableIsSet("QT_XCB_NO_MITSHM"))
        qputenv("QT_XCB_NO_MITSHM", "1");
}

struct QtRuntime::Impl final : rt::Presenter {
    // On `handed`, or on the wall clock when it is null.
    Impl(rt::Runtime& runtime, rt::AlarmClock* handed);
    ~Impl() override;

    void formLoaded(rt::Form& form) override;
    void formShown(rt::Form& form) override;
    void formHidden(rt::Form& form) override;
    void formUnloaded(rt::Form& form) override;
    void formChanged(rt::Form& form) override;
    void focusMoved(rt::Form& form) override;
    void endRequested() override;
    void pauseChanged(rt::Form& form) override;

    FormWindow* find(const rt::Form& form) const;

    rt::Runtime& runtime;
    std::optional<RealtimeClock> wallClock;
    rt::AlarmClock& clock;
    rt::Ticker ticker;
    Pictures pictures;
    std::map<const rt::Form*, std::unique_ptr<FormWindow>> windows;
    // Shown forms, the one shown last at the back.
    std::vector<rt::Form*> shown;
    // Windows of unloaded forms, waiting for the event loop to delete them.
    std::vector<QPointer<FormWindow>> retired;
};

QtRuntime::Impl::Impl(rt::Runtime& runtime, rt::AlarmClock* handed)
    : runtime(runtime),
      wallClock(handed ? std::nullopt : std::optional<RealtimeClock>(runtime.scheduler().now())),
      clock(handed ? *handed : *wallClock), ticker(runtime.scheduler(), clock)
{
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        runtime.screen().Width = static_cast<float>(screen->size().width() * rt::kTwipsPerPixel);
        runtime.screen().Height = static_cast<float>(screen->size().height() * rt::kTwipsPerPixel);
    }
    runtime.scheduler().useClock(clock);
    runtime.setPresenter(this);
    // Windows loaded before the runtime went on screen get theirs now.
    for (rt::Form* form : runtime.loadedForms()) {
        formLoaded(*form);
        if (form->visible())
            formShown(*form);
    }
    ticker.rearm();
}

QtRuntime::Impl::~Impl()
{
    runtime.setPresenter(nullptr);
    runtime.scheduler().useVirtualClock();
    windows.clear();
    for (const QPointer<FormWindow>& window : retired)
        delete window.data();
}

FormWindow* QtRuntime::Impl::find(const rt::Form& form) const
{
    const auto it = windows.find(&form);
    return it == windows.end() ? nullptr : it->second.get();
}

void QtRuntime::Impl::formLoaded(rt::Form& form)
{
    windows[&form] = std::make_unique<FormWindow>(form, pictures, clock);
}

void QtRuntime::Impl::formShown(rt::Form& form)
{
    std::erase(shown, &form);
    shown.push_back(&form);
    if (FormWindow* window = find(form))
        window->formShown();
}

void QtRuntime::Impl::formHidden(rt::Form& form)
{
    std::erase(shown, &form);
    if (FormWindow* window = find(form))
        window->formHidden();
}

void QtRuntime::Impl::formChanged(rt::Form& form)
{
    if (FormWindow* window = find(form))
        window->formChanged();
}

void QtRuntime::Impl::focusMoved(rt::Form& form)
{
    if (FormWindow* window = find(form))
        window->focusMoved();
}

void QtRuntime::Impl::formUnloaded(rt::Form& form)
{
    std::erase(shown, &form);
    const auto it = windows.find(&form);
    if (it == windows.end())
        return;
    FormWindow* window = it->second.release();
    windows.erase(it);
    window->formUnloaded();
    std::erase_if(retired, [](const QPointer<FormWindow>& gone) { return gone.isNull(); });
    retired.emplace_back(window);
}

void QtRuntime::Impl::pauseChanged(rt::Form& form)
{
    if (FormWindow* window = find(form))
        window->pauseChanged();
}

void QtRuntime::Impl::endRequested()
{
    for (auto& [form, window] : windows)
        window->hide();
    QCoreApplication::quit();
}

QtRuntime::QtRuntime(rt::Runtime& runtime) : m_impl(std::make_unique<Impl>(runtime, nullptr)) {}

QtRuntime::QtRuntime(rt::Runtime& runtime, rt::AlarmClock& clock)
    : m_impl(std::make_unique<Impl>(runtime, &clock))
{
}

QtRuntime::~QtRuntime() = default;

QWidget* QtRuntime::window(const rt::Form& form) const { return m_impl->find(form); }

rt::Form* QtRuntime::frontForm() const
{
    const QWidget* active = QApplication::activeWindow();
    for (rt::Form* form : m_impl->shown)
        if (m_impl->find(*form) == active)
            return form;
    return m_impl->shown.empty() ? nullptr : m_impl->shown.back();
}

} // namespace rtqt
