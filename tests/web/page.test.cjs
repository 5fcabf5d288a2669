// The real page in a real browser: Debian's Chromium, headless, driven as a player would drive
// it, with keys and clicks, reading what the page shows (its panels, HTML controls and canvas).
// Run by scripts/web-test, which builds the page and records the replay these tests play.
"use strict";
const assert = require("node:assert/strict");
const { execFileSync } = require("node:child_process");
const fs = require("node:fs");
const os = require("node:os");
const path = require("node:path");
const { after, before, test } = require("node:test");
const { launch } = require("./browser.cjs");
const { serve } = require("./serve.cjs");

const kSite = process.env.ZELVATRON_SITE;
const kReplay = process.env.ZELVATRON_REPLAY; // a game recorded by the desktop's autoplay
const kReplayTable = process.env.ZELVATRON_REPLAY_TABLE; // the table the desktop wrote for it
const kShots = process.env.ZELVATRON_SHOTS;
const kAutoplay = process.env.ZELVATRON_AUTOPLAY; // the desktop's replay player
const kLongestReplayMs = 240000;

let server;
let browser;
let base;
const extras = fs.mkdtempSync(path.join(os.tmpdir(), "zelvatron-page-"));
const downloads = fs.mkdtempSync(path.join(os.tmpdir(), "zelvatron-download-"));

before(async () => {
    fs.mkdirSync(kShots, { recursive: true });
    fs.copyFileSync(kReplay, path.join(extras, "game.replay"));
    server = await serve([path.resolve(kSite), extras]);
    base = `http://127.0.0.1:${server.address().port}`;
    browser = await launch();
    // Downloads are the browser's to allow, not a page's.
    const session = await browser.target().createCDPSession();
    await session.send("Browser.setDownloadBehavior", { behavior: "allow", downloadPath: downloads });
});

after(async () => {
    await browser.close();
    server.close();
    fs.rmSync(extras, { recursive: true, force: true });
    fs.rmSync(downloads, { recursive: true, force: true });
});

// Clicks a page control that downloads a file and returns the file's bytes.
async function downloaded(page, button, name) {
    const file = path.join(downloads, name);
    fs.rmSync(file, { force: true });
    await page.click(button);
    for (let waited = 0; !fs.existsSync(file) && waited < 5000; waited += 100)
        await pause(100);
    return fs.readFileSync(file);
}

// A fresh tab on the page, with every console error and page error it shows collected;
// `prepare` readies the tab before the page loads.
async function open(query = "", prepare = async () => {}) {
    const page = await browser.newPage();
    await page.setViewport({ width: 1280, height: 800, deviceScaleFactor: 1 });
    await prepare(page);
    const errors = [];
    page.on("console", (message) => {
        if (message.type() === "error")
            errors.push(message.text());
    });
    page.on("pageerror", (error) => errors.push(error.message));
    await page.goto(`${base}/${query}`, { waitUntil: "load" });
    await page.waitForSelector("body[data-drawn]", { timeout: 10000 });
    return { page, errors };
}

function shown(page, form) {
    return page.$eval(`.panel[data-form="${form}"]`, (panel) => !panel.hidden).catch(() => false);
}

async function waitShown(page, form, timeout = 5000) {
    await page.waitForSelector(`.panel[data-form="${form}"]:not([hidden])`, { timeout });
}

async function shot(page, form, name = form) {
    const panel = await page.$(`.panel[data-form="${form}"]`);
    await panel.screenshot({ path: path.join(kShots, `${name}.png`) });
}

function pause(ms) {
    return new Promise((resolve) => setTimeout(resolve, ms));
}

// What the wave stage's canvas shows: the ship's left edge (its sprite stands on white) in the
// row just above the floor, and how many pixels of the red shots are in the field.
function readStage(page) {
    return page.$eval('.panel[data-form="Form1"] canvas', (canvas) => {
        const { data, width } = canvas.getContext("2d").getImageData(0, 0, canvas.width, canvas.height);
        const at = (x, y) => data.subarray((y * width + x) * 4, (y * width + x) * 4 + 3);
        let shipLeft = -1;
        for (let x = 0; x < width && shipLeft < 0; ++x) {
            const [r, g, b] = at(x, 430);
            if (r === 255 && g === 255 && b === 255)
                shipLeft = x;
        }
        let shotPixels = 0;
        for (let y = 0; y < 390; ++y)
            for (let x = 0; x < width; ++x) {
                const [r, g, b] = at(x, y);
                if (r === 255 && g === 0 && b === 0)
                    ++shotPixels;
            }
        return { shipLeft, shotPixels };
    });
}

