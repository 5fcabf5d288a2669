// The game in a browser page: the same runtime and game as the desktop, shown by PagePresenter
// on the page's panels and run on the page's clock. The page (bridge.js) calls the functions below;
// each hands the player's raw input to the runtime, which decides what it does.
#include "assets/assets.h"
#include "platforms/web/page.h"
#include "platforms/web/page_clock.h"
#include "platforms/web/page_file_store.h"
#include "platforms/web/page_presenter.h"
#include "platforms/web/page_sound.h"
#include "runtime/core/controls.h"
#include "runtime/core/replay.h"
#include "runtime/core/runtime.h"
#include "runtime/presentation/zoom.h"
#include "runtime/realtime/pad_keys.h"
#include "runtime/realtime/replay_clock.h"
#include "runtime/realtime/replay_player.h"
#include "runtime/realtime/ticker.h"
#include "stage/sounds.h"
#include "title/form2.h"
#include "tools/verify/verifier.h"
#include "wave/form1.h"

#include <emscripten/emscripten.h>

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <variant>

namespace {

// Tells the page a replay is over and the game is the player's: played out (line 0), or stopped
// at a line refused or damaged, or not played at all (a file that is no replay).
EM_JS(void, page_replay_ended, (int line, const char* message),
      { Module.page.replayEnded(line, UTF8ToString(message)); });
// Tells the page the recording of this session stopped, and why.
EM_JS(void, page_recording_stopped, (const char* why),
      { Module.page.recordingStopped(UTF8ToString(why)); });

void replayEnded(const std::optional<rt::ReplayError>& stop)
{
    page_replay_ended(stop ? stop->line : 0, stop ? stop->message.c_str() : "");
}

// A text as a JSON string: quotes, backslashes and control characters escaped.
std::string jsonString(std::string_view text)
{
    static constexpr char kHex[] = "0123456789abcdef";
    std::string out = "\"";
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (byte < 0x20) {
            out += "\\u00";
            out += kHex[byte >> 4];
            out += kHex[byte & 0xf];
        } else {
            out += c;
        }
    }
    return out + '"';
}

// What the verifier makes of a recording, for the page: how it ended and the games the table
// took, as JSON.
std::string verdictJson(const verify::Verdict& verdict)
{
    const char* ending = verdict.ending == verify::Ending::PlayedOut ? "played out"
                         : verdict.ending == verify::Ending::Refused ? "refused"
                                                                     : "over a limit";
    std::string json = "{\"ending\":" + jsonString(ending) +
                       ",\"line\":" + std::to_string(verdict.line) +
                       ",\"why\":" + jsonString(verdict.why) + ",\"games\":[";
    for (std::size_t i = 0; i < verdict.games.size(); ++i) {
        const verify::FinishedGame& game = verdict.games[i];
        json += (i ? ",{" : "{") + std::string("\"name\":") + jsonString(game.name) +
                ",\"level\":" + jsonString(game.level) +
                ",\"score\":" + std::to_string(game.score) + "}";
    }
    return json + "]}";
}

