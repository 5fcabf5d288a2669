// Every key goes to the front window as the game's key code. Arrows, Space and the other keys a
// browser would act on never scroll the page; the text box still edits its own text.
import * as bridge from "./bridge.js";
import { KeyCodes } from "./constants.js";
import { isBrowserKey, keyCodeOf, shiftMaskOf } from "./mapping.js";
import { activePanel } from "./screen.js";

function keyDown(event) {
    if (!bridge.isStarted() || event.target.closest(".bar, .board, .offer"))
        return;
    const panel = activePanel();
    const code = keyCodeOf(event);
    if (!panel || !code)
        return;
    bridge.key(panel.number, code, shiftMaskOf(event), event.repeat);
    const inTextBox = event.target instanceof HTMLInputElement &&
                      event.target.classList.contains("widget");
    // In the text box, Tab and Enter are the game's; every other key edits the text.
    const textKey = inTextBox && code !== KeyCodes.kKeyTab && code !== KeyCodes.kKeyEnter;
    if (textKey || isBrowserKey(event, code))
        return;
    event.preventDefault();
}

export function wireKeyboard() {
    window.addEventListener("keydown", keyDown, true);
}
