// The page's key and pad mapping against the numbers the build read from the C++ headers.
import assert from "node:assert/strict";
import { test } from "node:test";

import { loadBuilt } from "./built.mjs";

const [{ KeyCodes: K, PadButton: Pad }, { keyCodeOf, shiftMaskOf, padMaskOf }] =
    await loadBuilt("constants.js", "mapping.js");

test("a browser key code becomes the game's key code, 0 for keys the game has none for", () => {
    const cases = [
        ["KeyA", K.kKeyA], ["KeyM", K.kKeyM], ["KeyP", K.kKeyP], ["KeyZ", K.kKeyA + 25],
        ["Digit0", K.kKey0], ["Digit9", K.kKey0 + 9], ["Numpad7", K.kKeyNumpad0 + 7],
        ["F1", K.kKeyF1], ["F12", K.kKeyF12], ["F13", 0], ["F0", 0],
        ["ArrowLeft", K.kKeyLeft], ["ArrowDown", K.kKeyDown], ["Space", K.kKeySpace],
        ["NumpadEnter", K.kKeyEnter], ["ShiftRight", K.kKeyShift], ["Tab", K.kKeyTab],
        ["Keya", 0], ["KeyAB", 0], ["MetaLeft", 0], ["", 0], [undefined, 0],
    ];
    for (const [code, expected] of cases)
        assert.equal(keyCodeOf({ code }), expected, String(code));
});

test("the shift mask holds Shift, Ctrl and Alt, and nothing for Meta", () => {
    assert.equal(shiftMaskOf({ shiftKey: true }), K.kShiftKey);
    assert.equal(shiftMaskOf({ ctrlKey: true, altKey: true }), K.kCtrlKey | K.kAltKey);
    assert.equal(shiftMaskOf({ metaKey: true }), 0);
});

function pad(pressed, axes = [0, 0], mapping = "standard") {
    const buttons = Array.from({ length: 17 }, (_, i) => ({ pressed: pressed.includes(i) }));
    return { mapping, buttons, axes };
}

test("a standard pad's d-pad, stick, south button and Start become pad buttons", () => {
    const cases = [
        [pad([]), 0], [pad([14]), Pad.kPadLeft], [pad([15, 0]), Pad.kPadRight | Pad.kPadSouth],
        [pad([12, 13, 9]), Pad.kPadUp | Pad.kPadDown | Pad.kPadStart],
        [pad([], [-0.6, 0]), Pad.kPadLeft], [pad([], [0.6, 0]), Pad.kPadRight],
        [pad([], [0.4, 0.9]), 0], [pad([14], [0.9, 0]), Pad.kPadLeft | Pad.kPadRight],
        [pad([0, 14], [0, 0], ""), 0], // another layout's buttons mean other things
        [{ mapping: "standard", buttons: [], axes: [] }, 0],
    ];
    for (const [gamepad, expected] of cases)
        assert.equal(padMaskOf(gamepad), expected, JSON.stringify(gamepad));
});