// One session of the game on the page, from the title window on. Its input is recorded as it
// goes, in the desktop's replay format, so the page can save it.
class Session {
public:
    Session(std::optional<rt::Recording> replay, rt::Size screenPx, const rt::Zoom& zoom,
            bool muted)
        : m_clock(m_runtime.scheduler().now()), m_replayClock(m_clock),
          m_ticker(m_runtime.scheduler(), replay ? static_cast<rt::AlarmClock&>(m_replayClock)
                                                 : static_cast<rt::AlarmClock&>(m_clock)),
          m_presenter(m_runtime),
          m_recording([](const std::string& why) { page_recording_stopped(why.c_str()); }),
          m_sound(stage::kAllSounds),
          // A browser cannot tell the desktop's key repeat: a keyboard's usual one.
          m_padKeys(m_clock, rt::KeyRepeat{}, [this](int keyCode, int shift, bool repeat) {
              if (rt::Form* form = m_presenter.formOf(rtweb::page::frontPanel()))
                  m_runtime.keyDown(*form, keyCode, shift, repeat);
          })
    {
        m_runtime.setFiles(std::make_unique<rtweb::PageFileStore>());
        m_runtime.sounds().setOutput(&m_sound);
        m_runtime.setMuted(muted);
        setScreen(screenPx);
        m_presenter.setZoom(zoom);
        m_runtime.scheduler().useClock(replay ? static_cast<const rt::Clock&>(m_replayClock)
                                              : static_cast<const rt::Clock&>(m_clock));
        m_runtime.onInput = [this](const rt::InputEvent& event) { m_recording.record(event); };
        m_runtime.dispatch([this] { m_runtime.form<title::Form2>().Show(); });
        if (replay) {
            m_player.emplace(m_runtime, m_replayClock, std::move(*replay), replayEnded);
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
    const std::string& recording() const { return m_recording.text(); }

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
    rt::ReplayText m_recording;
    std::optional<rt::ReplayPlayer> m_player;
    rtweb::PageSound m_sound;
    rt::PadKeys m_padKeys;
};

// The page's one session; made by zv_start.
std::unique_ptr<Session> g_session;

// The page's screen in the layout's pixels and the zoom every window is shown at: the largest
// window, the wave stage's, fits the screen.
rt::Size g_screen{1024, 768};
rt::Zoom g_zoom;

} // namespace

extern "C" {

// Hands every picture's bytes to the page, which decodes them before the game starts.
EMSCRIPTEN_KEEPALIVE void zv_pictures()
{
    for (const assets::Picture& picture : assets::pictures())
        rtweb::page::picture(picture.name, picture.png);
}

// Starts the game on the title window, muted if the player left it so; with a recording's text
// (`replayBytes` bytes in memory the page allocated), plays it back instead of taking the
// player's input. A text that is no replay this game can play is not played: the page is told
// why, and the game is the player's at once.
EMSCRIPTEN_KEEPALIVE void zv_start(const char* replayText, int replayBytes, int muted)
{
    std::optional<rt::Recording> replay;
    if (replayText) {
        rt::ParsedReplay parsed =
            rt::parseReplay(std::string_view(replayText, static_cast<std::size_t>(replayBytes)));
        if (const auto* error = std::get_if<rt::ReplayError>(&parsed))
            replayEnded(*error);
        else
            replay = std::get<rt::Recording>(std::move(parsed));
    }
    g_session.reset();
    g_session = std::make_unique<Session>(std::move(replay), g_screen, g_zoom, muted != 0);
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

// The page was hidden or the browser window lost the focus: a stage in play in front (`panel`,
// 0 for none) pauses, and the pads let go.
EMSCRIPTEN_KEEPALIVE void zv_lost_focus(int panel)
{
    if (!g_session)
        return;
    g_session->padKeys().letGo();
    if (rt::Form* form = g_session->presenter().formOf(panel))
        g_session->runtime().lostFocus(*form);
}

// A tap or a click on a panel's field: a stage paused there plays on.
EMSCRIPTEN_KEEPALIVE void zv_tapped(int panel)
{
    if (!g_session)
        return;
    if (rt::Form* form = g_session->presenter().formOf(panel))
        g_session->runtime().tapped(*form);
}

// The page was hidden or shown again: the game's clock stands still meanwhile.
EMSCRIPTEN_KEEPALIVE void zv_page_hidden(int hidden)
{
    if (g_session)
        g_session->clock().setPageHidden(hidden != 0);
}

// The page's screen is `width` x `height` CSS pixels, at the start or after a change of its size
// or pixel ratio: the zoom every window is shown at, which windows centred from now on use.
EMSCRIPTEN_KEEPALIVE double zv_fit(int width, int height)
{
    g_zoom = {rt::Zoom::toFit(rt::outerSize(wave::kFrame), {width, height}).factor, {}};
    g_screen = {static_cast<int>(width / g_zoom.factor), static_cast<int>(height / g_zoom.factor)};
    if (g_session) {
        g_session->setScreen(g_screen);
        g_session->presenter().setZoom(g_zoom);
    }
    return g_zoom.factor;
}

// The session so far in the desktop's replay format.
EMSCRIPTEN_KEEPALIVE const char* zv_recording()
{
    return g_session ? g_session->recording().c_str() : "";
}

// The session so far as a board sees it: played again headless from a fresh start, on to the
// end of a game still in play. JSON: {"ending", "line", "why", "games": [{"name", "level",
// "score"}]}, valid until the next call.
EMSCRIPTEN_KEEPALIVE const char* zv_board_view()
{
    static std::string json;
    json = verdictJson(verify::verify(g_session ? g_session->recording() : std::string()));
    return json.c_str();
}
}
