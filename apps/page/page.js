// The page around the game: each window of the game is a panel on a black screen, drawn on a
// canvas by the game (page_painter.cpp) with real HTML buttons, text box and lists over it. The
// page draws what it is told and hands the player's raw input to the game; what a key, a click or
// a close means is decided there. The game's calls arrive through the object `zv`.
"use strict";

// The largest window of the game, the wave stage with its frame, in the layout's pixels: the
// page zooms every window by the largest whole factor at which it fits the screen, or scales it
// down to fit a smaller one (a phone).
const kLargestWindow = { width: 671, height: 522 };
// What the browser's local storage holds the game's files under.
const kFilePrefix = "zelvatron/";
const kReplayHandedOver = "zelvatron/replay-to-play";
// The player's mute, kept apart from the game's files.
const kMutedKey = "zelvatron-page/muted";

// The buttons the game hears from a pad or the touch bar (rt::PadButton in pad_keys.h).
// P, the game's key that pauses and plays on.
const kKeyP = 80;
const kPadLeft = 1, kPadRight = 2, kPadUp = 4, kPadDown = 8, kPadSouth = 16, kPadStart = 32;

// The gamepads connected now; none where the page may not read them (a frame that was not
// allowed gamepads).
function connectedPads() {
    try {
        return [...(navigator.getGamepads ? navigator.getGamepads() : [])]
            .filter((pad) => pad && pad.connected);
    } catch (e) {
        return [];
    }
}

// The buttons held on a gamepad in the standard mapping: d-pad or stick, A/Cross, Start. A pad
// of another layout (a wheel, a throttle) is not read: its axes and buttons mean other things.
function padMaskOf(pad) {
    if (pad.mapping !== "standard")
        return 0;
    const held = (i) => pad.buttons[i] !== undefined && pad.buttons[i].pressed;
    const x = pad.axes.length > 0 ? pad.axes[0] : 0;
    return (held(14) || x < -0.5 ? kPadLeft : 0) | (held(15) || x > 0.5 ? kPadRight : 0) |
           (held(12) ? kPadUp : 0) | (held(13) ? kPadDown : 0) | (held(0) ? kPadSouth : 0) |
           (held(9) ? kPadStart : 0);
}

// The game's key codes (Windows virtual-key codes) for the keys a browser names.
const kNamedKeys = {
    Backspace: 8, Tab: 9, Enter: 13, NumpadEnter: 13, ShiftLeft: 16, ShiftRight: 16,
    ControlLeft: 17, ControlRight: 17, AltLeft: 18, AltRight: 18, Escape: 27, Space: 32,
    PageUp: 33, PageDown: 34, End: 35, Home: 36, ArrowLeft: 37, ArrowUp: 38, ArrowRight: 39,
    ArrowDown: 40, Insert: 45, Delete: 46,
};

function keyCodeOf(event) {
    const code = event.code || "";
    let match;
    if ((match = /^Key([A-Z])$/.exec(code)))
        return match[1].charCodeAt(0);
    if ((match = /^Digit([0-9])$/.exec(code)))
        return 48 + Number(match[1]);
    if ((match = /^Numpad([0-9])$/.exec(code)))
        return 96 + Number(match[1]);
    if ((match = /^F([0-9]{1,2})$/.exec(code)) && Number(match[1]) <= 12)
        return 111 + Number(match[1]);
    return kNamedKeys[code] || 0;
}

function shiftMaskOf(event) {
    return (event.shiftKey ? 1 : 0) | (event.ctrlKey ? 2 : 0) | (event.altKey ? 4 : 0);
}

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

