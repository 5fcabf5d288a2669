// The page's key and pad mapping against the numbers the build read from the C++ headers.
import assert from "node:assert/strict";
import fs from "node:fs";
import os from "node:os";
import path from "node:path";
import { after, test } from "node:test";
import { pathToFileURL } from "node:url";

// The built modules, beside a package.json that tells Node they are ES modules as the page is.
const site = process.env.ZELVATRON_SITE || new URL("../../build/web/", import.meta.url).pathname;
const copies = fs.mkdtempSync(path.join(os.tmpdir(), "zelvatron-page-unit-"));
after(() => fs.rmSync(copies, { recursive: true, force: true }));
fs.writeFileSync(path.join(copies, "package.json"), '{ "type": "module" }\n');
for (const name of ["constants.js", "mapping.js"])
    fs.copyFileSync(path.join(site, name), path.join(copies, name));
const load = (name) => import(pathToFileURL(path.join(copies, name)).href);
const { KeyCodes: K, PadButton: Pad } = await load("constants.js");
const { keyCodeOf, shiftMaskOf, padMaskOf } = await load("mapping.js");

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
