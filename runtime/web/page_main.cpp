// The game in a browser page: the same runtime and game as the desktop, shown by PagePresenter
// on the page's panels and run on the page's clock. The page (page.js) calls the functions below;
// each hands the player's raw input to the runtime, which decides what it does.
#include "assets/assets.h"
#include "runtime/controls.h"
#include "runtime/pad_keys.h"
#include "runtime/replay.h"
#include "runtime/replay_clock.h"
#include "runtime/replay_player.h"
#include "runtime/runtime.h"
#include "runtime/ticker.h"
#include "runtime/web/page.h"
#include "runtime/web/page_clock.h"
#include "runtime/web/page_file_store.h"
#include "runtime/web/page_presenter.h"
#include "runtime/web/page_sound.h"
#include "title/form2.h"

#include <emscripten/emscripten.h>

#include <memory>
#include <optional>
#include <string>
#include <variant>

namespace {

// Tells the page why a replay could not be played, or stopped.
EM_JS(void, page_replay_failed, (int line, const char* message),
      { zv.replayFailed(line, UTF8ToString(message)); });

// One session of the game on the page, from the title window on. Its input is recorded as it
// goes, in the desktop's replay format, so the page can save it.
class Session {
public:
    Session(std::optional<rt::Recording> replay, rt::Size screenPx, bool muted)
        : m_clock(m_runtime.scheduler().now()), m_replayClock(m_clock),
          m_ticker(m_runtime.scheduler(), replay ? static_cast<rt::AlarmClock&>(m_replayClock)
                                                 : static_cast<rt::AlarmClock&>(m_clock)),
          m_presenter(m_runtime), m_recording(std::string(rt::kReplayHeader) + "\n"),
          // A browser cannot tell the desktop's key repeat: a keyboard's usual one.
          m_padKeys(m_clock, rt::KeyRepeat{},
                    [this](int keyCode, int shift, bool repeat) {
                        if (rt::Form* form = m_presenter.formOf(rtweb::page::frontPanel()))
                            m_runtime.keyDown(*form, keyCode, shift, repeat);
                    })
    {
        m_runtime.setFiles(std::make_unique<rtweb::PageFileStore>());
        m_runtime.sounds().setOutput(&m_sound);
        m_runtime.setMuted(muted);
        setScreen(screenPx);
        m_runtime.scheduler().useClock(replay ? static_cast<const rt::Clock&>(m_replayClock)
                                              : static_cast<const rt::Clock&>(m_clock));
        m_runtime.onInput = [this](const rt::InputEvent& event) {
            m_recording += rt::replayLine(event) + "\n";
        };
        m_runtime.dispatch([this] { m_runtime.form<title::Form2>().Show(); });
        if (replay) {
            m_player.emplace(
                m_runtime, m_replayClock, std::move(*replay),
                [](const rt::ReplayError& e) { page_replay_failed(e.line, e.message.c_str()); });
            m_player->start();
        }
        m_ticker.rearm();
    }
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;
    ~Session()
    {
        m_runtime.sounds().setOutput(nullptr);
        m_runtime.scheduler().useVirtualClock();
    }

    rt::Runtime& runtime() { return m_runtime; }
    rt::PadKeys& padKeys() { return m_padKeys; }
    rtweb::PagePresenter& presenter() { return m_presenter; }
    rtweb::PageClock& clock() { return m_clock; }
    const std::string& recording() const { return m_recording; }

    // The page's screen, in pixels: where windows the game centres are centred.
    void setScreen(rt::Size px)
    {
        m_runtime.screen().Width = static_cast<float>(px.width * rt::kTwipsPerPixel);
        m_runtime.screen().Height = static_cast<float>(px.height * rt::kTwipsPerPixel);
    }

    template <class C> C* control(int panel, int index, rt::ControlKind kind)
    {
        rt::Control* control = m_presenter.controlOf(panel, index);
        return control && control->kind() == kind ? static_cast<C*>(control) : nullptr;
    }

private:
    rt::Runtime m_runtime;
    rtweb::PageClock m_clock;
    rt::ReplayClock m_replayClock;
    rt::Ticker m_ticker;
    rtweb::PagePresenter m_presenter;
    std::string m_recording;
    std::optional<rt::ReplayPlayer> m_player;
    rtweb::PageSound m_sound;
    rt::PadKeys m_padKeys;
};

// The page's one session; made by zv_start.
std::unique_ptr<Session> g_session;

} // namespace