const zv = {
    screen: null,
    zoom: 1,
    ratio: 1,
    panels: new Map(),
    stacking: 0,
    pictures: new Map(),
    decoding: [],
    framesWanted: new Set(),
    frameRequested: false,
    ctx: null,
    scale: 1,
    started: false,
    hatches: new Map(),
    audio: null, // the AudioContext, made at the player's first key or click
    noAudio: false,
    sounds: [], // each effect's samples, then its AudioBuffer once there is a context
    voices: [], // the one voice of each effect, while it sounds
    muted: false,
    padsHeld: 0,
    padsStale: 0, // held through a let-go: not heard again until released
    touchHeld: 0,
    touchFingers: [], // the fingers on each touch button
    heldSent: 0,
    padsRead: false, // a pad is being read at each animation frame

    // ---- The screen and its zoom ----

    measure() {
        const width = this.screen.clientWidth;
        const height = this.screen.clientHeight;
        this.ratio = window.devicePixelRatio || 1;
        const fit = Math.min(width / kLargestWindow.width, height / kLargestWindow.height);
        this.zoom = fit >= 1 ? Math.floor(fit) : Math.max(0.25, fit);
        return { width: Math.floor(width / this.zoom), height: Math.floor(height / this.zoom) };
    },

    resized() {
        const before = { zoom: this.zoom, ratio: this.ratio };
        const screen = this.measure();
        for (const panel of this.panels.values())
            this.layOut(panel);
        if (this.started)
            Module._zv_resized(screen.width, screen.height);
        const rescaled = before.zoom !== this.zoom || before.ratio !== this.ratio;
        // The hatch patterns are made at a scale: those of the old one are not drawn again.
        if (rescaled)
            this.hatches.clear();
        return rescaled;
    },

    // ---- Panels: one per loaded window ----

    panelCreate(number, name, width, height, border, title) {
        const element = document.createElement("section");
        element.className = "panel";
        element.setAttribute("role", "dialog");
        element.setAttribute("aria-label", name);
        element.dataset.form = name;
        element.hidden = true;
        const bar = document.createElement("div");
        bar.className = "titlebar";
        const caption = document.createElement("span");
        caption.className = "caption";
        const close = document.createElement("button");
        close.type = "button";
        close.className = "close";
        close.tabIndex = -1;
        close.textContent = "\u00d7";
        close.setAttribute("aria-label", "Close");
        close.addEventListener("mousedown", (e) => e.preventDefault());
        close.addEventListener("click", () => Module._zv_close(number));
        bar.append(caption, close);
        const client = document.createElement("div");
        client.className = "client";
        const canvas = document.createElement("canvas");
        canvas.setAttribute("aria-hidden", "true");
        client.append(canvas);
        element.append(bar, client);
        element.addEventListener("mousedown", () => this.raise(panel));
        const panel = {
            number, name, element, caption, client, canvas, width, height, border, title,
            ctx: canvas.getContext("2d", { alpha: false }), place: null, widgets: new Map(), focused: -1, z: 0,
            shownCaption: null, enabled: true,
        };
        this.panels.set(number, panel);
        this.layOut(panel);
        this.screen.append(element);
    },

    // Where the panel stands and how large it is drawn, at the page's zoom and pixel ratio.
    layOut(panel) {
        const z = this.zoom;
        const outerWidth = panel.width + 2 * panel.border;
        const outerHeight = panel.height + panel.title + panel.border;
        let left, top;
        if (panel.place) {
            left = panel.place.x - panel.border;
            top = panel.place.y - panel.title;
        } else {
            const screen = { width: this.screen.clientWidth / z, height: this.screen.clientHeight / z };
            left = (screen.width - outerWidth) / 2;
            top = (screen.height - outerHeight) / 2;
        }
        const style = panel.element.style;
        style.left = Math.max(0, Math.round(left * z)) + "px";
        style.top = Math.max(0, Math.round(top * z)) + "px";
        style.borderWidth = `${panel.border * z}px`;
        const bar = panel.element.firstChild.style;
        bar.height = (panel.title - panel.border) * z + "px";
        bar.fontSize = 12 * z + "px";
        panel.client.style.width = panel.width * z + "px";
        panel.client.style.height = panel.height * z + "px";
        const canvas = panel.canvas;
        const deviceWidth = Math.round(panel.width * z * this.ratio);
        const deviceHeight = Math.round(panel.height * z * this.ratio);
        if (canvas.width !== deviceWidth || canvas.height !== deviceHeight) {
            canvas.width = deviceWidth;
            canvas.height = deviceHeight;
        }
        canvas.style.width = panel.width * z + "px";
        canvas.style.height = panel.height * z + "px";
        for (const widget of panel.widgets.values())
            this.placeWidget(widget);
    },

    panelPlace(number, place) {
        const panel = this.panels.get(number);
        const same = place === null ? panel.place === null
                                    : panel.place && panel.place.x === place.x && panel.place.y === place.y;
        if (same)
            return;
        panel.place = place;
        this.layOut(panel);
    },

    panelShow(number) {
        const panel = this.panels.get(number);
        panel.element.hidden = false;
        this.raise(panel);
    },

    panelHide(number) {
        const panel = this.panels.get(number);
        panel.element.hidden = true;
        this.showDomFocus();
    },

    panelRemove(number) {
        const panel = this.panels.get(number);
        panel.element.remove();
        this.panels.delete(number);
        this.framesWanted.delete(number);
        this.showDomFocus();
    },

    panelCaption(number, caption) {
        const panel = this.panels.get(number);
        if (panel.shownCaption === caption)
            return;
        panel.shownCaption = caption;
        panel.caption.textContent = caption;
        panel.element.setAttribute("aria-label", caption);
    },

    panelEnabled(number, enabled) {
        const panel = this.panels.get(number);
        if (panel.enabled === enabled)
            return;
        panel.enabled = enabled;
        panel.element.classList.toggle("disabled", !enabled);
    },

    // A window shown or clicked comes to the front and takes the keys, as on a desktop.
    raise(panel) {
        panel.z = ++this.stacking;
        panel.element.style.zIndex = panel.z;
        this.showDomFocus();
    },

    // The panel the keys go to: the front one on screen.
    activePanel() {
        let front = null;
        for (const panel of this.panels.values())
            if (!panel.element.hidden && (!front || panel.z > front.z))
                front = panel;
        return front;
    },

    requestFrame(number) {
        this.framesWanted.add(number);
        if (this.frameRequested)
            return;
        this.frameRequested = true;
        requestAnimationFrame(() => {
            this.frameRequested = false;
            const wanted = [...this.framesWanted];
            this.framesWanted.clear();
            for (const panel of wanted)
                if (this.panels.has(panel))
                    Module._zv_frame(panel);
        });
    },

    ended() {
        for (const panel of this.panels.values())
            panel.element.hidden = true;
        const message = document.createElement("div");
        message.className = "message";
        message.setAttribute("role", "alert");
        message.textContent = "The game has ended.";
        const again = document.createElement("button");
        again.type = "button";
        again.textContent = "Play again";
        again.addEventListener("click", () => location.reload());
        message.append(document.createElement("br"), again);
        this.screen.append(message);
        document.body.dataset.ended = "yes";
    },

    // ---- The window's controls as HTML controls ----

    widgetCreate(number, control, kind, name) {
        const panel = this.panels.get(number);
        let element;
        if (kind === 0) {
            element = document.createElement("button");
            element.type = "button";
            // The game shows the focus and presses buttons itself: the browser's own focus
            // would press them a second time on Enter and Space.
            element.tabIndex = -1;
            element.addEventListener("mousedown", (e) => {
                e.preventDefault();
                Module._zv_focus(number, control);
            });
            element.addEventListener("click", () => Module._zv_click(number, control));
        } else if (kind === 1) {
            element = document.createElement("input");
            element.type = "text";
            element.tabIndex = -1;
            element.spellcheck = false;
            element.autocomplete = "off";
            element.setAttribute("aria-label", name);
            element.addEventListener("mousedown", () => Module._zv_focus(number, control));
            element.addEventListener("input", () =>
                Module.ccall("zv_type", null, ["number", "number", "string"],
                             [number, control, element.value]));
        } else {
            element = document.createElement("div");
            element.setAttribute("role", "listbox");
            element.setAttribute("aria-label", name);
            element.classList.add("list");
        }
        element.classList.add("widget");
        element.dataset.control = name;
        panel.client.append(element);
        panel.widgets.set(control, { element, kind, state: {} });
    },

    // A button's caption or a text box's text in `text`; a list's rows, one string each, in `rows`.
    widgetSync(number, control, x, y, width, height, shown, enabled, family, px, text, rows) {
        const widget = this.panels.get(number).widgets.get(control);
        const state = widget.state;
        const element = widget.element;
        if (state.x !== x || state.y !== y || state.width !== width || state.height !== height ||
            state.family !== family || state.px !== px) {
            Object.assign(state, { x, y, width, height, family, px });
            this.placeWidget(widget);
        }
        if (state.shown !== shown) {
            state.shown = shown;
            element.style.display = shown ? "" : "none";
        }
        if (widget.kind === 0 && state.enabled !== enabled) {
            state.enabled = enabled;
            element.disabled = !enabled;
        }
        if (widget.kind !== 2) {
            if (state.text === text)
                return;
            state.text = text;
            if (widget.kind === 0)
                element.textContent = text;
            else if (element.value !== text)
                element.value = text;
        } else {
            if (state.rows && state.rows.length === rows.length &&
                state.rows.every((row, i) => row === rows[i]))
                return;
            state.rows = rows;
            while (element.children.length > rows.length)
                element.lastChild.remove();
            while (element.children.length < rows.length) {
                const row = document.createElement("div");
                row.setAttribute("role", "option");
                row.setAttribute("aria-selected", "false");
                element.append(row);
            }
            rows.forEach((row, i) => {
                if (element.children[i].textContent !== row)
                    element.children[i].textContent = row;
            });
        }
    },

    placeWidget(widget) {
        const state = widget.state;
        if (state.x === undefined)
            return;
        const z = this.zoom;
        const style = widget.element.style;
        style.left = state.x * z + "px";
        style.top = state.y * z + "px";
        style.width = state.width * z + "px";
        style.height = state.height * z + "px";
        style.font = `${state.px * z}px "${state.family}"`;
    },

    focus(number, control) {
        const panel = this.panels.get(number);
        const before = panel.widgets.get(panel.focused);
        if (before)
            before.element.classList.remove("focused");
        panel.focused = control;
        const now = panel.widgets.get(control);
        if (now)
            now.element.classList.add("focused");
        this.showDomFocus();
    },

    // The browser's keyboard focus follows the game's: in the front window's text box while the
    // game has its focus there, on the screen otherwise, so every key reaches the game.
    showDomFocus() {
        const panel = this.activePanel();
        const widget = panel && panel.widgets.get(panel.focused);
        const target = widget && widget.kind === 1 ? widget.element : this.screen;
        if (document.activeElement !== target)
            target.focus({ preventScroll: true });
    },

    // ---- Drawing on a panel's canvas, in device pixels ----

    beginPaint(number) {
        const panel = this.panels.get(number);
        this.ctx = panel.ctx;
        this.scale = this.zoom * this.ratio;
        this.ctx.setTransform(1, 0, 0, 1, 0, 0);
        this.ctx.imageSmoothingEnabled = false;
    },

    endPaint() {
        this.ctx = null;
        if (!document.body.dataset.drawn) {
            document.body.dataset.drawn = "yes";
            performance.mark("zelvatron-first-frame");
        }
    },

    // A box in layout pixels moved onto whole device pixels, so edges stay sharp.
    device(x, y, width, height) {
        const s = this.scale;
        const left = Math.round(x * s);
        const top = Math.round(y * s);
        return { left, top, width: Math.round((x + width) * s) - left,
                 height: Math.round((y + height) * s) - top };
    },

    pushClip(x, y, width, height) {
        const box = this.device(x, y, width, height);
        this.ctx.save();
        this.ctx.beginPath();
        this.ctx.rect(box.left, box.top, box.width, box.height);
        this.ctx.clip();
    },

    popClip() {
        this.ctx.restore();
    },

    fillRect(x, y, width, height, rgb, opacity) {
        const box = this.device(x, y, width, height);
        this.ctx.fillStyle = cssColor(rgb);
        this.ctx.globalAlpha = opacity;
        this.ctx.fillRect(box.left, box.top, box.width, box.height);
        this.ctx.globalAlpha = 1;
    },

    drawPicture(name, x, y) {
        const bitmap = this.pictures.get(name);
        if (!bitmap)
            return;
        const s = this.scale;
        this.ctx.drawImage(bitmap, Math.round(x * s), Math.round(y * s),
                           Math.round(bitmap.width * s), Math.round(bitmap.height * s));
    },

    // The lines of a downward diagonal fill, running down to the right.
    hatch(rgb) {
        const key = rgb + "@" + this.scale;
        if (!this.hatches.has(key)) {
            const size = Math.max(1, Math.round(8 * this.scale));
            const tile = document.createElement("canvas");
            tile.width = tile.height = size;
            const ctx = tile.getContext("2d");
            ctx.strokeStyle = cssColor(rgb);
            ctx.lineWidth = Math.max(1, this.scale);
            ctx.beginPath();
            ctx.moveTo(0, 0);
            ctx.lineTo(size, size);
            ctx.stroke();
            this.hatches.set(key, this.ctx.createPattern(tile, "repeat"));
        }
        return this.hatches.get(key);
    },

    outline(path, kind, box, radius) {
        if (box.width <= 0 || box.height <= 0)
            return;
        if (kind === 2 || kind === 3) {
            path.ellipse(box.left + box.width / 2, box.top + box.height / 2, box.width / 2,
                         box.height / 2, 0, 0, 2 * Math.PI);
        } else if (kind === 4 || kind === 5) {
            path.roundRect(box.left, box.top, box.width, box.height, radius);
        } else {
            path.rect(box.left, box.top, box.width, box.height);
        }
    },

    // The border is drawn inside the box: the fill takes what is left within it.
    drawShape(x, y, width, height, kind, fill, fillRgb, border, borderRgb) {
        const ctx = this.ctx;
        const outer = this.device(x, y, width, height);
        const b = Math.round(border * this.scale);
        const inner = { left: outer.left + b, top: outer.top + b, width: outer.width - 2 * b,
                        height: outer.height - 2 * b };
        const radius = Math.min(outer.width, outer.height) / 6;
        if (fill !== 1) {
            const path = new Path2D();
            this.outline(path, kind, inner, Math.max(0, radius - b));
            ctx.fillStyle = fill === 2 ? this.hatch(fillRgb) : cssColor(fillRgb);
            ctx.fill(path);
        }
        if (b > 0) {
            const ring = new Path2D();
            this.outline(ring, kind, outer, radius);
            this.outline(ring, kind, inner, Math.max(0, radius - b));
            ctx.fillStyle = cssColor(borderRgb);
            ctx.fill(ring, "evenodd");
        }
    },

    // A line is filled as the band its width covers, cut square at its ends.
    drawLine(x1, y1, x2, y2, width, rgb) {
        const s = this.scale;
        const dx = x2 - x1;
        const dy = y2 - y1;
        const length = Math.hypot(dx, dy);
        if (length === 0)
            return;
        const nx = (-dy / length) * (width / 2);
        const ny = (dx / length) * (width / 2);
        const ctx = this.ctx;
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
        const ctx = this.ctx;
        const s = this.scale;
        ctx.save();
        const box = this.device(x, y, width, height);
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
            const left = align === 1 ? box.left + box.width - lineWidth
                       : align === 2 ? box.left + (box.width - lineWidth) / 2 : box.left;
            ctx.fillText(line, left, box.top + ascent + i * spacing);
        });
        ctx.restore();
    },

    // One bold line centred in the box: the pause banner's words.
    drawBannerText(x, y, width, height, text, family, px, rgb) {
        const ctx = this.ctx;
        const box = this.device(x, y, width, height);
        ctx.font = `bold ${px * this.scale}px "${family}"`;
        ctx.textAlign = "center";
        ctx.textBaseline = "middle";
        ctx.fillStyle = cssColor(rgb);
        ctx.fillText(text, box.left + box.width / 2, box.top + box.height / 2);
        ctx.textAlign = "start";
        ctx.textBaseline = "alphabetic";
    },

    picture(name, bytes) {
        const blob = new Blob([bytes], { type: "image/png" });
        this.decoding.push(createImageBitmap(blob).then((bitmap) => this.pictures.set(name, bitmap)));
    },

    // ---- The game's files in local storage, as strings of byte values ----

    storageRead(key) {
        try {
            return localStorage.getItem(key);
        } catch (e) {
            return null;
        }
    },

    storageWrite(key, bytes) {
        return this.storageSet(key, byteString(bytes));
    },

    storageCopy(from, to) {
        const text = this.storageRead(from);
        return text !== null && this.storageSet(to, text);
    },

    // False when the browser refuses: storage full, or turned off for the page.
    storageSet(key, text) {
        try {
            localStorage.setItem(key, text);
            return true;
        } catch (e) {
            return false;
        }
    },

    // ---- Sound through Web Audio ----

    soundCreate(number, samples, rate) {
        this.sounds[number] = { samples, rate, buffer: null };
    },

    // Browsers let a page sound only once the player pressed a key or clicked: the context is
    // made then, or woken again.
    audioStart() {
        if (this.noAudio)
            return;
        if (!this.audio) {
            const Context = window.AudioContext || window.webkitAudioContext;
            try {
                this.audio = Context ? new Context() : null;
            } catch (e) {
                this.audio = null;
            }
            if (!this.audio) {
                this.noAudio = true;
                console.info("No Web Audio in this browser: the game plays silent.");
                return;
            }
            if (this.muted)
                this.audio.suspend().catch(() => {});
        }
        // "suspended" before the first gesture counted, "interrupted" by a call on a phone.
        if (!this.muted && this.audio.state !== "running")
            this.audio.resume().catch(() => {});
    },

    soundPlay(number) {
        const sound = this.sounds[number];
        if (!this.audio || this.muted || !sound)
            return;
        // Called from the game's rules: a browser's refusal is never let through into them.
        try {
            if (!sound.buffer) {
                sound.buffer = this.audio.createBuffer(1, sound.samples.length, sound.rate);
                sound.buffer.getChannelData(0).set(sound.samples);
            }
            const voice = this.audio.createBufferSource();
            voice.buffer = sound.buffer;
            voice.connect(this.audio.destination);
            voice.onended = () => {
                if (this.voices[number] === voice)
                    this.voices[number] = null;
            };
            // Playing an effect again starts it over.
            if (this.voices[number])
                this.voices[number].stop();
            this.voices[number] = voice;
            voice.start();
        } catch (e) {
            console.warn("A sound could not play:", e);
        }
    },

    // Muted, what sounds stops and the context sleeps, costing nothing.
    soundMuted(muted) {
        this.muted = muted;
        if (!this.audio)
            return;
        if (muted) {
            for (const voice of this.voices)
                if (voice)
                    voice.stop();
            this.voices = [];
            this.audio.suspend().catch(() => {});
        } else {
            this.audio.resume().catch(() => {});
        }
    },

    // A touch screen has no P: a tap on the paused window plays on.
    pausedChanged(number, paused) {
        const panel = this.panels.get(number);
        if (panel)
            panel.paused = paused;
    },

    // The game muted or unmuted (the button, or M on a stage): shown, and kept for next time.
    mutedChanged(muted) {
        const button = document.getElementById("mute");
        button.setAttribute("aria-pressed", muted ? "true" : "false");
        button.textContent = muted ? "Sound off" : "Sound on";
        this.storageSet(kMutedKey, muted ? "yes" : "no");
    },

    // ---- Gamepads and the touch bar, as held buttons ----

    // Pads are read at each animation frame, only while one is connected.
    readPads() {
        if (this.padsRead)
            return;
        this.padsRead = true;
        const read = () => {
            const pads = connectedPads();
            let held = 0;
            for (const pad of pads)
                held |= padMaskOf(pad);
            // A button held through a let-go counts again only once it is released.
            this.padsStale &= held;
            this.padsHeld = held & ~this.padsStale;
            this.sendHeld();
            if (pads.length > 0)
                requestAnimationFrame(read);
            else
                this.padsRead = false;
        };
        read();
    },

    sendHeld() {
        const held = this.padsHeld | this.touchHeld;
        if (held === this.heldSent || !this.started)
            return;
        this.heldSent = held;
        Module._zv_held(held);
    },

    // Away from the page, nothing stays held: a button let go meanwhile is never seen.
    letGo() {
        this.padsStale |= this.padsHeld;
        this.padsHeld = 0;
        this.touchHeld = 0;
        for (const fingers of this.touchFingers)
            fingers.clear();
        for (const button of document.querySelectorAll("#touch button"))
            button.classList.remove("held");
        this.sendHeld();
    },

    // The page hidden or the browser window left: a stage in play in front pauses.
    lostFocus() {
        const panel = this.activePanel();
        if (this.started && panel)
            Module._zv_lost_focus(panel.number);
        this.letGo();
    },

    // The replay is over and the game is the player's: played out (line 0), or stopped at a line.
    replayEnded(line, message) {
        if (line === 0) {
            status("The replay ended: the game is yours.");
            document.body.dataset.replay = "ended";
            return;
        }
        status(`The replay stops at its line ${line}: ${message}. The game is yours.`);
        console.warn(`replay line ${line}: ${message}`);
        document.body.dataset.replay = "stopped";
    },

    recordingStopped(why) {
        status(`The recording of this game stopped: ${why}. "Save replay" keeps what came before.`);
        document.body.dataset.recording = "stopped";
    },
};

