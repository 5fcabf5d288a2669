#!/usr/bin/env bash
# Runs the game's real windows on a virtual X display next to a bare Qt window of the same size
# and prints them side by side against their targets: start-up time, peak memory, CPU use,
# paints, and the real period of the formation's march on the wave stage. Play is also set
# beside a window that only moves ten shot-sized ovals on the shot timer's beat. Play is measured three
# times: at device pixel ratio 1, at ratio 2 (QT_SCALE_FACTOR=2) and maximised on a 4K screen, where
# the picture zooms to fit.
#
#   bench/measure.sh
#
# WINDOW_S (20) sets the seconds measured per run, STARTUP_RUNS (5) the start-up runs whose median
# is taken, LONG_RUNS (1) how often each measured stretch is run: the run with the median CPU use
# is reported (CPU time on a virtual machine varies from run to run). Each run happens in a
# temporary working directory, so no high-score file lands in the repository. A screenshot of the
# wave stage in play is left in build/release/bench/ for each of the three.
set -euo pipefail
shopt -s inherit_errexit
cd "$(dirname "$0")/.."
repo=$(pwd)

window_s=${WINDOW_S:-20}
startup_runs=${STARTUP_RUNS:-5}
long_runs=${LONG_RUNS:-1}
display=:97

ZELVATRON_TARGET=measure_windows scripts/setup release xvfb xdotool imagemagick
bin="$repo/build/release/bench/measure_windows"
shots="$repo/build/release/bench"

workdir=$(mktemp -d)
xvfb_pid=""
keys_pid=""
cleanup() {
    [ -z "$keys_pid" ] || kill "$keys_pid" 2>/dev/null || true
    DISPLAY=$display xdotool keyup space Left Right 2>/dev/null || true
    [ -z "$xvfb_pid" ] || kill "$xvfb_pid" 2>/dev/null || true
    wait 2>/dev/null || true
    rm -rf "$workdir"
}
trap cleanup EXIT

export DISPLAY=$display QT_QPA_PLATFORM=xcb XDG_RUNTIME_DIR="$workdir/xdg"
mkdir -m 700 "$XDG_RUNTIME_DIR"

# Starts the virtual display with a screen of $1 (WIDTHxHEIGHT), ending the one before.
start_display() {
    if [ -n "$xvfb_pid" ]; then
        kill "$xvfb_pid"
        wait "$xvfb_pid" 2>/dev/null || true
        xvfb_pid=""
    fi
    if [ -e "/tmp/.X${display#:}-lock" ]; then
        echo "Display $display is taken (/tmp/.X${display#:}-lock); stop what runs on it first" >&2
        exit 1
    fi
    Xvfb "$display" -screen 0 "$1x24" -nolisten tcp >"$workdir/xvfb.log" 2>&1 &
    xvfb_pid=$!
    for _ in $(seq 50); do
        xdotool getdisplaygeometry >/dev/null 2>&1 && break
        sleep 0.1
    done
    xdotool getdisplaygeometry >/dev/null || { cat "$workdir/xvfb.log" >&2; exit 1; }
}
start_display 1280x1024

# One run of the measurement program; prints its key=value line. The launch time is taken last.
measure() {
    local line
    line=$(cd "$workdir" && MEASURE_T0_NS=$(date +%s%N) exec "$bin" "$@" 2>>"$workdir/runs.log")
    if [ -z "$line" ]; then
        echo "measure_windows $* printed nothing" >&2
        cat "$workdir/runs.log" >&2
        exit 1
    fi
    echo "$line"
}

# The value of key $1 in the line $2.
val() { sed -n "s/.* $1=\([^ ]*\).*/\1/p" <<<" $2"; }

median() {
    sort -g | awk '{ v[NR] = $1 }
                   END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}

# Keys at a player's pace: fire every 120 ms, and now and then four steps left or four right.
play_keys() {
    local args=() n
    for n in $(seq "$(( (window_s + 10) * 1000 / 120 ))"); do
        args+=(keydown space sleep 0.04 keyup space sleep 0.08)
        case $(( n % 16 )) in
            3 | 4 | 5 | 6) args+=(key Left) ;;
            11 | 12 | 13 | 14) args+=(key Right) ;;
        esac
    done
    exec xdotool "${args[@]}"
}

echo "Start-up: $startup_runs runs of each..."
bare_starts=()
game_starts=()
for _ in $(seq "$startup_runs"); do
    line=$(measure bare-title 1)
    bare_starts+=("$(val startup_ms "$line")")
    line=$(measure title 1)
    game_starts+=("$(val startup_ms "$line")")
done

