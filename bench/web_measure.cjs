// The browser build measured in headless Chromium, side by side in one run: CPU of the browser's
// processes while the wave stage plays with keys held, against a bare page that repaints a canvas
// of the same size on every animation frame and against the web limit page (web_limit.html, the
// least a page does to show the stage in play), each played with the same keys; the title with
// nothing happening (animation frames asked for, CPU), against a blank page with the same
// gamepad listener (blank_pads.html); the time from navigation to the title on screen; the
// folder's transfer size; the display frames from the P key to the pause banner on screen; CPU
// while the stage plays with its sound on against muted.
//
//   node bench/web_measure.cjs SITE [SECONDS]     (bench/web-measure builds SITE and runs this)
// The play is measured in five turns of SECONDS each, the bare page, the web limit page and the
// game in turn.
"use strict";
const fs = require("node:fs");
const path = require("node:path");
const zlib = require("node:zlib");
const puppeteer = require("puppeteer-core");
const { serve } = require("../tests/web/serve.cjs");

const kSite = path.resolve(process.argv[2] || "build/web");
const kSeconds = Number(process.argv[3] || 20);
const kRounds = 5;
const kTicksPerSecond = 100; // the kernel's clock ticks in /proc/PID/stat

function pause(ms) {
    return new Promise((resolve) => setTimeout(resolve, ms));
}

// CPU ticks used so far by a process and every process below it, living or ended.
function treeTicks(root) {
    const parents = new Map();
    const ticks = new Map();
    for (const entry of fs.readdirSync("/proc")) {
        if (!/^\d+$/.test(entry))
            continue;
        try {
            const stat = fs.readFileSync(`/proc/${entry}/stat`, "utf8");
            const fields = stat.slice(stat.lastIndexOf(")") + 2).split(" ");
            parents.set(Number(entry), Number(fields[1]));
            // Its own time and that of its children that have ended (a closed tab's renderer).
            ticks.set(Number(entry), Number(fields[11]) + Number(fields[12]) + Number(fields[13]) +
                                     Number(fields[14]));
        } catch (e) {
            // the process ended while we looked
        }
    }
    let total = 0;
    for (const [pid, used] of ticks) {
        for (let p = pid; p; p = parents.get(p))
            if (p === root) {
                total += used;
                break;
            }
    }
    return total;
}

async function cpuPercent(browser, during) {
    const pid = browser.process().pid;
    const start = treeTicks(pid);
    const began = Date.now();
    await during();
    const seconds = (Date.now() - began) / 1000;
    return (100 * (treeTicks(pid) - start)) / kTicksPerSecond / seconds;
}

// Keys as a player holds them: Right, then Left, each for two seconds at the keyboard's repeat
// rate, with Space tapped all the while.
async function play(page, seconds) {
    const until = Date.now() + seconds * 1000;
    for (let n = 0; Date.now() < until; ++n) {
        const key = Math.floor(n / 60) % 2 === 0 ? "ArrowRight" : "ArrowLeft";
        await page.keyboard.down(key);
        if (n % 4 === 0)
            await page.keyboard.press("Space");
        await pause(33);
        if (n % 60 === 59)
            await page.keyboard.up(key);
    }
    await page.keyboard.up("ArrowRight");
    await page.keyboard.up("ArrowLeft");
}

async function launch() {
    return puppeteer.launch({
        executablePath: "/usr/bin/chromium",
        headless: true,
        args: ["--no-sandbox", "--disable-gpu", "--disable-quic", "--no-first-run",
               "--disable-background-networking", "--disable-component-update", "--disable-sync"],
    });
}

async function newPage(browser) {
    const page = await browser.newPage();
    await page.setViewport({ width: 1280, height: 800, deviceScaleFactor: 1 });
    // Counts the animation frames the page asks for.
    await page.evaluateOnNewDocument(() => {
        const ask = window.requestAnimationFrame.bind(window);
        window.framesAsked = 0;
        window.requestAnimationFrame = (callback) => {
            ++window.framesAsked;
            return ask(callback);
        };
    });
    return page;
}