extern "C" {

// Hands every picture's bytes to the page, which decodes them before the game starts.
EMSCRIPTEN_KEEPALIVE void zv_pictures()
{
    for (const assets::Picture& picture : assets::pictures())
        rtweb::page::picture(picture.name, picture.png);
}

// Starts the game on the title window, muted if the player left it so; with a recording's text,
// plays it back instead of taking the player's input. False when the recording cannot be read
// (the page is told why).
EMSCRIPTEN_KEEPALIVE int zv_start(const char* replayText, int screenWidthPx, int screenHeightPx,
                                  int muted)
{
    std::optional<rt::Recording> replay;
    if (replayText) {
        rt::ParsedReplay parsed = rt::parseReplay(replayText);
        if (const auto* error = std::get_if<rt::ReplayError>(&parsed)) {
            page_replay_failed(error->line, error->message.c_str());
            return 0;
        }
        replay = std::get<rt::Recording>(std::move(parsed));
    }
    g_session.reset();
    g_session = std::make_unique<Session>(std::move(replay),
                                          rt::Size{screenWidthPx, screenHeightPx}, muted != 0);
    return 1;
}

EMSCRIPTEN_KEEPALIVE void zv_frame(int panel)
{
    if (g_session)
        g_session->presenter().frame(panel);
}

EMSCRIPTEN_KEEPALIVE void zv_key(int panel, int keyCode, int shift, int repeat)
{
    if (!g_session)
        return;
    if (rt::Form* form = g_session->presenter().formOf(panel))
        g_session->runtime().keyDown(*form, keyCode, shift, repeat != 0);
}

EMSCRIPTEN_KEEPALIVE void zv_click(int panel, int control)
{
    if (!g_session)
        return;
    if (auto* button =
            g_session->control<rt::CommandButton>(panel, control, rt::ControlKind::CommandButton))
        g_session->runtime().click(*button);
}

EMSCRIPTEN_KEEPALIVE void zv_type(int panel, int control, const char* text)
{
    if (!g_session)
        return;
    if (auto* box = g_session->control<rt::TextBox>(panel, control, rt::ControlKind::TextBox))
        g_session->runtime().typeText(*box, text);
}

EMSCRIPTEN_KEEPALIVE void zv_focus(int panel, int control)
{
    if (!g_session)
        return;
    if (rt::Control* focused = g_session->presenter().controlOf(panel, control))
        g_session->runtime().focus(*focused);
}

EMSCRIPTEN_KEEPALIVE void zv_close(int panel)
{
    if (!g_session)
        return;
    if (rt::Form* form = g_session->presenter().formOf(panel))
        g_session->runtime().close(*form);
}

// The buttons held on the gamepads and the touch bar, a PadButton mask, whenever it changes.
EMSCRIPTEN_KEEPALIVE void zv_held(unsigned held)
{
    if (g_session)
        g_session->padKeys().setHeld(held);
}

// The page's mute button.
EMSCRIPTEN_KEEPALIVE void zv_set_muted(int muted)
{
    if (g_session)
        g_session->runtime().setMuted(muted != 0);
}

// The page was hidden or the browser window lost the focus: a stage in play in front pauses.
EMSCRIPTEN_KEEPALIVE void zv_lost_focus(int panel)
{
    if (!g_session)
        return;
    if (rt::Form* form = g_session->presenter().formOf(panel))
        g_session->runtime().lostFocus(*form);
}

// The page was hidden or shown again: the game's clock stands still meanwhile.
EMSCRIPTEN_KEEPALIVE void zv_page_hidden(int hidden)
{
    if (g_session)
        g_session->clock().setPageHidden(hidden != 0);
}

// The page's size or pixel ratio changed: windows centred from now on use the new screen.
EMSCRIPTEN_KEEPALIVE void zv_resized(int screenWidthPx, int screenHeightPx)
{
    if (!g_session)
        return;
    g_session->setScreen({screenWidthPx, screenHeightPx});
    g_session->presenter().redrawAll();
}

// The session so far in the desktop's replay format.
EMSCRIPTEN_KEEPALIVE const char* zv_recording()
{
    return g_session ? g_session->recording().c_str() : "";
}
}
