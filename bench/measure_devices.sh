#!/usr/bin/env bash
# The cost of the desktop's SDL sound and gamepads, in real time, headless (Qt's offscreen
# platform). Sound goes through SDL's disk driver into /dev/null: it runs its device thread in
# real time as a sound card's would, where this machine may have none.
#
#   bench/measure_devices.sh
#
# Play: the same scripted game on the wave stage with sound on and with --mute, RUNS (3) times
# each, PLAY_S (20) seconds; the medians of the CPU use are compared (target: on <= 1.1x muted).
# Idle: the title with a virtual controller plugged in, IDLE_S (10) seconds (target: <= 0.2 % of
# a core). A virtual controller has no device file, so it is the pad read once every frame; a
# real pad's file is waited on and costs nothing while nobody touches it.
set -euo pipefail
shopt -s inherit_errexit
cd "$(dirname "$0")/.."
repo=$(pwd)

play_s=${PLAY_S:-20}
idle_s=${IDLE_S:-10}
runs=${RUNS:-3}

ZELVATRON_TARGET=devices_measure scripts/setup release
bin="$repo/build/release/bench/devices_measure"

workdir=$(mktemp -d)
trap 'rm -rf "$workdir"' EXIT
export QT_QPA_PLATFORM=offscreen SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE=/dev/null
export XDG_RUNTIME_DIR="$workdir/xdg"
mkdir -m 700 "$XDG_RUNTIME_DIR"

val() { sed -n "s/.* $1=\([^ ]*\).*/\1/p" <<<" $2"; }
median() {
    sort -g | awk '{ v[NR] = $1 }
                   END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}
run() { (cd "$workdir" && exec "$bin" "$@"); }

on=()
muted=()
for _ in $(seq "$runs"); do
    line=$(run play "$play_s")
    echo "$line"
    on+=("$(val cpu_pct "$line")")
    line=$(run play "$play_s" --mute)
    echo "$line"
    muted+=("$(val cpu_pct "$line")")
done
idle=$(run idle-pad "$idle_s")
echo "$idle"

on_pct=$(printf '%s\n' "${on[@]}" | median)
muted_pct=$(printf '%s\n' "${muted[@]}" | median)
ratio=$(awk -v a="$on_pct" -v b="$muted_pct" 'BEGIN { printf "%.3f", a / b }')
idle_pct=$(val cpu_pct "$idle")
verdict() { awk "BEGIN { exit !($1) }" && echo PASS || echo FAIL; }

echo
printf '%-46s %10s  %-10s %s\n' "measured" "value" "target" "result"
printf '%-46s %10s\n' "CPU % of a core, playing with sound (median)" "$on_pct"
printf '%-46s %10s\n' "CPU % of a core, playing muted (median)" "$muted_pct"
printf '%-46s %10s  %-10s %s\n' "sound on / muted" "$ratio" "<= 1.1" "$(verdict "$ratio <= 1.1")"
printf '%-46s %10s  %-10s %s\n' "CPU % of a core, idle title, pad read per frame" "$idle_pct" \
    "<= 0.2" "$(verdict "$idle_pct <= 0.2 && $(val pads "$idle") == 1")"