function status(text) {
    document.getElementById("status").textContent = text;
}

function download(name, bytes, type) {
    const url = URL.createObjectURL(new Blob([bytes], { type }));
    const link = document.createElement("a");
    link.href = url;
    link.download = name;
    document.body.append(link);
    link.click();
    link.remove();
    setTimeout(() => URL.revokeObjectURL(url), 10000);
}

function bytesOf(text) {
    return Uint8Array.from(text, (c) => c.charCodeAt(0));
}

function readFileAsBytes(input) {
    return new Promise((resolve) => {
        input.onchange = () => {
            const file = input.files[0];
            input.value = "";
            if (!file)
                return;
            file.arrayBuffer().then((buffer) => resolve(new Uint8Array(buffer)));
        };
        input.click();
    });
}

function byteString(bytes) {
    let text = "";
    for (let i = 0; i < bytes.length; i += 8192)
        text += String.fromCharCode.apply(null, bytes.subarray(i, i + 8192));
    return text;
}

// What the saved replay shows when played again from the start, as a board plays it: each game
// the table took, a game still in play played on with no key pressed until it ends.
function boardView(verdict) {
    if (verdict.ending !== "played out")
        return `Replay saved; played again it stops at its line ${verdict.line}: ${verdict.why}.`;
    const games = verdict.games.map((game) => `${game.name}, level ${game.level}, score ${game.score}`);
    return games.length === 0
        ? "Replay saved; played again to its end it finishes no game."
        : `Replay saved; played again to its end it finishes ${games.join("; ")}.`;
}

