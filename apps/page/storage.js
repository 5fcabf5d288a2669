// The browser's local storage, which keeps the game's files as strings of byte values, 0 to 255.
// A browser may refuse it (full, or turned off for the page): reads then find nothing and writes
// say they failed.

export function storageRead(key) {
    try {
        return localStorage.getItem(key);
    } catch (e) {
        return null;
    }
}

// False when the browser refuses.
export function storageSet(key, text) {
    try {
        localStorage.setItem(key, text);
        return true;
    } catch (e) {
        return false;
    }
}

export function storageWrite(key, bytes) {
    return storageSet(key, byteString(bytes));
}

export function storageCopy(from, to) {
    const text = storageRead(from);
    return text !== null && storageSet(to, text);
}

export function byteString(bytes) {
    let text = "";
    for (let i = 0; i < bytes.length; i += 8192)
        text += String.fromCharCode.apply(null, bytes.subarray(i, i + 8192));
    return text;
}

export function bytesOf(text) {
    return Uint8Array.from(text, (c) => c.charCodeAt(0));
}