# The wave stage with keys from xdotool, the screenshot saved as $1, the program run with the
# environment settings that follow; prints the line of the run.
play_run() {
    local play_pid wave_window shot=$shots/$1
    shift
    (cd "$workdir" && MEASURE_T0_NS=$(date +%s%N) exec env "$@" "$bin" play "$window_s" \
        >"$workdir/play.out" 2>>"$workdir/runs.log") &
    play_pid=$!
    wave_window=$(timeout 15 xdotool search --sync --onlyvisible --name '^The Front Line$' |
                  head -n 1) || true
    if [ -n "$wave_window" ]; then
        # There is no window manager to give the stage the keyboard.
        xdotool windowfocus --sync "$wave_window" || true
        play_keys &
        keys_pid=$!
        sleep $(( window_s / 2 ))
        import -window "$wave_window" "$shot" 2>/dev/null || true
    else
        echo "The wave stage did not appear" >&2
    fi
    wait "$play_pid" || true
    [ -z "$keys_pid" ] || kill "$keys_pid" 2>/dev/null || true
    wait "$keys_pid" 2>/dev/null || true
    keys_pid=""
    xdotool keyup space Left Right 2>/dev/null || true
    if [ ! -s "$workdir/play.out" ]; then
        echo "The play run printed nothing" >&2
        cat "$workdir/runs.log" >&2
        exit 1
    fi
    cat "$workdir/play.out"
}

# Runs a stretch $long_runs times and prints the line of the run with the median CPU use.
long_run() {
    local runs=() line
    for _ in $(seq "$long_runs"); do
        case $1 in
            play) line=$(play_run measure-play.png) ;;
            play-2x) line=$(play_run measure-play-2x.png QT_SCALE_FACTOR=2) ;;
            play-4k) line=$(play_run measure-play-4k.png MEASURE_MAXIMISE=1) ;;
            *) line=$(measure "$1" "$window_s") ;;
        esac
        runs+=("$line")
    done
    for line in "${runs[@]}"; do
        echo "$(val cpu_pct "$line") $line"
    done | sort -g | sed -n "$(( (long_runs + 1) / 2 ))p" | cut -d' ' -f2-
}

echo "Bare title, title, bare wave stage, wave stage, ${window_s} s, $long_runs time(s)..."
bare_title=$(long_run bare-title)
title=$(long_run title)
bare_wave=$(long_run bare-wave)
wave=$(long_run wave)
echo "The bare wave-stage window repainted every display frame, the ten-oval window, then the"
echo "wave stage with keys from xdotool, ${window_s} s, $long_runs time(s)..."
bare_frames=$(long_run bare-frames)
ovals=$(long_run ovals)
play=$(long_run play)
echo "On a 3840 x 2160 screen: the wave stage played at device pixel ratio 2, then maximised,"
echo "${window_s} s, $long_runs time(s) each..."
start_display 3840x2160
play_2x=$(long_run play-2x)
play_4k=$(long_run play-4k)

echo
for line in "$bare_title" "$title" "$bare_wave" "$wave" "$bare_frames" "$ovals" "$play" \
            "$play_2x" "$play_4k"; do
    echo "$line"
done
echo "start-up ms, bare title: ${bare_starts[*]}"
echo "start-up ms, title:      ${game_starts[*]}"
echo

failures=0
# row WHAT GAME BARE RATIO TARGET CONDITION: CONDITION is an awk expression over g (game),
# b (bare) and r (ratio).
row() {
    local verdict
    if awk -v g="$2" -v b="$3" -v r="$4" "BEGIN { exit !($6) }" 2>/dev/null; then
        verdict=PASS
    else
        verdict=FAIL
        failures=$((failures + 1))
    fi
    printf '%-40s %10s %10s %7s  %-22s %s\n' "$1" "$2" "$3" "$4" "$5" "$verdict"
}
ratio() { awk -v g="$1" -v b="$2" 'BEGIN { printf (b > 0) ? "%.2f" : "-", g / (b > 0 ? b : 1) }'; }

start_game=$(printf '%s\n' "${game_starts[@]}" | median)
start_bare=$(printf '%s\n' "${bare_starts[@]}" | median)
rss_title=$(val rss_mib "$title")
rss_bare_title=$(val rss_mib "$bare_title")
rss_wave=$(val rss_mib "$wave")
rss_bare_wave=$(val rss_mib "$bare_wave")
refresh=$(val refresh_hz "$wave")

printf '%-40s %10s %10s %7s  %-22s %s\n' "measured" "game" "bare" "ratio" "target" "result"
row "start-up ms, title (median of $startup_runs)" "$start_game" "$start_bare" \
    "$(ratio "$start_game" "$start_bare")" "<= 2x bare" "r <= 2"
row "peak RSS MiB, title" "$rss_title" "$rss_bare_title" \
    "$(ratio "$rss_title" "$rss_bare_title")" "<= 1.5x bare" "r <= 1.5"
row "peak RSS MiB, wave stage" "$rss_wave" "$rss_bare_wave" \
    "$(ratio "$rss_wave" "$rss_bare_wave")" "<= 1.5x bare" "r <= 1.5"
row "CPU % of a core, title idle ${window_s} s" "$(val cpu_pct "$title")" \
    "$(val cpu_pct "$bare_title")" "-" "<= 0.3" "g <= 0.3"
row "paints in the last 5 s, title idle" "$(val paints_last_5s "$title")" \
    "$(val paints_last_5s "$bare_title")" "-" "0" "g == 0"
