// The game's compiled instance and every call the page makes into it. Until the game starts the
// player's input has nowhere to go, so those calls do nothing before then.
import createZelvatron from "./zelvatron.js";

let game = null;
let started = false;

// Loads the game; `page` is what its EM_JS functions reach as `Module.page`.
export async function load(page) {
    game = await createZelvatron({ page });
}

export function isStarted() {
    return started;
}

// Has the game hand over its pictures, which the page decodes before it starts.
export function pictures() {
    game._zv_pictures();
}

// Starts the game on the title window, or playing back a recording's bytes (null for none),
// which go to the game through its heap however long they are.
export function start(replayBytes, muted) {
    started = true;
    const length = replayBytes ? replayBytes.length : 0;
    const at = replayBytes ? game._malloc(Math.max(1, length)) : 0;
    if (replayBytes)
        game.HEAPU8.set(replayBytes, at);
    game._zv_start(at, length, muted ? 1 : 0);
    if (at)
        game._free(at);
}

function afterStart(call) {
    return (...args) => (started ? call(...args) : undefined);
}

export const frame = afterStart((panel) => game._zv_frame(panel));
export const key = afterStart((panel, code, shift, repeat) =>
    game._zv_key(panel, code, shift, repeat ? 1 : 0));
export const click = afterStart((panel, control) => game._zv_click(panel, control));
export const type = afterStart((panel, control, text) =>
    game.ccall("zv_type", null, ["number", "number", "string"], [panel, control, text]));
export const focus = afterStart((panel, control) => game._zv_focus(panel, control));
export const close = afterStart((panel) => game._zv_close(panel));
// The raw PadButton mask held on the gamepads and the touch bar.
export const held = afterStart((mask) => game._zv_held(mask));
export const setMuted = afterStart((muted) => game._zv_set_muted(muted ? 1 : 0));
// The focus or the page lost: the game pauses the front stage (0 for none) and lets pads go.
export const lostFocus = afterStart((panel) => game._zv_lost_focus(panel));
// A touch on a panel's field: the game plays on if that stage was paused.
export const tapped = afterStart((panel) => game._zv_tapped(panel));
export const pageHidden = afterStart((hidden) => game._zv_page_hidden(hidden ? 1 : 0));
// The screen's size in CSS pixels, from the start on: the zoom the game draws at from now on.
export function fit(width, height) {
    return game._zv_fit(width, height);
}

// The session so far in the desktop's replay format.
export function recording() {
    return game.UTF8ToString(game._zv_recording());
}

// The session so far as a board sees it: {ending, line, why, games: [{name, level, score}]}.
export function boardView() {
    return JSON.parse(game.UTF8ToString(game._zv_board_view()));
}
