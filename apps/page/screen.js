// The black screen the panels stand on, the zoom they are drawn at, and the panels by number.

// The largest window of the game, the wave stage with its frame, in the layout's pixels: the
// page zooms every window by the largest whole factor at which it fits the screen, or scales it
// down to fit a smaller one (a phone).
const kLargestWindow = { width: 671, height: 522 };

export let screen = null;
export let zoom = 1;
export let ratio = 1; // the device's pixels to a CSS pixel
export const panels = new Map();

export function attach(element) {
    screen = element;
}

// The screen's size in the layout's pixels, with the zoom and the pixel ratio measured again.
export function measure() {
    const width = screen.clientWidth;
    const height = screen.clientHeight;
    ratio = window.devicePixelRatio || 1;
    const fit = Math.min(width / kLargestWindow.width, height / kLargestWindow.height);
    zoom = fit >= 1 ? Math.floor(fit) : Math.max(0.25, fit);
    return { width: Math.floor(width / zoom), height: Math.floor(height / zoom) };
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
