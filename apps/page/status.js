// The status line in the bar: one sentence on how the last thing the player asked for went.
export function status(text) {
    document.getElementById("status").textContent = text;
}
