// Each loaded window of the game as a panel on the screen: the desktop's frame with the caption
// as its title bar and a close box, a canvas the game draws on, placed and sized at the zoom.
import * as bridge from "./bridge.js";
import { measure, panels, ratio, screen, zoom } from "./screen.js";
import { placeWidget, showDomFocus } from "./widgets.js";

let stacking = 0; // the z-index of the front panel
const framesWanted = new Set();
let frameRequested = false;

export function panelCreate(number, name, width, height, border, title) {
    const element = document.createElement("section");
    element.className = "panel";
    element.setAttribute("role", "dialog");
    element.setAttribute("aria-label", name);
    element.dataset.form = name;
    element.hidden = true;
    const bar = document.createElement("div");
    bar.className = "titlebar";
    const caption = document.createElement("span");
    caption.className = "caption";
    const close = document.createElement("button");
    close.type = "button";
    close.className = "close";
    close.tabIndex = -1;
    close.textContent = "\u00d7";
    close.setAttribute("aria-label", "Close");
    close.addEventListener("mousedown", (e) => e.preventDefault());
    close.addEventListener("click", () => bridge.close(number));
    bar.append(caption, close);
    const client = document.createElement("div");
    client.className = "client";
    const canvas = document.createElement("canvas");
    canvas.setAttribute("aria-hidden", "true");
    client.append(canvas);
    element.append(bar, client);
    element.addEventListener("mousedown", () => raise(panel));
    const panel = {
        number, name, element, caption, client, canvas, width, height, border, title,
        ctx: canvas.getContext("2d", { alpha: false }), place: null, widgets: new Map(),
        focused: -1, z: 0, shownCaption: null, enabled: true,
    };
    panels.set(number, panel);
    layOut(panel);
    screen.append(element);
}

// Where the panel stands and how large it is drawn, at the page's zoom and pixel ratio.
function layOut(panel) {
    const z = zoom;
    const outerWidth = panel.width + 2 * panel.border;
    const outerHeight = panel.height + panel.title + panel.border;
    let left, top;
    if (panel.place) {
        left = panel.place.x - panel.border;
        top = panel.place.y - panel.title;
    } else {
        left = (screen.clientWidth / z - outerWidth) / 2;
        top = (screen.clientHeight / z - outerHeight) / 2;
    }
    const style = panel.element.style;
    style.left = Math.max(0, Math.round(left * z)) + "px";
    style.top = Math.max(0, Math.round(top * z)) + "px";
    style.borderWidth = `${panel.border * z}px`;
    const bar = panel.element.firstChild.style;
    bar.height = (panel.title - panel.border) * z + "px";
    bar.fontSize = 12 * z + "px";
    panel.client.style.width = panel.width * z + "px";
    panel.client.style.height = panel.height * z + "px";
    const canvas = panel.canvas;
    const deviceWidth = Math.round(panel.width * z * ratio);
    const deviceHeight = Math.round(panel.height * z * ratio);
    if (canvas.width !== deviceWidth || canvas.height !== deviceHeight) {
        canvas.width = deviceWidth;
        canvas.height = deviceHeight;
    }
    canvas.style.width = panel.width * z + "px";
    canvas.style.height = panel.height * z + "px";
    for (const widget of panel.widgets.values())
        placeWidget(widget);
}

// The screen's size or the pixel ratio changed: every panel laid out again, the game told.
export function resized() {
    measure();
    for (const panel of panels.values())
        layOut(panel);
}

// Where the client area stands on the screen, or null for the middle of it.
export function panelPlace(number, place) {
    const panel = panels.get(number);
    const same = place === null
        ? panel.place === null
        : panel.place && panel.place.x === place.x && panel.place.y === place.y;
    if (same)
        return;
    panel.place = place;
    layOut(panel);
}

export function panelShow(number) {
    const panel = panels.get(number);
    panel.element.hidden = false;
    raise(panel);
}

export function panelHide(number) {
    panels.get(number).element.hidden = true;
    showDomFocus();
}

export function panelRemove(number) {
    panels.get(number).element.remove();
    panels.delete(number);
    framesWanted.delete(number);
    showDomFocus();
}

export function panelCaption(number, caption) {
    const panel = panels.get(number);
    if (panel.shownCaption === caption)
        return;
    panel.shownCaption = caption;
    panel.caption.textContent = caption;
    panel.element.setAttribute("aria-label", caption);
}

export function panelEnabled(number, enabled) {
    const panel = panels.get(number);
    if (panel.enabled === enabled)
        return;
    panel.enabled = enabled;
    panel.element.classList.toggle("disabled", !enabled);
}

// A window shown or clicked comes to the front and takes the keys, as on a desktop.
function raise(panel) {
    panel.z = ++stacking;
    panel.element.style.zIndex = panel.z;
    showDomFocus();
}

// The panels that asked are brought up to date together, at the next animation frame.
export function requestFrame(number) {
    framesWanted.add(number);
    if (frameRequested)
        return;
    frameRequested = true;
    requestAnimationFrame(() => {
        frameRequested = false;
        const wanted = [...framesWanted];
        framesWanted.clear();
        for (const panel of wanted)
            if (panels.has(panel))
                bridge.frame(panel);
    });
}

// The game closed its last window: the page says so and offers a new one.
export function ended() {
    for (const panel of panels.values())
        panel.element.hidden = true;
    const message = document.createElement("div");
    message.className = "message";
    message.setAttribute("role", "alert");
    message.textContent = "The game has ended.";
    const again = document.createElement("button");
    again.type = "button";
    again.textContent = "Play again";
    again.addEventListener("click", () => location.reload());
    message.append(document.createElement("br"), again);
    screen.append(message);
    document.body.dataset.ended = "yes";
}
