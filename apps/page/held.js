// The pad buttons held on the gamepads and on the touch bar, sent to the game as one raw mask
// whenever it changes; the game decides what a button held through a focus loss means.
import * as bridge from "./bridge.js";

const held = { pads: 0, touch: 0 };
let sent = 0;

// `source` is "pads" or "touch"; `mask` the PadButton bits it holds now.
export function setHeld(source, mask) {
    held[source] = mask;
    const all = held.pads | held.touch;
    if (all === sent || !bridge.isStarted())
        return;
    sent = all;
    bridge.held(all);
}