// The page controls beside the game: the table and replays to and from the desktop's files.
function wireBar() {
    document.getElementById("download-table").addEventListener("click", () => {
        const table = zv.storageRead(kFilePrefix + "highscores");
        if (table === null) {
            status("No table yet: it is written when HighScores! opens or a game ends.");
            return;
        }
        download("highscores", bytesOf(table), "application/octet-stream");
        status("The table is the file \"highscores\" the desktop game reads.");
    });
    document.getElementById("load-table").addEventListener("click", () => {
        readFileAsBytes(document.getElementById("table-file")).then((bytes) => {
            if (!zv.storageWrite(kFilePrefix + "highscores", bytes)) {
                status("The browser's storage refused the table.");
                return;
            }
            status("Table loaded: HighScores! shows it.");
        });
    });
    document.getElementById("save-replay").addEventListener("click", () => {
        const text = Module.UTF8ToString(Module._zv_recording());
        download("zelvatron.replay", new TextEncoder().encode(text), "text/plain");
        status(boardView(JSON.parse(Module.UTF8ToString(Module._zv_board_view()))));
    });
    document.getElementById("play-replay").addEventListener("click", () => {
        readFileAsBytes(document.getElementById("replay-file")).then((bytes) => {
            // The replay starts from a fresh game: the page is loaded again to play it.
            try {
                sessionStorage.setItem(kReplayHandedOver, byteString(bytes));
            } catch (e) {
                status("The browser's storage refused the replay.");
                return;
            }
            location.href = location.pathname;
        });
    });
    document.getElementById("mute").addEventListener("click", () => {
        zv.audioStart();
        Module._zv_set_muted(zv.muted ? 0 : 1);
    });
}

