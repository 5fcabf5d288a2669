// The page's built modules, copied beside a package.json that tells Node they are ES modules as
// the page is; removed after the tests of the file that loads them.
import fs from "node:fs";
import os from "node:os";
import path from "node:path";
import { after } from "node:test";
import { pathToFileURL } from "node:url";

const site = process.env.ZELVATRON_SITE || new URL("../../build/web/", import.meta.url).pathname;

export async function loadBuilt(...names) {
    const copies = fs.mkdtempSync(path.join(os.tmpdir(), "zelvatron-page-unit-"));
    after(() => fs.rmSync(copies, { recursive: true, force: true }));
    fs.writeFileSync(path.join(copies, "package.json"), '{ "type": "module" }\n');
    for (const name of names)
        fs.copyFileSync(path.join(site, name), path.join(copies, name));
    return Promise.all(names.map((name) => import(pathToFileURL(path.join(copies, name)).href)));
}
