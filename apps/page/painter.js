// Executes the game's display list on a panel's canvas, one buffer a frame: the game decided
// every place and size at the window's zoom; the painter only moves edges onto whole device
// pixels, at the device's pixel ratio.
import { readCommands } from "./commands.js";
import { Code, Hatch, Outline, TextAlign, TextLayout } from "./constants.js";

// The few colours the game uses, each made into its CSS text once.
const cssColors = new Map();

function cssColor(rgb) {
    let text = cssColors.get(rgb);
    if (text === undefined) {
        text = "#" + rgb.toString(16).padStart(6, "0");
        cssColors.set(rgb, text);
    }
    return text;
}

// `contextOf(panel)` is the panel's 2D context; `ratioOf()` the device pixels to a CSS pixel.
export function createPainter(contextOf, ratioOf) {
    let ctx = null;
    let ratio = 1;
    const pictures = new Map();
    const decoding = [];
    const hatches = new Map(); // the hatch patterns made at `hatchRatio`
    let hatchRatio = 0;

    const onDevice = { left: 0, top: 0, width: 0, height: 0 };

    // A box moved onto whole device pixels, so edges stay sharp; the answer is used at once,
    // before the next call fills it again.
    function device(box) {
        onDevice.left = Math.round(box.left * ratio);
        onDevice.top = Math.round(box.top * ratio);
        onDevice.width = Math.round((box.left + box.width) * ratio) - onDevice.left;
        onDevice.height = Math.round((box.top + box.height) * ratio) - onDevice.top;
        return onDevice;
    }

    // The lines of a downward diagonal fill, running down to the right.
    function hatch(rgb) {
        let pattern = hatches.get(rgb);
        if (!pattern) {
            const size = Math.max(1, Math.round(8 * ratio));
            const tile = document.createElement("canvas");
            tile.width = tile.height = size;
            const tileCtx = tile.getContext("2d");
            tileCtx.strokeStyle = cssColor(rgb);
            tileCtx.lineWidth = Math.max(1, ratio);
            tileCtx.beginPath();
            tileCtx.moveTo(0, 0);
            tileCtx.lineTo(size, size);
            tileCtx.stroke();
            pattern = ctx.createPattern(tile, "repeat");
            hatches.set(rgb, pattern);
        }
        return pattern;
    }

    // Adds the shape's outline to the context's current path.
    function outline(shape) {
        const box = device(shape);
        if (box.width <= 0 || box.height <= 0)
            return;
        if (shape.outline === Outline.Ellipse)
            ctx.ellipse(box.left + box.width / 2, box.top + box.height / 2, box.width / 2,
                         box.height / 2, 0, 0, 2 * Math.PI);
        else if (shape.outline === Outline.RoundedRectangle)
            ctx.roundRect(box.left, box.top, box.width, box.height, shape.radius * ratio);
        else
            ctx.rect(box.left, box.top, box.width, box.height);
    }

    function fill(command) {
        ctx.fillStyle = command.hatch === Hatch.DownwardDiagonal ? hatch(command.rgb)
                                                                 : cssColor(command.rgb);
        ctx.globalAlpha = command.opacity;
        if (command.shape.outline === Outline.Rectangle) {
            const box = device(command.shape);
            ctx.fillRect(box.left, box.top, box.width, box.height);
        } else {
            ctx.beginPath();
            outline(command.shape);
            ctx.fill();
        }
        ctx.globalAlpha = 1;
    }

    function ring(command) {
        ctx.beginPath();
        outline(command.outer);
        outline(command.inner);
        ctx.fillStyle = cssColor(command.rgb);
        ctx.fill("evenodd");
    }

    // A line's band, filled as the polygon it is.
    function band(command) {
        const c = command.corners;
        ctx.beginPath();
        ctx.moveTo(c[0] * ratio, c[1] * ratio);
        for (let k = 2; k < 8; k += 2)
            ctx.lineTo(c[k] * ratio, c[k + 1] * ratio);
        ctx.closePath();
        ctx.fillStyle = cssColor(command.rgb);
        ctx.fill();
    }

    function picture(command) {
        const bitmap = pictures.get(command.name);
        if (!bitmap)
            return;
        const s = ratio * command.scale;
        ctx.drawImage(bitmap, Math.round(command.x * ratio), Math.round(command.y * ratio),
                      Math.round(bitmap.width * s), Math.round(bitmap.height * s));
    }

    function font(command) {
        return `${command.bold ? "bold " : ""}${command.px * ratio}px "${command.family}"`;
    }

    // Word-wrapped in the box from its top, cut to the box.
    function wrappedText(command) {
        const box = device(command);
        ctx.save();
        ctx.beginPath();
        ctx.rect(box.left, box.top, box.width, box.height);
        ctx.clip();
        ctx.font = font(command);
        ctx.textBaseline = "alphabetic";
        ctx.fillStyle = cssColor(command.rgb);
        let ascent = 0.79 * command.px * ratio;
        let spacing = command.px * ratio;
        if (command.layout === TextLayout.Wrapped) {
            const metrics = ctx.measureText("Mg");
            ascent = metrics.fontBoundingBoxAscent;
            spacing = metrics.fontBoundingBoxAscent + metrics.fontBoundingBoxDescent;
        }
        const lines = [];
        for (const paragraph of command.text.replace(/\r\n/g, "\n").split("\n")) {
            let line = "";
            for (const word of paragraph.split(" ")) {
                const longer = line === "" ? word : line + " " + word;
                if (line !== "" && ctx.measureText(longer).width > box.width) {
                    lines.push(line);
                    line = word;
                } else {
                    line = longer;
                }
            }
            lines.push(line);
        }
        lines.forEach((line, i) => {
            const lineWidth = ctx.measureText(line).width;
            const left = command.align === TextAlign.Right ? box.left + box.width - lineWidth
                       : command.align === TextAlign.Centre ? box.left + (box.width - lineWidth) / 2
                       : box.left;
            ctx.fillText(line, left, box.top + ascent + i * spacing);
        });
        ctx.restore();
    }

    // One line centred in the box both ways: the pause banner's words.
    function centredText(command) {
        const box = device(command);
        ctx.font = font(command);
        ctx.textAlign = "center";
        ctx.textBaseline = "middle";
        ctx.fillStyle = cssColor(command.rgb);
        ctx.fillText(command.text, box.left + box.width / 2, box.top + box.height / 2);
        ctx.textAlign = "start";
        ctx.textBaseline = "alphabetic";
    }

    function execute(command) {
        switch (command.code) {
        case Code.Clip: {
            const box = device(command);
            ctx.save();
            ctx.beginPath();
            ctx.rect(box.left, box.top, box.width, box.height);
            ctx.clip();
            break;
        }
        case Code.Unclip:
            ctx.restore();
            break;
        case Code.Fill:
            fill(command);
            break;
        case Code.Ring:
            ring(command);
            break;
        case Code.Band:
            band(command);
            break;
        case Code.Picture:
            picture(command);
            break;
        case Code.Text:
            if (command.layout === TextLayout.Centred)
                centredText(command);
            else
                wrappedText(command);
            break;
        }
    }

    return {
        // A frame's drawing on the panel: the numbers and the strings of its display list.
        paint(number, numbers, strings) {
            ctx = contextOf(number);
            ratio = ratioOf();
            // The patterns of an old ratio are never drawn again.
            if (ratio !== hatchRatio) {
                hatches.clear();
                hatchRatio = ratio;
            }
            ctx.setTransform(1, 0, 0, 1, 0, 0);
            ctx.imageSmoothingEnabled = false;
            readCommands(numbers, strings, execute);
            ctx = null;
            if (!document.body.dataset.drawn) {
                document.body.dataset.drawn = "yes";
                performance.mark("zelvatron-first-frame");
            }
        },

        // A picture's PNG bytes, decoded before the game starts.
        picture(name, bytes) {
            const blob = new Blob([bytes], { type: "image/png" });
            decoding.push(createImageBitmap(blob).then((bitmap) => pictures.set(name, bitmap)));
        },

        // Settles once every picture handed over so far is decoded.
        decoded() {
            return Promise.all(decoding);
        },
    };
}