// The left edge of the formation on the wave stage's canvas: its leftmost lit pixel in its top
// rows, above where the pause banner goes.
function formationLeft(page) {
    return page.$eval('.panel[data-form="Form1"] canvas', (canvas) => {
        const { data, width } = canvas.getContext("2d").getImageData(0, 0, canvas.width, 180);
        let left = width;
        for (let i = 0; i < data.length; i += 4)
            if (data[i] + data[i + 1] + data[i + 2] > 100)
                left = Math.min(left, (i / 4) % width);
        return left;
    });
}

// How many white pixels the pause banner's big word puts on the wave stage's canvas (its band
// across the middle of the 663 x 488 client area); a few, from the sprites, while it plays.
function bannerPixels(page) {
    return page.$eval('.panel[data-form="Form1"] canvas', (canvas) => {
        const { data } = canvas.getContext("2d").getImageData(0, 193, canvas.width, 67);
        let white = 0;
        for (let i = 0; i < data.length; i += 4)
            if (data[i] === 255 && data[i + 1] === 255 && data[i + 2] === 255)
                ++white;
        return white;
    });
}

// The title, the name dialog and the wave stage, with Enter twice.
async function toStage(page) {
    await page.keyboard.press("Enter");
    await waitShown(page, "Dialog");
    await page.keyboard.press("Enter");
    await waitShown(page, "Form1");
    await pause(300);
}

// The rows of the table window as its lists show them: [name, level, score].
function tableRows(page) {
    return page.$eval('.panel[data-form="Highscores"]', (panel) => {
        const column = (name) => [...panel.querySelectorAll(`[data-control="${name}"] [role="option"]`)]
            .map((row) => row.textContent);
        const names = column("Names");
        const levels = column("Level");
        const scores = column("Score");
        return names.map((name, i) => [name, levels[i], scores[i]]);
    });
}

// The rows of a high-score file: 30 quoted fields, name, level and score of each row.
function fileRows(bytes) {
    const fields = [...bytes.toString("latin1").matchAll(/"([^"]*)"\r\n/g)].map((m) => m[1]);
    const rows = [];
    for (let i = 0; i + 2 < fields.length; i += 3)
        rows.push(fields.slice(i, i + 3));
    return rows;
}

test("the page loads without a console error and Enter on the title opens the name dialog",
     async () => {
    const { page, errors } = await open();
    assert.ok(await shown(page, "Form2"));
    await shot(page, "Form2");
    await page.keyboard.press("Enter");
    await waitShown(page, "Dialog");
    assert.ok(await shown(page, "Form2"), "the title stays behind the dialog");
    await shot(page, "Dialog");
    assert.deepEqual(errors, []);
    await page.close();
});

test("a typed name and Enter open the wave stage, where held keys move the ship and fire; " +
     "the game saved as a replay plays on the desktop",
     async () => {
    const { page, errors } = await open();
    await page.keyboard.press("Enter");
    await waitShown(page, "Dialog");
    await page.keyboard.press("Tab");
    await page.keyboard.down("Control");
    await page.keyboard.press("KeyA");
    await page.keyboard.up("Control");
    await page.keyboard.type("Webby");
    assert.equal(await page.$eval('[data-control="PlayerName"]', (box) => box.value), "Webby");
    await page.keyboard.press("Enter");
    await waitShown(page, "Form1");
    assert.ok(!(await shown(page, "Dialog")) && !(await shown(page, "Form2")));
    await pause(200);
    const before = await readStage(page);
    assert.ok(before.shipLeft >= 0, "the ship is on the canvas");
    assert.equal(before.shotPixels, 0);
    // Held keys repeat, as a keyboard's do.
    for (let i = 0; i < 12; ++i) {
        await page.keyboard.down("ArrowRight");
        await pause(30);
    }
    await page.keyboard.up("ArrowRight");
    for (let i = 0; i < 4; ++i) {
        await page.keyboard.down("Space");
        await pause(40);
    }
    await page.keyboard.up("Space");
    await pause(100);
    const after = await readStage(page);
    assert.ok(after.shipLeft > before.shipLeft, `the ship moved right: ${before.shipLeft} to ${after.shipLeft}`);
    assert.ok(after.shotPixels > 0, "shots are in flight");
    assert.equal(await page.evaluate(() => window.scrollY), 0, "the page did not scroll");
    await shot(page, "Form1");
    await page.screenshot({ path: path.join(kShots, "page.png") });

    // The game saved as a replay plays on the desktop: its player reaches the table by name.
    const replay = path.join(extras, "web.replay");
    fs.writeFileSync(replay, await downloaded(page, "#save-replay", "zelvatron.replay"));
    const table = path.join(extras, "web.table");
    const end = execFileSync(kAutoplay, ["--replay", replay, "--table", table], { encoding: "utf8" });
    assert.match(end, /^windows=Form2,Dialog,Highscores /m);
    assert.ok(fileRows(fs.readFileSync(table)).some(([name]) => name === "Webby"), end);
    // The page's own verifier sees the same game the desktop's does.
    const game = end.match(/^game: level=(\S+) score=(\S+) /m);
    assert.equal(await page.$eval("#status", (s) => s.textContent),
                 `Replay saved; played again to its end it finishes Webby, level ${game[1]}, score ${game[2]}.`);
    assert.deepEqual(errors, []);
    await page.close();
});

