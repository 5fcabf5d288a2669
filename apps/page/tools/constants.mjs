// Writes the numbers the page shares with the game's C++ headers as an ES module, so no number is
// typed twice: each named enum becomes a frozen object of its enumerators, counted as C++ counts
// them, and each header's `constexpr` integers one object named after the header (key_codes.h
// gives KeyCodes).   node constants.mjs OUT.js HEADER...
import fs from "node:fs";
import path from "node:path";
import { pathToFileURL } from "node:url";

// Comments and preprocessor lines would otherwise be read as enumerators.
function withoutComments(text) {
    return text.replace(/\/\*[\s\S]*?\*\//g, " ").replace(/\/\/.*$/gm, "")
               .replace(/^\s*#.*$/gm, "");
}

// A named enum with its body, and an integer `constexpr` with its initialiser.
const kEnum = /\benum\s+(?:class\s+|struct\s+)?([A-Za-z_]\w*)\s*(?::[^{;]*)?\{([^}]*)\}/g;
const kIntegerType = /(?:(?:unsigned|signed|int|long|short|std::u?int\d+_t)\s+)+/.source;
const kConstant = new RegExp(
    String.raw`\bconstexpr\s+${kIntegerType}([A-Za-z_]\w*)\s*=\s*([^;]+);`, "g");
const kNumber = /^(0[xX][0-9a-fA-F']+|0[bB][01']+|\d[\d']*)[uUlL]*$/;

function numberOf(literal) {
    const digits = kNumber.exec(literal)[1].replace(/'/g, "");
    // A leading 0 makes C++ read the rest as octal.
    return /^0[0-7]+$/.test(digits) ? parseInt(digits, 8) : Number(digits);
}

// An initialiser: integer literals, names already defined and C++'s integer operators. Anything
// else stops the build rather than guess at a number the game would disagree with.
function evaluate(expression, known, where) {
    const tokens = expression.match(/[\w']+|<<|>>|\S/g) || [];
    const js = tokens.map((token) => {
        if (kNumber.test(token))
            return String(numberOf(token));
        if (/^[A-Za-z_]\w*$/.test(token) && Object.hasOwn(known, token))
            return String(known[token]);
        if (/^(<<|>>|[-+*|&^~()])$/.test(token))
            return token;
        throw new Error(`${where}: cannot read "${expression}" (at "${token}")`);
    });
    const value = Function(`"use strict"; return (${js.join(" ")});`)();
    if (!Number.isInteger(value))
        throw new Error(`${where}: "${expression}" is no integer`);
    return value;
}

// The named objects a header gives: [[name, {member: value}]], in the header's order.
export function constantsOf(text, header) {
    const source = withoutComments(text);
    const found = [];
    for (const [, name, body] of source.matchAll(kEnum)) {
        const values = {};
        let next = 0;
        for (const item of body.split(",").map((part) => part.trim()).filter(Boolean)) {
            const match = /^([A-Za-z_]\w*)\s*(?:=([\s\S]+))?$/.exec(item);
            if (!match)
                throw new Error(`${header}: enum ${name}: cannot read "${item}"`);
            const [, member, initialiser] = match;
            values[member] = initialiser === undefined
                ? next : evaluate(initialiser.trim(), values, `${header}: ${name}::${member}`);
            next = values[member] + 1;
        }
        found.push([name, values]);
    }
    const constants = {};
    for (const [, name, initialiser] of source.matchAll(kConstant))
        constants[name] = evaluate(initialiser.trim(), constants, `${header}: ${name}`);
    if (Object.keys(constants).length > 0) {
        const stem = path.basename(header).replace(/\.\w+$/, "");
        found.push([stem.replace(/(?:^|_)(\w)/g, (_, letter) => letter.toUpperCase()), constants]);
    }
    return found;
}

// The module's text for the headers, {header: text}; a name two headers give is refused.
export function moduleOf(headers) {
    const from = new Map();
    const lines = [`// Made from ${Object.keys(headers).map((h) => path.basename(h)).join(", ")} ` +
                   "by apps/page/tools/constants.mjs at each build: do not edit."];
    for (const [header, text] of Object.entries(headers))
        for (const [name, values] of constantsOf(text, header)) {
            if (from.has(name))
                throw new Error(`${name} comes from both ${from.get(name)} and ${header}`);
            from.set(name, header);
            const members = Object.entries(values).map(([member, value]) => `${member}: ${value}`);
            lines.push(`export const ${name} = Object.freeze({ ${members.join(", ")} });`);
        }
    return lines.join("\n") + "\n";
}

if (process.argv[1] && import.meta.url === pathToFileURL(path.resolve(process.argv[1])).href) {
    const [out, ...headers] = process.argv.slice(2);
    if (!out || headers.length === 0) {
        console.error("usage: node constants.mjs OUT.js HEADER...");
        process.exit(2);
    }
    const texts = Object.fromEntries(headers.map((h) => [h, fs.readFileSync(h, "utf8")]));
    fs.writeFileSync(out, moduleOf(texts));
}
