// The game's display list as the page reads it from the compiled game's memory: numbers and
// UTF-8 strings laid out by page_commands.h, each command its code and then its fields.
import { Code } from "./constants.js";

function shapeAt(numbers, i) {
    return { outline: numbers[i], left: numbers[i + 1], top: numbers[i + 2],
             width: numbers[i + 3], height: numbers[i + 4], radius: numbers[i + 5] };
}

// Every command of a frame, in order, as plain objects.
export function* decodeCommands(numbers, strings) {
    const decoder = new TextDecoder();
    const text = (i) => decoder.decode(strings.subarray(numbers[i], numbers[i] + numbers[i + 1]));
    for (let i = 0; i < numbers.length;) {
        switch (numbers[i]) {
        case Code.Clip:
            yield { code: Code.Clip, left: numbers[i + 1], top: numbers[i + 2],
                    width: numbers[i + 3], height: numbers[i + 4] };
            i += 5;
            break;
        case Code.Unclip:
            yield { code: Code.Unclip };
            i += 1;
            break;
        case Code.Fill:
            yield { code: Code.Fill, shape: shapeAt(numbers, i + 1), rgb: numbers[i + 7],
                    hatch: numbers[i + 8], opacity: numbers[i + 9] };
            i += 10;
            break;
        case Code.Ring:
            yield { code: Code.Ring, outer: shapeAt(numbers, i + 1), inner: shapeAt(numbers, i + 7),
                    rgb: numbers[i + 13] };
            i += 14;
            break;
        case Code.Band:
            yield { code: Code.Band, corners: Array.from(numbers.subarray(i + 1, i + 9)),
                    rgb: numbers[i + 9] };
            i += 10;
            break;
        case Code.Picture:
            yield { code: Code.Picture, name: text(i + 1), x: numbers[i + 3], y: numbers[i + 4],
                    scale: numbers[i + 5] };
            i += 6;
            break;
        case Code.Text:
            yield { code: Code.Text, text: text(i + 1), left: numbers[i + 3], top: numbers[i + 4],
                    width: numbers[i + 5], height: numbers[i + 6], family: text(i + 7),
                    px: numbers[i + 9], rgb: numbers[i + 10], bold: numbers[i + 11] !== 0,
                    align: numbers[i + 12], layout: numbers[i + 13] };
            i += 14;
            break;
        default:
            throw new Error(`display list: no command ${numbers[i]} at ${i}`);
        }
    }
}