async function toStage(page) {
    await page.keyboard.press("Enter");
    await page.waitForSelector('.panel[data-form="Dialog"]:not([hidden])');
    await page.keyboard.press("Enter");
    await page.waitForSelector('.panel[data-form="Form1"]:not([hidden])');
}

// P pressed on the playing stage, again and again: in which animation frame after the key the
// banner (its big word's white pixels) is on the canvas, and the time from the key until then. The watcher's frames are asked for after the page's own, within the key,
// so each looks at the canvas once the page has drawn that frame.
async function pauseToBanner(page, times) {
    await page.evaluate(() => {
        window.addEventListener("keydown", (event) => {
            if (event.code !== "KeyP" || !window.watching)
                return;
            window.watching = false;
            const keyAt = event.timeStamp;
            const canvas = document.querySelector('.panel[data-form="Form1"] canvas');
            const ctx = canvas.getContext("2d");
            let frames = 0;
            const look = () => {
                ++frames;
                const { data } = ctx.getImageData(0, 193, canvas.width, 67);
                let white = 0;
                for (let i = 0; i < data.length; i += 4)
                    if (data[i] === 255 && data[i + 1] === 255 && data[i + 2] === 255)
                        ++white;
                if (white > 1000 || frames >= 30)
                    window.bannerShown = { frames, ms: performance.now() - keyAt, white };
                else
                    requestAnimationFrame(look);
            };
            requestAnimationFrame(look);
        }, true);
    });
    const shown = [];
    for (let i = 0; i < times; ++i) {
        await page.evaluate(() => {
            window.bannerShown = null;
            window.watching = true;
        });
        await page.keyboard.press("KeyP");
        await page.waitForFunction(() => window.bannerShown !== null);
        shown.push(await page.evaluate(() => window.bannerShown));
        await pause(150);
        await page.keyboard.press("KeyP"); // plays on
        await pause(400);
    }
    return shown;
}

function transferBytes() {
    let total = 0;
    const files = [];
    for (const name of fs.readdirSync(kSite)) {
        const bytes = zlib.gzipSync(fs.readFileSync(path.join(kSite, name)), { level: 9 }).length;
        files.push(`${name} ${bytes}`);
        total += bytes;
    }
    return { total, files };
}

function ratioText(a, b) {
    return b > 0 ? (a / b).toFixed(2) : "-";
}

function median(values) {
    const sorted = [...values].sort((a, b) => a - b);
    return sorted[Math.floor(sorted.length / 2)];
}

