// A static server for the page's folder, as any static host would serve it, plus a folder of
// replays the tests put beside the page.
"use strict";
const fs = require("fs");
const http = require("http");
const path = require("path");

const kTypes = {
    ".html": "text/html", ".js": "text/javascript", ".css": "text/css", ".wasm": "application/wasm",
    ".ttf": "font/ttf", ".png": "image/png",
};

function serve(folders) {
    const server = http.createServer((request, response) => {
        const name = decodeURIComponent(new URL(request.url, "http://localhost").pathname);
        const relative = name === "/" ? "index.html" : name.slice(1);
        for (const folder of folders) {
            const file = path.join(folder, relative);
            if (!file.startsWith(folder) || !fs.existsSync(file) || !fs.statSync(file).isFile())
                continue;
            response.writeHead(200, { "Content-Type": kTypes[path.extname(file)] || "text/plain" });
            fs.createReadStream(file).pipe(response);
            return;
        }
        response.writeHead(404);
        response.end();
    });
    return new Promise((resolve) => server.listen(0, "127.0.0.1", () => resolve(server)));
}

module.exports = { serve };