test("a hidden page pauses the game, which stays paused with its banner when shown until P",
     async () => {
    const { page, errors } = await open();
    await toStage(page);
    const before = await formationLeft(page);
    assert.ok((await bannerPixels(page)) < 200, "no banner while it plays");
    const other = await browser.newPage();
    await other.bringToFront();
    assert.equal(await page.evaluate(() => document.visibilityState), "hidden");
    await pause(1000);
    await other.close();
    await page.bringToFront();
    await pause(2000); // a running game would march the formation a few steps meanwhile
    assert.ok((await bannerPixels(page)) > 1000, "the banner is over the field");
    const shown = await formationLeft(page);
    assert.ok(Math.abs(shown - before) <= 4, `at most one march step: ${before} to ${shown}`);
    await shot(page, "Form1", "Form1-paused");
    await page.keyboard.press("KeyP");
    await pause(2000);
    assert.ok((await bannerPixels(page)) < 200, "the banner is gone and the field under it painted");
    assert.ok((await formationLeft(page)) - shown > 10, "the march goes on after P");
    assert.deepEqual(errors, []);
    await page.close();
});

test("a gamepad's d-pad right moves the ship and its south button fires", async () => {
    // The browser's pad list, with one standard pad once the test connects it.
    const { page, errors } = await open("", (tab) => tab.evaluateOnNewDocument(() => {
        const buttons = Array.from({ length: 17 }, () => ({ pressed: false, value: 0 }));
        window.stubPad = { connected: false, buttons, axes: [0, 0, 0, 0], mapping: "standard" };
        navigator.getGamepads = () => [window.stubPad.connected ? window.stubPad : null];
    }));
    await toStage(page);
    const press = (button, down) => page.evaluate((b, d) => {
        window.stubPad.buttons[b] = { pressed: d, value: d ? 1 : 0 };
    }, button, down);
    await page.evaluate(() => {
        window.stubPad.connected = true;
        window.dispatchEvent(new Event("gamepadconnected"));
    });
    const before = await readStage(page);
    await press(15, true);
    await pause(800); // past the repeat delay: the ship goes on moving
    await press(15, false);
    await press(0, true);
    await pause(700);
    const after = await readStage(page);
    await press(0, false);
    assert.ok(after.shipLeft - before.shipLeft > 20, `the ship moved right: ${before.shipLeft} to ${after.shipLeft}`);
    assert.ok(after.shotPixels > 0, "shots are in flight");
    assert.deepEqual(errors, []);
    await page.close();
});

test("with the browser's storage turned off for the page, the game still starts and plays", async () => {
    const { page, errors } = await open("", (tab) => tab.evaluateOnNewDocument(() => {
        for (const name of ["localStorage", "sessionStorage"])
            Object.defineProperty(window, name, {
                get() { throw new DOMException("The page may not keep data.", "SecurityError"); },
            });
    }));
    await toStage(page);
    assert.ok(await shown(page, "Form1"), "the wave stage is open");
    assert.deepEqual(errors, []);
    await page.close();
});

