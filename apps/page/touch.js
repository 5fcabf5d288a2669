// The touch bar under the screen, shown once the page is touched: each button held down holds
// its pad button, with several fingers at once; the bar never scrolls, zooms or selects. A tap
// on the front window's field goes to the game, which plays a paused stage on.
import * as bridge from "./bridge.js";
import { PadButton } from "./constants.js";
import { setHeld } from "./held.js";
import { resized } from "./panels.js";
import { activePanel, screen } from "./screen.js";

let touchHeld = 0;
const buttonFingers = []; // the fingers on each touch button

// The page was left: the bar's buttons are up, whatever the fingers did meanwhile.
export function letGoTouch() {
    touchHeld = 0;
    for (const fingers of buttonFingers)
        fingers.clear();
    for (const button of document.querySelectorAll("#touch button"))
        button.classList.remove("held");
    setHeld("touch", 0);
}

function wireButton(button) {
    const bit = PadButton[button.dataset.pad];
    const fingers = new Set();
    buttonFingers.push(fingers);
    const hold = (down) => {
        button.classList.toggle("held", down);
        touchHeld = down ? touchHeld | bit : touchHeld & ~bit;
        setHeld("touch", touchHeld);
    };
    button.addEventListener("pointerdown", (event) => {
        event.preventDefault();
        button.setPointerCapture(event.pointerId);
        fingers.add(event.pointerId);
        hold(true);
    });
    const lift = (event) => {
        if (fingers.delete(event.pointerId) && fingers.size === 0)
            hold(false);
    };
    for (const type of ["pointerup", "pointercancel", "lostpointercapture"])
        button.addEventListener(type, lift);
}

export function wireTouch() {
    const bar = document.getElementById("touch");
    const touched = () => {
        if (!bar.hidden)
            return;
        bar.hidden = false;
        resized();
    };
    window.addEventListener("touchstart", touched, { passive: true, capture: true });
    window.addEventListener("pointerdown", (event) => {
        if (event.pointerType === "touch")
            touched();
    }, true);
    for (const button of bar.querySelectorAll("button"))
        wireButton(button);
    bar.addEventListener("contextmenu", (event) => event.preventDefault());
    bar.addEventListener("touchstart", (event) => event.preventDefault(), { passive: false });
    screen.addEventListener("pointerup", (event) => {
        const panel = activePanel();
        if (event.pointerType === "touch" && panel && panel.client.contains(event.target))
            bridge.tapped(panel.number);
    });
}