row "CPU % of a core, wave stage ${window_s} s" "$(val cpu_pct "$wave")" \
    "$(val cpu_pct "$bare_wave")" "-" "<= 3" "g <= 3"
row "paints/s, wave stage" "$(val paints_per_s "$wave")" "-" "-" "<= $refresh (display)" \
    "g <= $refresh"
row "most paints in a display frame, wave" "$(val most_paints_in_a_frame "$wave")" "-" "-" \
    "<= 1" "g <= 1"
row "shortest paint gap ms, wave" "$(val shortest_paint_gap_ms "$wave")" "-" "-" \
    ">= $(awk -v h="$refresh" 'BEGIN { printf "%.2f", 1000 / h }')" \
    "g == \"na\" || g >= 1000 / $refresh - 0.001"
row "march mean period ms ($(val march_ticks "$wave") ticks)" "$(val march_mean_ms "$wave")" \
    "-" "-" "301 +- 0.5%" "g >= 299.495 && g <= 302.505"
row "march worst lateness ms" "$(val march_worst_late_ms "$wave")" "-" "-" "<= 3" "g <= 3"
row "march drift at tick 60 ms" "$(val march_drift60_ms "$wave")" "-" "-" "|d| <= 3" \
    "g != \"na\" && g <= 3 && g >= -3"
row "wave stage still on after ${window_s} s (lives)" "$(val lives "$wave")" "-" "-" \
    "game on" "$(val wave_on "$wave") == 1"
cpu_play=$(val cpu_pct "$play")
cpu_frames=$(val cpu_pct "$bare_frames")
row "CPU % of a core, playing ${window_s} s" "$cpu_play" "$cpu_frames" \
    "$(ratio "$cpu_play" "$cpu_frames")" "<= 3" "g <= 3"
row "paints/s, playing" "$(val paints_per_s "$play")" "$(val paints_per_s "$bare_frames")" "-" \
    "<= $refresh (display)" "g <= $refresh"
row "most paints in a display frame, playing" "$(val most_paints_in_a_frame "$play")" "-" "-" \
    "<= 1" "g <= 1"
row "shortest paint gap ms, playing" "$(val shortest_paint_gap_ms "$play")" "-" "-" \
    ">= $(awk -v h="$refresh" 'BEGIN { printf "%.2f", 1000 / h }')" \
    "g == \"na\" || g >= 1000 / $refresh - 0.001"
row "keys the stage got, playing" "$(val keys "$play")" "-" "-" "> 0" "g > 0"
cpu_play_2x=$(val cpu_pct "$play_2x")
cpu_play_4k=$(val cpu_pct "$play_4k")
row "CPU % of a core, playing at ratio 2" "$cpu_play_2x" "$cpu_play" \
    "$(ratio "$cpu_play_2x" "$cpu_play")" "<= 6 (bare: 1x play)" "g <= 6"
row "CPU % of a core, playing maximised 4K" "$cpu_play_4k" "$cpu_play" \
    "$(ratio "$cpu_play_4k" "$cpu_play")" "<= 6 (bare: 1x play)" "g <= 6"
row "stage window at ratio 2 (px, ratio)" "$(val wave_client "$play_2x")" "-" "-" \
    "663x488, 2" "\"$(val dpr "$play_2x")\" == \"2.00\""
row "stage window maximised 4K (px)" "$(val wave_client "$play_4k")" "-" "-" "3840x2160" \
    "\"$(val wave_client "$play_4k")\" == \"3840x2160\""
row "keys the stage got, ratio 2 / 4K" "$(val keys "$play_2x")" "$(val keys "$play_4k")" "-" \
    "> 0" "g > 0 && b > 0"
row "wave stage still on, playing (lives)" "$(val lives "$play")" "-" "-" "game on" \
    "$(val wave_on "$play") == 1"
# What the march does while the stage is also painting every frame: no target, for comparison.
printf '%-40s %10s %10s %7s  %-22s %s\n' "march worst lateness ms, playing" \
    "$(val march_worst_late_ms "$play")" "-" "-" "(no target)" "-"
printf '%-40s %10s %10s %7s  %-22s %s\n' "march drift at tick 60 ms, playing" \
    "$(val march_drift60_ms "$play")" "-" "-" "(no target)" "-"
# Play against the least a window does for ten shots in flight: for comparison, no target.
cpu_ovals=$(val cpu_pct "$ovals")
printf '%-40s %10s %10s %7s  %-22s %s\n' "CPU %, play / ten-oval window" "$cpu_play" \
    "$cpu_ovals" "$(ratio "$cpu_play" "$cpu_ovals")" "(no target)" "-"
printf '%-40s %10s %10s %7s  %-22s %s\n' "paints/s, play / ten-oval window" \
    "$(val paints_per_s "$play")" "$(val paints_per_s "$ovals")" "-" "(no target)" "-"
echo
echo "Screenshots of the wave stage in play: ${shots#"$repo"/}/measure-play{,-2x,-4k}.png"
[ "$failures" -eq 0 ] || { echo "$failures target(s) missed"; exit 1; }