test("on a phone held sideways the page fits, and the touch bar shows once touched; " +
     "its held fire button fires", async () => {
    const { page, errors } = await open("", (tab) => tab.emulate({
        viewport: { width: 740, height: 360, deviceScaleFactor: 1, isMobile: true, hasTouch: true },
        userAgent: "Mozilla/5.0 (Linux; Android 14) Mobile",
    }));
    await toStage(page);
    assert.ok(await page.$eval("#touch", (bar) => bar.hidden), "no touch bar before a touch");
    await page.touchscreen.tap(20, 120);
    await page.waitForSelector("#touch:not([hidden])");
    await pause(100);
    const fits = await page.evaluate(() => {
        const panel = document.querySelector('.panel[data-form="Form1"]').getBoundingClientRect();
        const bar = document.getElementById("touch").getBoundingClientRect();
        return panel.left >= 0 && panel.right <= innerWidth && panel.top >= 0 && panel.bottom <= bar.top;
    });
    assert.ok(fits, "the stage fits above the touch bar");
    const fire = await page.$eval('#touch [aria-label="Fire"]', (button) => {
        const box = button.getBoundingClientRect();
        return { x: box.left + box.width / 2, y: box.top + box.height / 2 };
    });
    const finger = await page.touchscreen.touchStart(fire.x, fire.y);
    await pause(700);
    const held = await readStage(page);
    await page.screenshot({ path: path.join(kShots, "phone.png") });
    await finger.end();
    assert.ok(held.shotPixels > 0, "shots are in flight");
    assert.equal(await page.evaluate(() => window.scrollY), 0, "the page did not scroll");
    assert.deepEqual(errors, []);
    await page.close();
});

test("a tap on the field of a paused stage plays on",
     async () => {
    const { page, errors } = await open("", (tab) => tab.emulate({
        viewport: { width: 1280, height: 800, deviceScaleFactor: 1, hasTouch: true },
        userAgent: "Mozilla/5.0 (X11; Linux x86_64)",
    }));
    await toStage(page);
    const field = await page.$eval('.panel[data-form="Form1"] canvas', (canvas) => {
        const box = canvas.getBoundingClientRect();
        return { x: box.left + box.width / 2, y: box.top + 20 };
    });
    await page.keyboard.press("KeyP");
    await pause(300);
    assert.ok((await bannerPixels(page)) > 1000, "paused");
    await page.touchscreen.tap(field.x, field.y);
    await pause(300);
    assert.ok((await bannerPixels(page)) < 200, "played on");
    assert.deepEqual(errors, []);
    await page.close();
});

test("the mute button is remembered across a reload and kept in step with M", async () => {
    const { page, errors } = await open();
    const muted = () => page.evaluate(() => ({
        button: document.getElementById("mute").getAttribute("aria-pressed"), sound: zelvatronPage.muted,
    }));
    await page.click("#mute");
    assert.deepEqual(await muted(), { button: "true", sound: true });
    await page.reload({ waitUntil: "load" });
    await page.waitForSelector("body[data-drawn]");
    assert.deepEqual(await muted(), { button: "true", sound: true }, "still muted after a reload");
    await toStage(page);
    await page.keyboard.press("KeyM");
    assert.deepEqual(await muted(), { button: "false", sound: false }, "M unmutes");
    assert.deepEqual(errors, []);
    await page.close();
});

test("a desktop replay plays to the table, which survives a reload and downloads as the desktop's file",
     { timeout: kLongestReplayMs + 60000 }, async () => {
    const expected = fs.readFileSync(kReplayTable);
    const finished = fileRows(expected).find(([name]) => name === "New Guy");
    assert.ok(finished, "the recorded game made the table");

    const { page, errors } = await open("?replay=game.replay");
    const started = Date.now();
    let bossShot = false;
    while (!(await shown(page, "Highscores"))) {
        assert.ok(Date.now() - started < kLongestReplayMs, "the replay reached the table in time");
        if (!bossShot && (await shown(page, "Boss"))) {
            await pause(1500);
            await shot(page, "Boss");
            bossShot = true;
        }
        await pause(250);
    }
    assert.ok(bossShot, "the replay went through a boss fight");
    assert.ok((await tableRows(page)).some((row) => row.join() === finished.join()));
    await shot(page, "Highscores");
    assert.deepEqual(errors, []);
    await page.close();

    const again = await open();
    await again.page.keyboard.press("Tab");
    await again.page.keyboard.press("Enter");
    await waitShown(again.page, "Highscores");
    assert.ok((await tableRows(again.page)).some((row) => row.join() === finished.join()),
              "the table holds the game after a reload");
    assert.deepEqual(await downloaded(again.page, "#download-table", "highscores"), expected,
                     "the same bytes as the desktop's file");
    assert.deepEqual(again.errors, []);
    await again.page.close();
});

