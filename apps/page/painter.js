// The game's drawing on a panel's canvas: each call comes from page_painter.cpp in the layout's
// pixels and is drawn in device pixels, at the page's zoom times the pixel ratio.
import { Align, Fill, ShapeKind } from "./constants.js";

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

// `contextOf(panel)` is the panel's 2D context; `scaleOf()` the device pixels to a layout pixel.
export function createPainter(contextOf, scaleOf) {
    let ctx = null;
    let scale = 1;
    const pictures = new Map();
    const decoding = [];
    const hatches = new Map(); // the hatch patterns made at `hatchScale`
    let hatchScale = 0;

    // A box in layout pixels moved onto whole device pixels, so edges stay sharp.
    function device(x, y, width, height) {
        const left = Math.round(x * scale);
        const top = Math.round(y * scale);
        return { left, top, width: Math.round((x + width) * scale) - left,
                 height: Math.round((y + height) * scale) - top };
    }

    // The lines of a downward diagonal fill, running down to the right.
    function hatch(rgb) {
        const key = rgb + "@" + scale;
        if (!hatches.has(key)) {
            const size = Math.max(1, Math.round(8 * scale));
            const tile = document.createElement("canvas");
            tile.width = tile.height = size;
            const tileCtx = tile.getContext("2d");
            tileCtx.strokeStyle = cssColor(rgb);
            tileCtx.lineWidth = Math.max(1, scale);
            tileCtx.beginPath();
            tileCtx.moveTo(0, 0);
            tileCtx.lineTo(size, size);
            tileCtx.stroke();
            hatches.set(key, ctx.createPattern(tile, "repeat"));
        }
        return hatches.get(key);
    }

    function outline(path, kind, box, radius) {
        if (box.width <= 0 || box.height <= 0)
            return;
        if (kind === ShapeKind.Oval || kind === ShapeKind.Circle) {
            path.ellipse(box.left + box.width / 2, box.top + box.height / 2, box.width / 2,
                         box.height / 2, 0, 0, 2 * Math.PI);
        } else if (kind === ShapeKind.RoundedRectangle || kind === ShapeKind.RoundedSquare) {
            path.roundRect(box.left, box.top, box.width, box.height, radius);
        } else {
            path.rect(box.left, box.top, box.width, box.height);
        }
    }

    return {
        beginPaint(number) {
            ctx = contextOf(number);
            scale = scaleOf();
            // The patterns of an old scale are never drawn again.
            if (scale !== hatchScale) {
                hatches.clear();
                hatchScale = scale;
            }
            ctx.setTransform(1, 0, 0, 1, 0, 0);
            ctx.imageSmoothingEnabled = false;
        },

        endPaint() {
            ctx = null;
            if (!document.body.dataset.drawn) {
                document.body.dataset.drawn = "yes";
                performance.mark("zelvatron-first-frame");
            }
        },

        pushClip(x, y, width, height) {
            const box = device(x, y, width, height);
            ctx.save();
            ctx.beginPath();
            ctx.rect(box.left, box.top, box.width, box.height);
            ctx.clip();
        },

        popClip() {
            ctx.restore();
        },

        fillRect(x, y, width, height, rgb, opacity) {
            const box = device(x, y, width, height);
            ctx.fillStyle = cssColor(rgb);
            ctx.globalAlpha = opacity;
            ctx.fillRect(box.left, box.top, box.width, box.height);
            ctx.globalAlpha = 1;
        },

        drawPicture(name, x, y) {
            const bitmap = pictures.get(name);
            if (!bitmap)
                return;
            ctx.drawImage(bitmap, Math.round(x * scale), Math.round(y * scale),
                          Math.round(bitmap.width * scale), Math.round(bitmap.height * scale));
        },

        // The border is drawn inside the box: the fill takes what is left within it.
        drawShape(x, y, width, height, kind, fill, fillRgb, border, borderRgb) {
            const outer = device(x, y, width, height);
            const b = Math.round(border * scale);
            const inner = { left: outer.left + b, top: outer.top + b, width: outer.width - 2 * b,
                            height: outer.height - 2 * b };
            const radius = Math.min(outer.width, outer.height) / 6;
            if (fill !== Fill.Transparent) {
                const path = new Path2D();
                outline(path, kind, inner, Math.max(0, radius - b));
                ctx.fillStyle = fill === Fill.DownwardDiagonal ? hatch(fillRgb) : cssColor(fillRgb);
                ctx.fill(path);
            }
            if (b > 0) {
                const ring = new Path2D();
                outline(ring, kind, outer, radius);
                outline(ring, kind, inner, Math.max(0, radius - b));
                ctx.fillStyle = cssColor(borderRgb);
                ctx.fill(ring, "evenodd");
            }
        },

        // A line is filled as the band its width covers, cut square at its ends.
        drawLine(x1, y1, x2, y2, width, rgb) {
            const s = scale;
            const dx = x2 - x1;
            const dy = y2 - y1;
            const length = Math.hypot(dx, dy);
            if (length === 0)
                return;
            const nx = (-dy / length) * (width / 2);
            const ny = (dx / length) * (width / 2);
            ctx.beginPath();
            ctx.moveTo((x1 + nx) * s, (y1 + ny) * s);
            ctx.lineTo((x2 + nx) * s, (y2 + ny) * s);
            ctx.lineTo((x2 - nx) * s, (y2 - ny) * s);
            ctx.lineTo((x1 - nx) * s, (y1 - ny) * s);
            ctx.closePath();
            ctx.fillStyle = cssColor(rgb);
            ctx.fill();
        },

        // The caption word-wrapped in the box, top aligned, clipped to the box.
        drawText(x, y, width, height, text, family, px, rgb, align, fixedLines) {
            const s = scale;
            ctx.save();
            const box = device(x, y, width, height);
            ctx.beginPath();
            ctx.rect(box.left, box.top, box.width, box.height);
            ctx.clip();
            ctx.font = `${px * s}px "${family}"`;
            ctx.textBaseline = "alphabetic";
            ctx.fillStyle = cssColor(rgb);
            let ascent = 0.79 * px * s;
            let spacing = px * s;
            if (!fixedLines) {
                const metrics = ctx.measureText("Mg");
                ascent = metrics.fontBoundingBoxAscent;
                spacing = metrics.fontBoundingBoxAscent + metrics.fontBoundingBoxDescent;
            }
            const lines = [];
            for (const paragraph of text.replace(/\r\n/g, "\n").split("\n")) {
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
                const left = align === Align.Right ? box.left + box.width - lineWidth
                           : align === Align.Center ? box.left + (box.width - lineWidth) / 2
                           : box.left;
                ctx.fillText(line, left, box.top + ascent + i * spacing);
            });
            ctx.restore();
        },

        // One bold line centred in the box: the pause banner's words.
        drawBannerText(x, y, width, height, text, family, px, rgb) {
            const box = device(x, y, width, height);
            ctx.font = `bold ${px * scale}px "${family}"`;
            ctx.textAlign = "center";
            ctx.textBaseline = "middle";
            ctx.fillStyle = cssColor(rgb);
            ctx.fillText(text, box.left + box.width / 2, box.top + box.height / 2);
            ctx.textAlign = "start";
            ctx.textBaseline = "alphabetic";
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
