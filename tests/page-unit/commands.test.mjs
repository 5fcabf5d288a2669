// The page's reading of the game's display list, field by field, from the built modules.
import assert from "node:assert/strict";
import { test } from "node:test";

import { loadBuilt } from "./built.mjs";

const [{ Code, Outline, TextLayout }, { readCommands }] =
    await loadBuilt("constants.js", "commands.js");

test("each command takes its own fields and the next starts after them", () => {
    const strings = new TextEncoder().encode("shipDejaVu SansMAX!!");
    const numbers = new Float64Array([
        Code.Clip, 1, 2, 3, 4,
        Code.Fill, Outline.Ellipse, 5, 6, 7, 8, 0, 0xff0000, 0, 0.5,
        Code.Picture, 0, 4, 9, 10, 2,
        Code.Text, 15, 5, 11, 12, 13, 14, 4, 11, 16, 0xffffff, 1, 2, TextLayout.Centred,
        Code.Unclip,
    ]);
    const commands = [];
    readCommands(numbers, strings, (command) => commands.push(structuredClone(command)));
    assert.deepEqual(commands.map((c) => c.code),
                     [Code.Clip, Code.Fill, Code.Picture, Code.Text, Code.Unclip]);
    assert.deepEqual(commands[1].shape, { outline: Outline.Ellipse, left: 5, top: 6, width: 7,
                                          height: 8, radius: 0 });
    assert.equal(commands[1].opacity, 0.5);
    assert.deepEqual([commands[2].name, commands[2].scale], ["ship", 2]);
    assert.deepEqual([commands[3].text, commands[3].family, commands[3].px, commands[3].bold],
                     ["MAX!!", "DejaVu Sans", 16, true]);
    assert.throws(() => readCommands(new Float64Array([99]), strings, () => {}), /no command 99/);
});
