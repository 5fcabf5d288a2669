// The recording to play instead of the player's input: one handed over by "Play replay" across a
// reload of the page, ?replay=NAME, a file beside the page, or ?board=ID, a game on the board.
import { boardAddress } from "./board.js";
import { bytesOf, byteString } from "./storage.js";

const kReplayHandedOver = "zelvatron/replay-to-play";

// Keeps the bytes for the next load of the page; false when the browser refuses.
export function handOver(bytes) {
    try {
        sessionStorage.setItem(kReplayHandedOver, byteString(bytes));
        return true;
    } catch (e) {
        return false;
    }
}

// {name, bytes} to play, null for none, or {problem} when the one asked for cannot be read.
export async function replayToPlay() {
    let handedOver = null;
    try {
        handedOver = sessionStorage.getItem(kReplayHandedOver);
        sessionStorage.removeItem(kReplayHandedOver);
    } catch (e) {
        // Storage turned off for the page: nothing was handed over.
    }
    if (handedOver !== null)
        return { name: "the chosen file", bytes: bytesOf(handedOver) };
    const query = new URLSearchParams(location.search);
    const entry = query.get("board");
    if (entry !== null)
        return boardGame(entry);
    const name = query.get("replay");
    if (name === null)
        return null;
    if (!/^[\w.-]+$/.test(name) || name.startsWith("."))
        return { problem: `"${name}" is not the name of a file beside the page.` };
    const response = await fetch(name);
    if (!response.ok) {
        const why = `${response.status} ${response.statusText}`;
        return { problem: `Cannot read the replay ${name}: ${why}` };
    }
    return { name, bytes: new Uint8Array(await response.arrayBuffer()) };
}

async function boardGame(entry) {
    if (!/^[0-9]{1,18}$/.test(entry))
        return { problem: `"${entry}" is not a game of the world board.` };
    let response;
    try {
        response = await fetch(`${boardAddress()}/api/games/${entry}/replay`);
    } catch (error) {
        return { problem: "The world board cannot be reached to watch its game." };
    }
    if (!response.ok)
        return { problem: `The world board has no game ${entry} to watch (${response.status}).` };
    return { name: `the world board's game ${entry}`, bytes: new Uint8Array(await response.arrayBuffer()) };
}
