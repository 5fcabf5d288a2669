// The game's display list as the page reads it from the compiled game's memory: numbers and
// UTF-8 strings laid out by page_commands.h, each command its code and then its fields.
import { Code } from "./constants.js";

const decoder = new TextDecoder();

// One object per kind of command, filled again for each: a frame's few dozen commands make no
// garbage for the browser to collect while the stage plays.
function shape() {
    return { outline: 0, left: 0, top: 0, width: 0, height: 0, radius: 0 };
}
const clip = { code: Code.Clip, left: 0, top: 0, width: 0, height: 0 };
const unclip = { code: Code.Unclip };
const fill = { code: Code.Fill, shape: shape(), rgb: 0, hatch: 0, opacity: 1 };
const ring = { code: Code.Ring, outer: shape(), inner: shape(), rgb: 0 };
const band = { code: Code.Band, corners: new Float64Array(8), rgb: 0 };
const picture = { code: Code.Picture, name: "", x: 0, y: 0, scale: 1 };
const text = { code: Code.Text, text: "", left: 0, top: 0, width: 0, height: 0, family: "", px: 0,
               rgb: 0, bold: false, align: 0, layout: 0 };

function readShape(into, numbers, i) {
    into.outline = numbers[i];
    into.left = numbers[i + 1];
    into.top = numbers[i + 2];
    into.width = numbers[i + 3];
    into.height = numbers[i + 4];
    into.radius = numbers[i + 5];
}

// Hands `visit` every command of a frame, in order. The object it gets is filled again for the
// next command of its kind: one that is kept must be copied.
export function readCommands(numbers, strings, visit) {
    const string = (i) => decoder.decode(strings.subarray(numbers[i], numbers[i] + numbers[i + 1]));
    for (let i = 0; i < numbers.length;) {
        switch (numbers[i]) {
        case Code.Clip:
            clip.left = numbers[i + 1];
            clip.top = numbers[i + 2];
            clip.width = numbers[i + 3];
            clip.height = numbers[i + 4];
            visit(clip);
            i += 5;
            break;
        case Code.Unclip:
            visit(unclip);
            i += 1;
            break;
        case Code.Fill:
            readShape(fill.shape, numbers, i + 1);
            fill.rgb = numbers[i + 7];
            fill.hatch = numbers[i + 8];
            fill.opacity = numbers[i + 9];
            visit(fill);
            i += 10;
            break;
        case Code.Ring:
            readShape(ring.outer, numbers, i + 1);
            readShape(ring.inner, numbers, i + 7);
            ring.rgb = numbers[i + 13];
            visit(ring);
            i += 14;
            break;
        case Code.Band:
            band.corners.set(numbers.subarray(i + 1, i + 9));
            band.rgb = numbers[i + 9];
            visit(band);
            i += 10;
            break;
        case Code.Picture:
            picture.name = string(i + 1);
            picture.x = numbers[i + 3];
            picture.y = numbers[i + 4];
            picture.scale = numbers[i + 5];
            visit(picture);
            i += 6;
            break;
        case Code.Text:
            text.text = string(i + 1);
            text.left = numbers[i + 3];
            text.top = numbers[i + 4];
            text.width = numbers[i + 5];
            text.height = numbers[i + 6];
            text.family = string(i + 7);
            text.px = numbers[i + 9];
            text.rgb = numbers[i + 10];
            text.bold = numbers[i + 11] !== 0;
            text.align = numbers[i + 12];
            text.layout = numbers[i + 13];
            visit(text);
            i += 14;
            break;
        default:
            throw new Error(`display list: no command ${numbers[i]} at ${i}`);
        }
    }
}