test("a damaged table loaded from the disk is kept aside as highscores.bad, as the desktop keeps it",
     async () => {
    // The desktop's file with one field too many: readable rows, but not the file the game writes.
    const damaged = Buffer.concat([fs.readFileSync(kReplayTable), Buffer.from('"extra"\r\n', "latin1")]);
    const file = path.join(extras, "damaged-highscores");
    fs.writeFileSync(file, damaged);
    const { page } = await open();
    const [chooser] = await Promise.all([page.waitForFileChooser(), page.click("#load-table")]);
    await chooser.accept([file]);
    await page.waitForFunction(() => document.getElementById("status").textContent.startsWith("Table loaded"));
    await page.keyboard.press("Tab");
    await page.keyboard.press("Enter");
    await waitShown(page, "Highscores");
    const stored = await page.evaluate(() => ({
        bad: localStorage.getItem("zelvatron/highscores.bad"),
        table: localStorage.getItem("zelvatron/highscores"),
    }));
    assert.equal(stored.bad, damaged.toString("latin1"));
    assert.deepEqual(fileRows(Buffer.from(stored.table, "latin1")), fileRows(damaged).slice(0, 10));
    assert.equal(stored.table.split("\r\n").length - 1, 30, "the table saved whole again");
    await page.close();
});

// The first lines of the desktop's recording, to the given key on the wave stage: a game cut short.
function cutShort(keysOnStage) {
    const lines = fs.readFileSync(kReplay, "latin1").split("\n");
    let keys = 0;
    const end = lines.findIndex((line) => / key Form1 /.test(line) && ++keys === keysOnStage);
    return lines.slice(0, end + 1).join("\n") + "\n";
}

test("a recording cut short hands the game back at its last line: keys move the ship, " +
     "and the close box ends the game", async () => {
    fs.writeFileSync(path.join(extras, "half.replay"), cutShort(20), "latin1");
    const { page, errors } = await open("?replay=half.replay");
    await page.waitForSelector('body[data-replay="ended"]', { timeout: 20000 });
    assert.equal(await page.$eval("#status", (s) => s.textContent), "The replay ended: the game is yours.");
    const before = await readStage(page);
    for (let i = 0; i < 6; ++i) {
        await page.keyboard.press("ArrowLeft");
        await pause(40);
    }
    await pause(100);
    const after = await readStage(page);
    assert.ok(after.shipLeft < before.shipLeft, `the ship moved left: ${before.shipLeft} to ${after.shipLeft}`);
    await page.click('.panel[data-form="Form1"] .close');
    await page.waitForSelector('body[data-ended="yes"]', { timeout: 5000 });
    assert.deepEqual(errors, []);
    await page.close();
});

test("a 5 MB recording, many sessions long, plays through the game's heap", async () => {
    const text = cutShort(40);
    const last = Number(text.trimEnd().split("\n").pop().split(" ")[0]);
    const keys = Array.from({ length: 200000 },
                            (_, i) => `${last + 1e6 + i * 250000} key Form1 37 0\n`);
    fs.writeFileSync(path.join(extras, "long.replay"), text + keys.join(""), "latin1");
    const { page, errors } = await open("?replay=long.replay");
    await page.waitForSelector('body[data-replay="playing"]');
    await waitShown(page, "Form1", 10000);
    assert.deepEqual(errors, []);
    await page.close();
});

test("a name typed with a line end in it is one row of the table", async () => {
    // A table of scores below 0: the title's HighScores! merges the dialog's name as row 1.
    const table = Array.from({ length: 10 }, (_, i) => `"r${i}"\r\n"1"\r\n"-1"\r\n`).join("");
    fs.writeFileSync(path.join(extras, "newline.replay"), "zelvatron replay 1 rules 1\n" +
        "0 click Form2 Start\n300000 text Dialog PlayerName two\\x0alines\n" +
        "600000 click Form2 cmdScores\n", "latin1");
    const { page, errors } = await open("?replay=newline.replay", (tab) => tab.evaluateOnNewDocument(
        (t) => localStorage.setItem("zelvatron/highscores", t), table));
    await waitShown(page, "Highscores");
    const rows = await tableRows(page);
    assert.equal(rows.length, 10);
    assert.equal(rows[0][0], "two\nlines");
    assert.equal(rows[0][2], "0");
    assert.deepEqual(rows[1], ["r0", "1", "-1"]);
    assert.deepEqual(errors, []);
    await page.close();
});

test("a replay chosen with \"Play replay\" plays in a fresh game", async () => {
    const { page, errors } = await open();
    const [chooser] = await Promise.all([page.waitForFileChooser(), page.click("#play-replay")]);
    await Promise.all([page.waitForNavigation(), chooser.accept([kReplay])]);
    await page.waitForSelector('body[data-replay="playing"]');
    await waitShown(page, "Form1", 10000); // the recorded game gets past the title and the dialog
    assert.deepEqual(errors, []);
    await page.close();
});
