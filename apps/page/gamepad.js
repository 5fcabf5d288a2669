// Gamepads, read at each animation frame only while one is connected.
import { setHeld } from "./held.js";
import { padMaskOf } from "./mapping.js";

let reading = false;
let padsHeld = 0;
let stale = 0; // held through a let-go: not heard again until released

// The gamepads connected now; none where the page may not read them (a frame that was not
// allowed gamepads).
function connectedPads() {
    try {
        return [...(navigator.getGamepads ? navigator.getGamepads() : [])]
            .filter((pad) => pad && pad.connected);
    } catch (e) {
        return [];
    }
}

function readPads() {
    if (reading)
        return;
    reading = true;
    const read = () => {
        const pads = connectedPads();
        const held = pads.reduce((mask, pad) => mask | padMaskOf(pad), 0);
        // A button held through a let-go counts again only once it is released.
        stale &= held;
        padsHeld = held & ~stale;
        setHeld("pads", padsHeld);
        if (pads.length > 0)
            requestAnimationFrame(read);
        else
            reading = false;
    };
    read();
}

// Away from the page, nothing stays held: a button let go meanwhile is never seen.
export function letGoPads() {
    stale |= padsHeld;
    padsHeld = 0;
    setHeld("pads", 0);
}

export function wireGamepads() {
    window.addEventListener("gamepadconnected", readPads);
}

// A pad connected before the page loaded announces itself only once a button is pressed.
export function readConnectedPads() {
    if (connectedPads().length > 0)
        readPads();
}
