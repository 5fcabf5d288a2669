// The bar above the screen: the high-score table and replays to and from the desktop's files,
// the mute button, and the status line that says how they went.
import * as bridge from "./bridge.js";
import { handOver } from "./replay.js";
import { audioStart, isMuted } from "./sound.js";
import { status } from "./status.js";
import { bytesOf, storageRead, storageSet, storageWrite } from "./storage.js";

// What the browser's local storage holds the game's table under.
const kTableKey = "zelvatron/highscores";
// The player's mute, kept apart from the game's files.
const kMutedKey = "zelvatron-page/muted";

export { status };

// The mute the player left the page with.
export function wasMuted() {
    return storageRead(kMutedKey) === "yes";
}

// The game muted or unmuted (the button, or M on a stage): shown, and kept for next time.
export function mutedChanged(muted) {
    const button = document.getElementById("mute");
    button.setAttribute("aria-pressed", muted ? "true" : "false");
    button.textContent = muted ? "Sound off" : "Sound on";
    storageSet(kMutedKey, muted ? "yes" : "no");
}

// The replay is over and the game is the player's: played out (line 0), or stopped at a line.
export function replayEnded(line, message) {
    if (line === 0) {
        status("The replay ended: the game is yours.");
        document.body.dataset.replay = "ended";
        return;
    }
    status(`The replay stops at its line ${line}: ${message}. The game is yours.`);
    console.warn(`replay line ${line}: ${message}`);
    document.body.dataset.replay = "stopped";
}

export function recordingStopped(why) {
    status(`The recording of this game stopped: ${why}. "Save replay" keeps what came before.`);
    document.body.dataset.recording = "stopped";
}

function download(name, bytes, type) {
    const url = URL.createObjectURL(new Blob([bytes], { type }));
    const link = document.createElement("a");
    link.href = url;
    link.download = name;
    document.body.append(link);
    link.click();
    link.remove();
    setTimeout(() => URL.revokeObjectURL(url), 10000);
}

function readFileAsBytes(input) {
    return new Promise((resolve) => {
        input.onchange = () => {
            const file = input.files[0];
            input.value = "";
            if (!file)
                return;
            file.arrayBuffer().then((buffer) => resolve(new Uint8Array(buffer)));
        };
        input.click();
    });
}

// What the saved replay shows when played again from the start, as a board plays it: each game
// the table took, a game still in play played on with no key pressed until it ends.
function boardView(verdict) {
    if (verdict.ending !== "played out")
        return `Replay saved; played again it stops at its line ${verdict.line}: ${verdict.why}.`;
    const games = verdict.games.map((g) => `${g.name}, level ${g.level}, score ${g.score}`);
    return games.length === 0
        ? "Replay saved; played again to its end it finishes no game."
        : `Replay saved; played again to its end it finishes ${games.join("; ")}.`;
}

function on(id, handler) {
    document.getElementById(id).addEventListener("click", handler);
}

export function wireToolbar() {
    on("download-table", () => {
        const table = storageRead(kTableKey);
        if (table === null) {
            status("No table yet: it is written when HighScores! opens or a game ends.");
            return;
        }
        download("highscores", bytesOf(table), "application/octet-stream");
        status("The table is the file \"highscores\" the desktop game reads.");
    });
    on("load-table", async () => {
        const bytes = await readFileAsBytes(document.getElementById("table-file"));
        status(storageWrite(kTableKey, bytes) ? "Table loaded: HighScores! shows it."
                                               : "The browser's storage refused the table.");
    });
    on("save-replay", () => {
        download("zelvatron.replay", new TextEncoder().encode(bridge.recording()), "text/plain");
        status(boardView(bridge.boardView()));
    });
    // The replay starts from a fresh game: the page is loaded again to play it.
    on("play-replay", async () => {
        const bytes = await readFileAsBytes(document.getElementById("replay-file"));
        if (handOver(bytes))
            location.href = location.pathname;
        else
            status("The browser's storage refused the replay.");
    });
    on("mute", () => {
        audioStart();
        bridge.setMuted(!isMuted());
    });
}
