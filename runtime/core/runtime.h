#pragma once

#include "runtime/core/files.h"
#include "runtime/core/form.h"
#include "runtime/core/input_event.h"
#include "runtime/core/presenter.h"
#include "runtime/core/random.h"
#include "runtime/core/scheduler.h"
#include "runtime/core/sound.h"

#include <functional>
#include <memory>
#include <optional>
#include <typeindex>
#include <utility>
#include <vector>

namespace rt {

class CommandButton;
class Control;
class TextBox;

// The desktop in twips.
struct ScreenSize {
    float Width = 1024 * 15;
    float Height = 768 * 15;
};

// Owns the loaded windows, the scheduler, the random draws and the files. Every event enters
// the game through dispatch(), one handler at a time; windows unloaded by a handler are destroyed
// only after the outermost handler returns.
class Runtime {
public:
    Runtime();
    Runtime(const Runtime&) = delete;
    Runtime& operator=(const Runtime&) = delete;
    ~Runtime();

    // The window of class F, loaded on first reference: built from its layout, its timers
    // started and its Form_Load run, shown or not.
    template <class F> F& form()
    {
        if (Form* existing = find(typeid(F)))
            return static_cast<F&>(*existing);
        auto created = std::make_unique<F>(*this);
        F& ref = *created;
        load(typeid(F), std::move(created));
        return ref;
    }

    template <class F> bool isLoaded() const { return find(typeid(F)) != nullptr; }

    void unload(Form& form);
    void end();
    bool ended() const { return m_ended; }

    // Runs one event's handler. Calls nest (a Show inside a handler runs the other form's load).
    template <class Fn> void dispatch(Fn&& handler)
    {
        if (m_ended)
            return;
        ++m_depth;
        struct Leave {
            Runtime* runtime;
            ~Leave() { runtime->leaveHandler(); }
        } leave{this};
        std::forward<Fn>(handler)();
    }

    // The player's raw input, as a front end hands it over. Each lands between ticks (every tick
    // due by then runs first) and is heard by onInput once taken. Only a window that is shown,
    // enabled and loaded takes input, and only from shown (and enabled) controls.
    //
    // A key down, auto-repeats included (`repeat`): Form_KeyDown hears it while KeyPreview is
    // set or no control has the focus; then Tab (Shift+Tab) moves the focus in tab order, and a
    // fresh Enter presses the focused button, or the default button while the focus is on a
    // text box, and a fresh Space presses the focused button. On a stage window a fresh P or
    // Escape pauses and resumes the game and a fresh M mutes and unmutes; while paused no other
    // key is heard.
    void keyDown(Form& form, int keyCode, int shift, bool repeat = false);
    // A click on a button: the focus moves to it and it is pressed.
    void click(CommandButton& button);
    // What a text box holds after the player's typing; the focus is on it.
    void typeText(TextBox& box, std::string text);
    // The player put the focus on a control (a click into the text box).
    void focus(Control& control);
    // The player closed the window with its frame: the form decides what that means.
    void close(Form& form);
    // The window lost the keyboard focus, was minimised, or its page was hidden: a stage in play
    // pauses, and stays paused until the player resumes.
    void lostFocus(Form& form);
    // A click or a tap on a window: on the stage the game is paused on, it plays on, as P does.
    void tapped(Form& form);
    // The stage window the game is paused on; null while it plays.
    Form* pausedForm() const { return m_paused; }
    // Lands a recorded event on the loaded windows, at its recorded instant; false, with the
    // reason in `why` when given, when its window or control refused it (not open, hidden,
    // disabled) or is not there.
    bool replay(const InputEvent& event, std::string* why = nullptr);
    std::function<void(const InputEvent&)> onInput;
    // Runs after every outermost handler, once the windows it unloaded are gone: where a soak
    // checks what must always hold.
    std::function<void()> onHandlerDone;
    // While a recording plays back, the player's own keys, clicks and closes are ignored; once
    // it is over they count again.
    void ignorePlayerInput(bool ignored) { m_ignoringPlayer = ignored; }

    std::vector<Form*> loadedForms() const;

    Scheduler& scheduler() { return m_scheduler; }
    ScreenSize& screen() { return m_screen; }
    Random& random() { return m_random; }
    Sounds& sounds() { return m_sounds; }
    // Muting is the player's choice, not a move in the game: it is not recorded.
    void setMuted(bool muted);
    FileStore& files() { return *m_files; }
    void setFiles(std::unique_ptr<FileStore> files) { m_files = std::move(files); }
    Presenter& presenter() { return *m_presenter; }
    void setPresenter(Presenter* presenter) { m_presenter = presenter ? presenter : &m_headless; }

private:
    struct Loaded {
        std::type_index type;
        std::unique_ptr<Form> form;
    };
    Form* find(std::type_index type) const;
    void load(std::type_index type, std::unique_ptr<Form> form);
    void leaveHandler();
    Form* findByName(const std::string& name) const;
    // Why the player's input for `form` (and `control` on it) would be refused now; empty when
    // it would be taken.
    std::string refusal(const Form& form, const Control* control) const;
    // Each lands an input between ticks (at `replayAt` for a recorded one); when the window takes
    // it, it is heard and run with time standing at its instant. They return why the input was
    // refused, empty when it was taken.
    template <class Run>
    std::string takeInput(InputEvent event, std::optional<std::int64_t> replayAt, const Form& form,
                          const Control* control, Run&& run);
    std::string hearKey(Form& form, int keyCode, int shift, std::optional<std::int64_t> replayAt);
    std::string press(CommandButton& button, std::optional<std::int64_t> replayAt);
    std::string type(TextBox& box, std::string text, std::optional<std::int64_t> replayAt);
    std::string closeWindow(Form& form, std::optional<std::int64_t> replayAt);
    std::string pause(Form& form, std::optional<std::int64_t> replayAt);
    std::string resume(Form& form, std::optional<std::int64_t> replayAt);
    // P, Escape and M on a stage window; true when the key was one of them or the game is paused.
    bool stageKey(Form& form, int keyCode, bool repeat);

    Scheduler m_scheduler;
    ScreenSize m_screen;
    Random m_random;
    Sounds m_sounds;
    std::unique_ptr<FileStore> m_files;
    Presenter m_headless;
    Presenter* m_presenter = &m_headless;
    std::vector<Loaded> m_forms;
    // Unloaded windows wait here until no handler of theirs can still be running.
    std::vector<std::unique_ptr<Form>> m_unloaded;
    int m_depth = 0;
    bool m_ended = false;
    bool m_ignoringPlayer = false;
    Form* m_paused = nullptr;
};

} // namespace rt
