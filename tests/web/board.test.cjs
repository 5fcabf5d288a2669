// The page against a real world board: zelvatron-board serving the page's folder beside its API,
// on SQLite in a fresh folder, in Debian's headless Chromium.
"use strict";
const assert = require("node:assert/strict");
const { spawn } = require("node:child_process");
const fs = require("node:fs");
const os = require("node:os");
const path = require("node:path");
const { after, before, test } = require("node:test");
const { launch } = require("./browser.cjs");

const kServer = process.env.ZELVATRON_BOARD_SERVER;
const kSite = process.env.ZELVATRON_SITE;
const kReplay = process.env.ZELVATRON_REPLAY; // a game that beats the boss once
const kShortReplay = process.env.ZELVATRON_SHORT_REPLAY; // a game lost on the first wave
const kShots = process.env.ZELVATRON_SHOTS;
const kHostileName = "<img src=x onerror=\"window.pwned=1\">";

const work = fs.mkdtempSync(path.join(os.tmpdir(), "zelvatron-board-page-"));
let server;
let base;
let browser;

// The short game with the name typed that a stranger might type.
function hostileGame() {
    const lines = fs.readFileSync(kShortReplay, "utf8").split("\n");
    const start = lines.findIndex((line) => line.endsWith("click Form2 Start"));
    const at = lines[start].split(" ")[0];
    lines.splice(start + 1, 0, `${at} text Dialog PlayerName ${kHostileName}`);
    return lines.join("\n");
}

async function post(text) {
    const response = await fetch(`${base}/api/games`, { method: "POST", body: text });
    assert.ok(response.ok, `the board took the game: ${response.status}`);
    return (await response.json()).entries;
}

before(async () => {
    // The page's folder with the short game beside it, to play through ?replay=.
    const site = path.join(work, "site");
    fs.cpSync(kSite, site, { recursive: true });
    fs.copyFileSync(kShortReplay, path.join(site, "short.replay"));
    server = spawn(kServer, ["--listen", "127.0.0.1:0", "--database",
                             `sqlite:${path.join(work, "board.db")}`, "--site", site],
                   { stdio: ["ignore", "pipe", "inherit"] });
    base = await new Promise((resolve, reject) => {
        let said = "";
        server.stdout.on("data", (chunk) => {
            said += chunk;
            const serving = said.match(/serving (http:\/\/[\d.]+:\d+)\//);
            if (serving)
                resolve(serving[1]);
        });
        server.on("exit", (code) => reject(new Error(`zelvatron-board exited with ${code}`)));
    });
    browser = await launch();
    fs.mkdirSync(kShots, { recursive: true });
});

after(async () => {
    await browser.close();
    server.kill("SIGTERM");
    fs.rmSync(work, { recursive: true, force: true });
});

async function open(query = "") {
    const page = await browser.newPage();
    await page.setViewport({ width: 1280, height: 800, deviceScaleFactor: 1 });
    const errors = [];
    page.on("pageerror", (error) => errors.push(error.message));
    await page.goto(`${base}/${query}`, { waitUntil: "load" });
    await page.waitForSelector("body[data-drawn]", { timeout: 10000 });
    return { page, errors };
}

test("the World board lists the board's games best first, a name only as text, and Watch plays one",
     async () => {
    const [best] = await post(fs.readFileSync(kReplay, "utf8"));
    const [hostile] = await post(hostileGame());
    const { page, errors } = await open();
    await page.click("#world-board");
    await page.waitForSelector("#board-rows tr");
    const rows = await page.$$eval("#board-rows tr", (trs) =>
        trs.map((tr) => [...tr.cells].slice(0, 4).map((cell) => cell.textContent)));
    assert.deepEqual(rows, [["1", best.name, best.level, String(best.score)],
                            ["2", kHostileName, hostile.level, String(hostile.score)]]);
    assert.equal(await page.$$eval("#board img", (images) => images.length), 0);
    assert.equal(await page.evaluate(() => window.pwned), undefined);
    await (await page.$("#board")).screenshot({ path: path.join(kShots, "world-board.png") });

    await Promise.all([page.waitForNavigation(), page.click(`#board-rows tr[data-id="${best.id}"] a`)]);
    await page.waitForSelector("body[data-drawn]");
    assert.match(await page.$eval("#status", (s) => s.textContent), /world board's game/);
    await page.waitForSelector('.panel[data-form="Form1"]:not([hidden])', { timeout: 15000 });
    await page.screenshot({ path: path.join(kShots, "world-board-watch.png") });
    assert.deepEqual(errors, []);
    await page.close();
});

test("after a game ends the page asks once to send it, sends it when told and shows its rank",
     { timeout: 120000 }, async () => {
    const { page, errors } = await open("?replay=short.replay");
    await page.waitForSelector('.panel[data-form="Highscores"]:not([hidden])', { timeout: 90000 });
    await page.waitForSelector("#board-offer:not([hidden])", { timeout: 2000 });
    await page.screenshot({ path: path.join(kShots, "world-board-offer.png") });
    await page.click("#board-send");
    await page.waitForFunction(() => /rank \d+/.test(document.getElementById("status").textContent),
                               { timeout: 10000 });
    assert.equal(await page.evaluate(() => localStorage.getItem("zelvatron-page/send-to-board")),
                 "yes");
    const board = await (await fetch(`${base}/api/board`)).json();
    assert.equal(board.entries.length, 3, "the page's game joined the two sent before");
    assert.deepEqual(errors, []);
    await page.close();
});
