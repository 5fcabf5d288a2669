// The browser's keys and gamepads in the game's terms: key codes, shift masks and pad buttons.
// Pure functions of the browser's event or pad object, so Node's tests can check them.
import { KeyCodes as K, PadButton as Pad } from "./constants.js";

// The keys a browser names by their `code`, whatever the keyboard's layout.
const kNamedKeys = {
    Backspace: K.kKeyBackspace, Tab: K.kKeyTab, Enter: K.kKeyEnter, NumpadEnter: K.kKeyEnter,
    ShiftLeft: K.kKeyShift, ShiftRight: K.kKeyShift, ControlLeft: K.kKeyControl,
    ControlRight: K.kKeyControl, AltLeft: K.kKeyAlt, AltRight: K.kKeyAlt, Escape: K.kKeyEscape,
    Space: K.kKeySpace, PageUp: K.kKeyPageUp, PageDown: K.kKeyPageDown, End: K.kKeyEnd,
    Home: K.kKeyHome, ArrowLeft: K.kKeyLeft, ArrowUp: K.kKeyUp, ArrowRight: K.kKeyRight,
    ArrowDown: K.kKeyDown, Insert: K.kKeyInsert, Delete: K.kKeyDelete,
};

// The game's key code for a keyboard event, or 0 for a key the game has no code for.
export function keyCodeOf(event) {
    const code = event.code || "";
    let match;
    if ((match = /^Key([A-Z])$/.exec(code)))
        return K.kKeyA + match[1].charCodeAt(0) - "A".charCodeAt(0);
    if ((match = /^Digit([0-9])$/.exec(code)))
        return K.kKey0 + Number(match[1]);
    if ((match = /^Numpad([0-9])$/.exec(code)))
        return K.kKeyNumpad0 + Number(match[1]);
    if ((match = /^F([0-9]{1,2})$/.exec(code)) && Number(match[1]) >= 1 &&
        K.kKeyF1 + Number(match[1]) - 1 <= K.kKeyF12)
        return K.kKeyF1 + Number(match[1]) - 1;
    return kNamedKeys[code] || 0;
}

export function shiftMaskOf(event) {
    return (event.shiftKey ? K.kShiftKey : 0) | (event.ctrlKey ? K.kCtrlKey : 0) |
           (event.altKey ? K.kAltKey : 0);
}

// A key the browser acts on itself (a shortcut, a function key): the page leaves it to it.
export function isBrowserKey(event, code) {
    return event.ctrlKey || event.altKey || event.metaKey ||
           (code >= K.kKeyF1 && code <= K.kKeyF12);
}

// The buttons held on a gamepad in the standard mapping: d-pad or stick, A/Cross, Start. A pad
// of another layout (a wheel, a throttle) is not read: its axes and buttons mean other things.
export function padMaskOf(pad) {
    if (pad.mapping !== "standard")
        return 0;
    const held = (i) => pad.buttons[i] !== undefined && pad.buttons[i].pressed;
    const x = pad.axes.length > 0 ? pad.axes[0] : 0;
    return (held(14) || x < -0.5 ? Pad.kPadLeft : 0) | (held(15) || x > 0.5 ? Pad.kPadRight : 0) |
           (held(12) ? Pad.kPadUp : 0) | (held(13) ? Pad.kPadDown : 0) |
           (held(0) ? Pad.kPadSouth : 0) | (held(9) ? Pad.kPadStart : 0);
}
