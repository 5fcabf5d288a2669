// The world board: the server's table of games it scored by playing their recordings again. The
// "World board" button shows its best entries, each with a link that watches its game here;
// after a game ends the page asks once whether to send the player's games, and remembers.
// Names are a stranger's text: they are only ever set as text, never as HTML.
import * as bridge from "./bridge.js";
import { frontPanelNumber } from "./screen.js";
import { status } from "./status.js";
import { storageRead, storageSet } from "./storage.js";

// The player's answer to "send your games?": "yes" or "no", asked only while it is neither.
const kSendKey = "zelvatron-page/send-to-board";
const kShownEntries = 20;

// Where the board is: the <meta name="zelvatron-board"> of the page when it names one, else the
// page's own server, which serves the board's API beside the page.
export function boardAddress() {
    const meta = document.querySelector('meta[name="zelvatron-board"]');
    const named = meta ? meta.content.trim() : "";
    return (named || location.origin).replace(/\/+$/, "");
}

// The API's JSON, or an Error whose message is the server's sentence or why it cannot be reached.
async function ask(path, options = {}) {
    let response;
    try {
        response = await fetch(boardAddress() + path, options);
    } catch (error) {
        throw new Error("the world board cannot be reached");
    }
    let body = null;
    try {
        body = await response.json();
    } catch (error) {
        // An answer that is not the board's: said by its status below.
    }
    if (!response.ok || body === null)
        throw new Error(body && body.error ? body.error
                                           : `the world board answered ${response.status}`);
    return body;
}

function cell(row, text, header = false) {
    const element = document.createElement(header ? "th" : "td");
    if (header)
        element.scope = "row";
    element.textContent = text;
    row.append(element);
    return element;
}

function showEntries(entries) {
    const rows = document.getElementById("board-rows");
    rows.replaceChildren();
    for (const entry of entries) {
        const row = document.createElement("tr");
        row.dataset.id = String(entry.id);
        cell(row, String(entry.rank), true);
        cell(row, entry.name);
        cell(row, entry.level);
        cell(row, String(entry.score));
        const watch = document.createElement("a");
        watch.href = `?board=${encodeURIComponent(entry.id)}`;
        watch.textContent = "Watch";
        watch.setAttribute("aria-label", `Watch the game of ${entry.name}, rank ${entry.rank}`);
        cell(row, "").append(watch);
        rows.append(row);
    }
}

async function openBoard() {
    const panel = document.getElementById("board");
    // A stage in play pauses, as when the page loses the focus.
    bridge.lostFocus(frontPanelNumber());
    panel.hidden = false;
    const said = document.getElementById("board-said");
    said.textContent = "Asking the world board\u2026";
    document.getElementById("board-close").focus();
    try {
        const board = await ask(`/api/board?limit=${kShownEntries}`);
        showEntries(board.entries);
        said.textContent = board.entries.length === 0
            ? "No game is on the world board yet."
            : "The best games the board has played again itself.";
    } catch (error) {
        showEntries([]);
        said.textContent = `The board cannot be shown: ${error.message}.`;
    }
}

function closeBoard() {
    document.getElementById("board").hidden = true;
    document.getElementById("world-board").focus();
}

function sayRanks(answer) {
    const made = answer.entries.filter((entry) => entry.new);
    if (made.length === 0) {
        status("The world board has these games already.");
        return;
    }
    const told = made.map((entry) => entry.rank === undefined
        ? `${entry.name}, ${entry.score} points`
        : `${entry.name}, ${entry.score} points: rank ${entry.rank}`);
    status(`On the world board: ${told.join("; ")}.`);
}

async function send() {
    status("Sending your games to the world board\u2026");
    try {
        sayRanks(await ask("/api/games", {
            method: "POST",
            headers: { "Content-Type": "text/plain; charset=utf-8" },
            body: bridge.recording(),
        }));
    } catch (error) {
        status(`Your games were not sent: ${error.message}.`);
    }
}

function answerOffer(yes) {
    storageSet(kSendKey, yes ? "yes" : "no");
    document.getElementById("board-offer").hidden = true;
    if (yes)
        send();
}

// A game watched from the board is the board's already: none of it is offered back.
const watching = new URLSearchParams(location.search).has("board");

// A game ended (its table took it): sent if the player said so, offered if never asked.
function gameEnded() {
    if (watching)
        return;
    const answer = storageRead(kSendKey);
    if (answer === "yes")
        send();
    else if (answer !== "no")
        document.getElementById("board-offer").hidden = false;
}

// The game's table closes the wave stage when a game ends; shown after that, it holds the game.
let stageClosed = false;
export function panelShown(form) {
    if (form === "Highscores" && stageClosed) {
        stageClosed = false;
        gameEnded();
    }
}
export function panelRemoved(form) {
    if (form === "Form1")
        stageClosed = true;
}

export function wireBoard() {
    document.getElementById("world-board").addEventListener("click", openBoard);
    document.getElementById("board-close").addEventListener("click", closeBoard);
    document.getElementById("board").addEventListener("keydown", (event) => {
        if (event.key === "Escape")
            closeBoard();
    });
    document.getElementById("board-send").addEventListener("click", () => answerOffer(true));
    document.getElementById("board-never").addEventListener("click", () => answerOffer(false));
}
