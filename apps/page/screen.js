// The black screen the panels stand on, the zoom they are drawn at, and the panels by number.
import * as bridge from "./bridge.js";

export let screen = null;
export let zoom = 1;
export let ratio = 1; // the device's pixels to a CSS pixel
export const panels = new Map();

export function attach(element) {
    screen = element;
}

// The zoom and the pixel ratio measured again: the game zooms every window by what fits its
// largest on the screen, and draws everything again.
export function measure() {
    ratio = window.devicePixelRatio || 1;
    zoom = bridge.fit(screen.clientWidth, screen.clientHeight);
}

// The panel the keys go to: the front one on screen.
export function activePanel() {
    let front = null;
    for (const panel of panels.values())
        if (!panel.element.hidden && (!front || panel.z > front.z))
            front = panel;
    return front;
}

export function frontPanelNumber() {
    const panel = activePanel();
    return panel ? panel.number : 0;
}