// The touch bar under the field, shown once the page is touched: each button held down holds
// its pad button, with several fingers at once; the bar never scrolls, zooms or selects.
function wireTouch() {
    const bar = document.getElementById("touch");
    const touched = () => {
        if (!bar.hidden)
            return;
        bar.hidden = false;
        zv.resized();
    };
    window.addEventListener("touchstart", touched, { passive: true, capture: true });
    window.addEventListener("pointerdown", (event) => {
        if (event.pointerType === "touch")
            touched();
    }, true);
    for (const button of bar.querySelectorAll("button")) {
        const bit = Number(button.dataset.pad);
        const fingers = new Set();
        zv.touchFingers.push(fingers);
        const hold = (down) => {
            button.classList.toggle("held", down);
            zv.touchHeld = down ? zv.touchHeld | bit : zv.touchHeld & ~bit;
            zv.sendHeld();
        };
        button.addEventListener("pointerdown", (event) => {
            event.preventDefault();
            button.setPointerCapture(event.pointerId);
            fingers.add(event.pointerId);
            hold(true);
        });
        const lift = (event) => {
            if (fingers.delete(event.pointerId) && fingers.size === 0)
                hold(false);
        };
        for (const type of ["pointerup", "pointercancel", "lostpointercapture"])
            button.addEventListener(type, lift);
    }
    bar.addEventListener("contextmenu", (event) => event.preventDefault());
    zv.screen.addEventListener("pointerup", (event) => {
        const panel = zv.activePanel();
        if (event.pointerType === "touch" && panel && panel.paused && panel.client.contains(event.target))
            Module._zv_key(panel.number, kKeyP, 0, 0);
    });
    bar.addEventListener("touchstart", (event) => event.preventDefault(), { passive: false });
}

