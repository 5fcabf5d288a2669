// The page around the game: each window of the game is a panel on a black screen, drawn on a
// canvas by the game with real HTML buttons, text box and lists over it. The page draws what it
// is told and hands the player's raw input to the game; what a key, a click, a tap or a close
// means is decided there. This module starts it all once the pictures and fonts are ready.
import * as board from "./board.js";
import * as bridge from "./bridge.js";
import { readConnectedPads, wireGamepads } from "./gamepad.js";
import { wireKeyboard } from "./keyboard.js";
import { createPainter } from "./painter.js";
import * as panels from "./panels.js";
import { replayToPlay } from "./replay.js";
import { attach, frontPanelNumber, measure, panels as panelsByNumber, ratio }
    from "./screen.js";
import * as sound from "./sound.js";
import * as storage from "./storage.js";
import * as toolbar from "./toolbar.js";
import { letGoTouch, wireTouch } from "./touch.js";
import * as widgets from "./widgets.js";

// What the game calls on the page: the EM_JS functions of platforms/web/ and page_main.cpp
// reach it as `Module.page`.
function pageFor(painter) {
    return {
        panelCreate: panels.panelCreate, panelPlace: panels.panelPlace,
        panelShow(number) {
            panels.panelShow(number);
            board.panelShown(panelsByNumber.get(number).name);
        },
        panelHide: panels.panelHide,
        panelRemove(number) {
            const { name } = panelsByNumber.get(number);
            panels.panelRemove(number);
            board.panelRemoved(name);
        },
        panelCaption: panels.panelCaption,
        panelEnabled: panels.panelEnabled, requestFrame: panels.requestFrame,
        ended: panels.ended, frontPanel: frontPanelNumber,
        widgetCreate: widgets.widgetCreate, widgetSync: widgets.widgetSync, focus: widgets.focus,
        ...painter,
        // A tap on a paused stage is the game's to judge: the page keeps no pause of its own.
        pausedChanged() {},
        mutedChanged: toolbar.mutedChanged, replayEnded: toolbar.replayEnded,
        recordingStopped: toolbar.recordingStopped,
        soundCreate: sound.soundCreate, soundPlay: sound.soundPlay, soundMuted: sound.soundMuted,
        storageRead: storage.storageRead, storageWrite: storage.storageWrite,
        storageCopy: storage.storageCopy,
    };
}

// The page hidden or the browser window left: a stage in play in front pauses, the pads and the
// touch bar let go.
function lostFocus() {
    bridge.lostFocus(frontPanelNumber());
    letGoTouch();
}

function wireWindow() {
    document.addEventListener("visibilitychange", () => {
        if (!bridge.isStarted())
            return;
        if (document.hidden)
            lostFocus();
        bridge.pageHidden(document.hidden);
    });
    window.addEventListener("blur", lostFocus);
    // The first key, click or touch lets the page sound.
    for (const type of ["keydown", "pointerdown", "pointerup", "touchend"])
        window.addEventListener(type, sound.audioStart, { capture: true, passive: true });
    window.addEventListener("resize", panels.resized);
    window.addEventListener("mouseup", (event) => {
        if (!event.target.closest("input"))
            widgets.showDomFocus();
    });
}

async function start() {
    attach(document.getElementById("screen"));
    const painter = createPainter((number) => panelsByNumber.get(number).ctx, () => ratio);
    await bridge.load(pageFor(painter));
    toolbar.wireToolbar();
    board.wireBoard();
    wireKeyboard();
    wireWindow();
    wireGamepads();
    wireTouch();
    if (navigator.storage && navigator.storage.persist)
        navigator.storage.persist().catch(() => {});
    bridge.pictures();
    const replay = await replayToPlay();
    await Promise.all([painter.decoded(), document.fonts.load('16px "DejaVu Sans"'),
                       document.fonts.load('16px "DejaVu Sans Mono"')]);
    measure();
    const muted = toolbar.wasMuted();
    // Said first: a replay that cannot be played, or one that is over at once, says so instead.
    if (replay && replay.problem)
        toolbar.status(replay.problem);
    const playing = replay && replay.bytes ? replay : null;
    if (playing) {
        toolbar.status(`Playing the replay of ${playing.name}: ` +
                       "your keys are ignored until it ends.");
        document.body.dataset.replay = "playing";
    }
    bridge.start(playing ? playing.bytes : null, muted);
    // A page opened in the background starts hidden: nothing said so yet.
    if (document.hidden)
        bridge.pageHidden(true);
    widgets.showDomFocus();
    readConnectedPads();
}

// Read-only state for the browser tests and measurements (tests/web/, bench/web_measure.cjs).
window.zelvatronPage = Object.freeze({
    get muted() { return sound.isMuted(); },
    get audioState() { return sound.audioState(); },
});

start().catch((error) => {
    toolbar.status("The game could not start: " + error);
    throw error;
});