async function main() {
    const server = await serve([kSite, __dirname]);
    const base = `http://127.0.0.1:${server.address().port}`;
    const results = [];
    const row = (what, value, target, pass) => results.push({ what, value, target, pass });

    // Title on screen after navigation, five fresh browsers.
    const startups = [];
    for (let i = 0; i < 5; ++i) {
        const browser = await launch();
        const page = await newPage(browser);
        await page.goto(`${base}/`);
        await page.waitForSelector("body[data-drawn]", { timeout: 10000 });
        startups.push(await page.evaluate(() =>
            performance.getEntriesByName("zelvatron-first-frame")[0].startTime));
        await browser.close();
    }
    const startup = median(startups);
    row("title on screen after navigation, ms (median of 5)", startup.toFixed(0), "<= 1000", startup <= 1000);

    const browser = await launch();
    // The title with nothing happening.
    const title = await newPage(browser);
    await title.goto(`${base}/`);
    await title.waitForSelector("body[data-drawn]");
    await pause(2000);
    const askedBefore = await title.evaluate(() => window.framesAsked);
    const idle = await cpuPercent(browser, () => pause(kSeconds * 500));
    const asked = (await title.evaluate(() => window.framesAsked)) - askedBefore;
    row(`animation frames asked for, title idle ${kSeconds / 2} s`, asked, "0", asked === 0);
    row(`CPU % of a core, browser, title idle ${kSeconds / 2} s`, idle.toFixed(2), "near 0 (<= 1)", idle <= 1);
    await title.close();
    // A blank page that listens for pads as the game's page does: what the idle title costs at
    // the least.
    const blank = await newPage(browser);
    await blank.goto(`${base}/blank_pads.html`);
    await pause(2000);
    const idleBlank = await cpuPercent(browser, () => pause(kSeconds * 500));
    await blank.close();
    row(`CPU % of a core, browser, blank page with the gamepad listener, idle ${kSeconds / 2} s`,
        idleBlank.toFixed(2), "-", true);
    row("CPU, title idle / blank page with the same gamepad listener",
        ratioText(idle, idleBlank), `<= 1 (${idleBlank.toFixed(2)})`, idle <= idleBlank);
    // The same with the Gamepad API hidden from the page: a page that listens for pads has the
    // browser look for them about every frame, which is most of the idle figure above.
    const padless = await newPage(browser);
    await padless.evaluateOnNewDocument(() => {
        Object.defineProperty(Navigator.prototype, "getGamepads", { value: undefined });
        const listen = window.addEventListener.bind(window);
        window.addEventListener = (type, ...rest) => type.startsWith("gamepad") || listen(type, ...rest);
    });
    await padless.goto(`${base}/`);
    await padless.waitForSelector("body[data-drawn]");
    await pause(2000);
    const idlePadless = await cpuPercent(browser, () => pause(kSeconds * 500));
    row(`CPU % of a core, browser, title idle ${kSeconds / 2} s, no Gamepad API`, idlePadless.toFixed(2), "-", true);
    await padless.close();

    // The bare page, the web limit page and the wave stage, the same keys held on each, in
    // turns; the median of each, since other work on the machine shows in any single run.
    const bareRuns = [];
    const limitRuns = [];
    const gameRuns = [];
    let stillOn = true;
    for (let round = 0; round < kRounds; ++round) {
        const bare = await newPage(browser);
        await bare.goto(`${base}/bare_canvas.html`);
        await pause(1000);
        bareRuns.push(await cpuPercent(browser, () => play(bare, kSeconds)));
        await bare.close();
        await pause(1000);

        const limit = await newPage(browser);
        await limit.goto(`${base}/web_limit.html`);
        await pause(1000);
        limitRuns.push(await cpuPercent(browser, () => play(limit, kSeconds)));
        await limit.close();
        await pause(1000);

        const game = await newPage(browser);
        await game.goto(`${base}/`);
        await game.waitForSelector("body[data-drawn]");
        await toStage(game);
        await pause(1000);
        gameRuns.push(await cpuPercent(browser, () => play(game, kSeconds)));
        stillOn = stillOn && (await game.$('.panel[data-form="Form1"]:not([hidden])')) !== null;
        if (round === 0)
            await game.screenshot({ path: path.join(kSite, "..", "web-measure-play.png") });
        await game.close();
        await pause(1000);
    }
    const bareCpu = median(bareRuns);
    const limitCpu = median(limitRuns);
    const gameCpu = median(gameRuns);
    const runs = (values) => values.map((v) => v.toFixed(1)).join(" ");
    row(`CPU % of a core, browser, bare canvas repainted every frame, median of ${kRounds} x ${kSeconds} s`,
        bareCpu.toFixed(2), "-", true);
    row(`CPU % of a core, browser, wave stage played, median of ${kRounds} x ${kSeconds} s`,
        gameCpu.toFixed(2), `<= bare (${bareCpu.toFixed(2)})`, gameCpu <= bareCpu);
    row(`CPU % of a core, browser, web limit page played, median of ${kRounds} x ${kSeconds} s`,
        limitCpu.toFixed(2), "-", true);
    row("CPU, wave stage / web limit page", ratioText(gameCpu, limitCpu), "-", true);
    row("wave stage still on after each play", stillOn ? "yes" : "no", "yes", stillOn);
    console.log(`runs, CPU %: bare ${runs(bareRuns)}; web limit ${runs(limitRuns)}; ` +
                `wave stage ${runs(gameRuns)}`);

    // The pause banner, ten times over on one stage.
    const stage = await newPage(browser);
    await stage.goto(`${base}/`);
    await stage.waitForSelector("body[data-drawn]");
    await toStage(stage);
    await pause(1000);
    const banners = await pauseToBanner(stage, 10);
    await stage.close();
    const mostFrames = Math.max(...banners.map((b) => b.frames));
    const mostMs = Math.max(...banners.map((b) => b.ms));
    row("animation frames from the P key to the pause banner drawn, most of 10", mostFrames, "1",
        mostFrames === 1);
    row("ms from the P key to the banner drawn, most of 10", mostMs.toFixed(1), "<= 16.7", mostMs <= 16.7);
    console.log("pause to banner, frames/ms: " +
                banners.map((b) => `${b.frames}/${b.ms.toFixed(1)}`).join(" "));

    // The stage played with its sound on and muted, in turns (the mute is the page's M key).
    const soundRuns = { on: [], muted: [] };
    const audioStates = new Set();
    for (let round = 0; round < kRounds; ++round)
        for (const muted of [false, true]) {
            const game = await newPage(browser);
            await game.goto(`${base}/`);
            await game.waitForSelector("body[data-drawn]");
            await toStage(game);
            if ((await game.evaluate(() => zelvatronPage.muted)) !== muted)
                await game.keyboard.press("KeyM");
            await pause(1000);
            audioStates.add(`${muted ? "muted" : "on"}: ${await game.evaluate(() => zelvatronPage.audioState)}`);
            (muted ? soundRuns.muted : soundRuns.on).push(await cpuPercent(browser, () => play(game, kSeconds)));
            await game.close();
            await pause(1000);
        }
    const soundOn = median(soundRuns.on);
    const soundMuted = median(soundRuns.muted);
    const ratio = soundOn / soundMuted;
    row(`CPU % of a core, browser, wave stage with sound on, median of ${kRounds} x ${kSeconds} s`,
        soundOn.toFixed(2), "-", true);
    row(`CPU % of a core, browser, wave stage muted, median of ${kRounds} x ${kSeconds} s`,
        soundMuted.toFixed(2), "-", true);
    row("CPU with sound on / muted", ratio.toFixed(3), "<= 1.1", ratio <= 1.1);
    // The web limit page makes no sound: the stage without its sound, like for like.
    row("CPU, wave stage muted / web limit page", ratioText(soundMuted, limitCpu), "-", true);
    console.log(`runs, CPU %: sound on ${runs(soundRuns.on)}; muted ${runs(soundRuns.muted)}; ` +
                `audio ${[...audioStates].join(", ")}`);
    await browser.close();
    server.close();

    const transfer = transferBytes();
    row("transfer size of the folder, gzip -9, bytes", transfer.total, "<= 1048576", transfer.total <= 1048576);

    console.log("files, gzip -9 bytes: " + transfer.files.join(", "));
    console.log("startups ms: " + startups.map((s) => s.toFixed(0)).join(" "));
    console.log("");
    const width = Math.max(...results.map((r) => r.what.length));
    console.log(`${"measured".padEnd(width)}  ${"value".padStart(10)}  ${"target".padEnd(20)}  result`);
    let missed = 0;
    for (const r of results) {
        console.log(`${r.what.padEnd(width)}  ${String(r.value).padStart(10)}  ${r.target.padEnd(20)}  ${r.pass ? "PASS" : "FAIL"}`);
        missed += r.pass ? 0 : 1;
    }
    console.log(missed ? `${missed} target(s) missed` : "every target met");
}

main().catch((error) => {
    console.error(error);
    process.exit(1);
});