// Every key goes to the front window as the game's key code. Arrows, Space and the other keys a
// browser would act on never scroll the page; the text box still edits its own text.
function wireKeys() {
    window.addEventListener("keydown", (event) => {
        if (!zv.started || event.target.closest(".bar"))
            return;
        const panel = zv.activePanel();
        const code = keyCodeOf(event);
        if (!panel || !code)
            return;
        Module._zv_key(panel.number, code, shiftMaskOf(event), event.repeat ? 1 : 0);
        const inTextBox = event.target instanceof HTMLInputElement &&
                          event.target.classList.contains("widget");
        const browserKey = event.ctrlKey || event.altKey || event.metaKey || (code >= 112 && code <= 123);
        if ((inTextBox && code !== 9 && code !== 13) || browserKey)
            return;
        event.preventDefault();
    }, true);
    document.addEventListener("visibilitychange", () => {
        if (!zv.started)
            return;
        if (document.hidden)
            zv.lostFocus();
        Module._zv_page_hidden(document.hidden ? 1 : 0);
    });
    window.addEventListener("blur", () => zv.lostFocus());
    // The first key, click or touch lets the page sound.
    for (const type of ["keydown", "pointerdown", "pointerup", "touchend"])
        window.addEventListener(type, () => zv.audioStart(), { capture: true, passive: true });
    window.addEventListener("gamepadconnected", () => zv.readPads());
    window.addEventListener("resize", () => zv.resized());
    window.addEventListener("mouseup", (event) => {
        if (!event.target.closest("input"))
            zv.showDomFocus();
    });
}

