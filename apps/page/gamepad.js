// Gamepads, read at each animation frame only while one is connected.
import { setHeld } from "./held.js";
import { padMaskOf } from "./mapping.js";

let reading = false;

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
        setHeld("pads", pads.reduce((held, pad) => held | padMaskOf(pad), 0));
        if (pads.length > 0)
            requestAnimationFrame(read);
        else
            reading = false;
    };
    read();
}

export function wireGamepads() {
    window.addEventListener("gamepadconnected", readPads);
}

// A pad connected before the page loaded announces itself only once a button is pressed.
export function readConnectedPads() {
    if (connectedPads().length > 0)
        readPads();
}
