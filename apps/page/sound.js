// The game's sound effects through Web Audio: one voice per effect, started over when played
// again. The game says what to prepare, what to play and when it is muted.

let audio = null; // the AudioContext, made at the player's first key or click
let noAudio = false;
const sounds = []; // each effect's samples, then its AudioBuffer once there is a context
let voices = []; // the one voice of each effect, while it sounds
let muted = false;
// A running context keeps the browser's audio thread busy even in silence: after this long with
// nothing sounding it sleeps until the next effect.
const kQuietMs = 2000;
let quietTimer = 0;
let asleep = false;

export function isMuted() {
    return muted;
}

// "running", "suspended" or "interrupted"; null before the first gesture.
export function audioState() {
    return audio ? audio.state : null;
}

export function soundCreate(number, samples, rate) {
    sounds[number] = { samples, rate, buffer: null };
}

// Browsers let a page sound only once the player pressed a key or clicked: the context is made
// then, or woken again.
export function audioStart() {
    if (noAudio)
        return;
    if (!audio) {
        const Context = window.AudioContext || window.webkitAudioContext;
        try {
            audio = Context ? new Context() : null;
        } catch (e) {
            audio = null;
        }
        if (!audio) {
            noAudio = true;
            console.info("No Web Audio in this browser: the game plays silent.");
            return;
        }
        if (muted)
            audio.suspend().catch(() => {});
    }
    // "suspended" before the first gesture counted, "interrupted" by a call on a phone; asleep
    // in a quiet spell, the next effect wakes it.
    if (!muted && !asleep && audio.state !== "running")
        audio.resume().catch(() => {});
    if (!muted && !asleep)
        sleepWhenQuiet();
}

function sleepWhenQuiet() {
    clearTimeout(quietTimer);
    quietTimer = setTimeout(() => {
        if (!muted && voices.every((voice) => !voice)) {
            asleep = true;
            audio.suspend().catch(() => {});
        }
    }, kQuietMs);
}

function wake() {
    clearTimeout(quietTimer);
    if (asleep || audio.state !== "running")
        audio.resume().catch(() => {});
    asleep = false;
}

export function soundPlay(number) {
    const sound = sounds[number];
    if (!audio || muted || !sound)
        return;
    // Called from the game's rules: a browser's refusal is never let through into them.
    try {
        if (!sound.buffer) {
            sound.buffer = audio.createBuffer(1, sound.samples.length, sound.rate);
            sound.buffer.getChannelData(0).set(sound.samples);
        }
        wake();
        const voice = audio.createBufferSource();
        voice.buffer = sound.buffer;
        voice.connect(audio.destination);
        voice.onended = () => {
            if (voices[number] === voice)
                voices[number] = null;
            sleepWhenQuiet();
        };
        // Playing an effect again starts it over.
        if (voices[number])
            voices[number].stop();
        voices[number] = voice;
        voice.start();
    } catch (e) {
        console.warn("A sound could not play:", e);
    }
}

// Muted, what sounds stops and the context sleeps, costing nothing.
export function soundMuted(on) {
    muted = on;
    if (!audio)
        return;
    clearTimeout(quietTimer);
    asleep = false;
    if (on) {
        for (const voice of voices)
            if (voice)
                voice.stop();
        voices = [];
        audio.suspend().catch(() => {});
    } else {
        audio.resume().catch(() => {});
    }
}
