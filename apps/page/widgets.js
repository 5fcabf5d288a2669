// A window's controls as HTML controls over its canvas, and the focus the game shows on them.
import * as bridge from "./bridge.js";
import { WidgetKind } from "./constants.js";
import { activePanel, panels, screen } from "./screen.js";

export function widgetCreate(number, control, kind, name) {
    const panel = panels.get(number);
    let element;
    if (kind === WidgetKind.Button) {
        element = document.createElement("button");
        element.type = "button";
        // The game shows the focus and presses buttons itself: the browser's own focus
        // would press them a second time on Enter and Space.
        element.tabIndex = -1;
        element.addEventListener("mousedown", (e) => {
            e.preventDefault();
            bridge.focus(number, control);
        });
        element.addEventListener("click", () => bridge.click(number, control));
    } else if (kind === WidgetKind.TextBox) {
        element = document.createElement("input");
        element.type = "text";
        element.tabIndex = -1;
        element.spellcheck = false;
        element.autocomplete = "off";
        element.setAttribute("aria-label", name);
        element.addEventListener("mousedown", () => bridge.focus(number, control));
        element.addEventListener("input", () => bridge.type(number, control, element.value));
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
}

// A button's caption or a text box's text in `text`; a list's rows, one string each, in `rows`.
// The box and the face's size are the game's, in CSS pixels at the page's zoom.
export function widgetSync(number, control, x, y, width, height, shown, enabled, family, px, bold,
                           text, rows) {
    const widget = panels.get(number).widgets.get(control);
    const state = widget.state;
    const element = widget.element;
    if (state.x !== x || state.y !== y || state.width !== width || state.height !== height ||
        state.family !== family || state.px !== px || state.bold !== bold) {
        Object.assign(state, { x, y, width, height, family, px, bold });
        placeWidget(widget);
    }
    if (state.shown !== shown) {
        state.shown = shown;
        element.style.display = shown ? "" : "none";
    }
    if (widget.kind === WidgetKind.Button && state.enabled !== enabled) {
        state.enabled = enabled;
        element.disabled = !enabled;
    }
    if (widget.kind === WidgetKind.ListBox)
        syncRows(element, state, rows);
    else if (state.text !== text) {
        state.text = text;
        if (widget.kind === WidgetKind.Button)
            element.textContent = text;
        else if (element.value !== text)
            element.value = text;
    }
}

function syncRows(element, state, rows) {
    const same = state.rows && state.rows.length === rows.length &&
                 state.rows.every((row, i) => row === rows[i]);
    if (same)
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

export function placeWidget(widget) {
    const state = widget.state;
    if (state.x === undefined)
        return;
    const style = widget.element.style;
    style.left = state.x + "px";
    style.top = state.y + "px";
    style.width = state.width + "px";
    style.height = state.height + "px";
    style.font = `${state.bold ? "bold " : ""}${state.px}px "${state.family}"`;
}

// The control that shows the window's focus, -1 for none.
export function focus(number, control) {
    const panel = panels.get(number);
    const before = panel.widgets.get(panel.focused);
    if (before)
        before.element.classList.remove("focused");
    panel.focused = control;
    const now = panel.widgets.get(control);
    if (now)
        now.element.classList.add("focused");
    showDomFocus();
}

// The browser's keyboard focus follows the game's: in the front window's text box while the
// game has its focus there, on the screen otherwise, so every key reaches the game.
export function showDomFocus() {
    const panel = activePanel();
    const widget = panel && panel.widgets.get(panel.focused);
    const target = widget && widget.kind === WidgetKind.TextBox ? widget.element : screen;
    if (document.activeElement !== target)
        target.focus({ preventScroll: true });
}
