// Debian's Chromium, headless, as the page's tests drive it.
"use strict";
const puppeteer = require("puppeteer-core");

function launch() {
    return puppeteer.launch({
        executablePath: "/usr/bin/chromium",
        headless: true,
        args: ["--no-sandbox", "--disable-gpu", "--disable-quic", "--no-first-run",
               "--disable-background-networking", "--disable-component-update", "--disable-sync"],
    });
}

module.exports = { launch };