// The recording to play instead of the player's input: one handed over by "Play replay", or
// ?replay=NAME, a file beside the page.
async function replayToPlay() {
    let handedOver = null;
    try {
        handedOver = sessionStorage.getItem(kReplayHandedOver);
        sessionStorage.removeItem(kReplayHandedOver);
    } catch (e) {
        // Storage turned off for the page: nothing was handed over.
    }
    if (handedOver !== null)
        return { name: "the chosen file", bytes: bytesOf(handedOver) };
    const name = new URLSearchParams(location.search).get("replay");
    if (name === null)
        return null;
    if (!/^[\w.-]+$/.test(name) || name.startsWith(".")) {
        status(`"${name}" is not the name of a file beside the page.`);
        return null;
    }
    const response = await fetch(name);
    if (!response.ok) {
        status(`Cannot read the replay ${name}: ${response.status} ${response.statusText}`);
        return null;
    }
    return { name, bytes: new Uint8Array(await response.arrayBuffer()) };
}

async function start() {
    zv.screen = document.getElementById("screen");
    wireBar();
    wireKeys();
    wireTouch();
    if (navigator.storage && navigator.storage.persist)
        navigator.storage.persist().catch(() => {});
    Module._zv_pictures();
    const replay = await replayToPlay();
    await Promise.all([...zv.decoding, document.fonts.load('16px "DejaVu Sans"'),
                       document.fonts.load('16px "DejaVu Sans Mono"')]);
    const screen = zv.measure();
    zv.started = true;
    const muted = zv.storageRead(kMutedKey) === "yes";
    // Said first: a replay that cannot be played, or one that is over at once, says so instead.
    if (replay) {
        status(`Playing the replay of ${replay.name}: your keys are ignored until it ends.`);
        document.body.dataset.replay = "playing";
    }
    // The recording goes to the game through its heap, however long it is.
    const at = replay ? Module._malloc(Math.max(1, replay.bytes.length)) : 0;
    if (replay)
        Module.HEAPU8.set(replay.bytes, at);
    Module._zv_start(at, replay ? replay.bytes.length : 0, screen.width, screen.height,
                     muted ? 1 : 0);
    if (at)
        Module._free(at);
    // A page opened in the background starts hidden: nothing said so yet.
    if (document.hidden)
        Module._zv_page_hidden(1);
    zv.showDomFocus();
    // A pad connected before the page loaded announces itself only once a button is pressed.
    if (connectedPads().length > 0)
        zv.readPads();
}

var Module = {
    onRuntimeInitialized() {
        start().catch((error) => {
            status("The game could not start: " + error);
            throw error;
        });
    },
};
