#!/usr/bin/env bash
# Start-up, page-switch and memory benchmark of the program against a bare Qt window, under Xvfb. Run by
# hand from the repository root:
#
#   tools/bench/run-bench.sh [ROUNDS]
#
# ROUNDS (default 15) rounds of starts, program and bare window in alternation, the first round dropped.
# Environment: BENCH_RUNS (whole runs, default 3: each run's figures, then per figure the median of the
# runs and their spread), BENCH_DISPLAY (default :97), BENCH_CLICKS (page-switch rounds, default 5),
# BENCH_OPENS (starts whose first and later device openings are timed, default 5), BENCH_JOBS (build
# jobs, default 3), BENCH_BUILD (build folder, default build-bench), BENCH_PROGRAM (another build of the
# program to measure instead of this one), BENCH_COMPARE (a second build measured in the same run, e.g.
# one from before a change, each measurement alternating between the two). Another build's folder must
# hold its installation data.
set -euo pipefail
cd "$(dirname "$0")/../.."
rounds=${1:-15}
runs=${BENCH_RUNS:-3}
display=${BENCH_DISPLAY:-:97}
clicks=${BENCH_CLICKS:-5}
opens=${BENCH_OPENS:-5}
build=${BENCH_BUILD:-build-bench}

packages=(xvfb libx11-dev libxdamage-dev libxtst-dev)
missing=()
for p in "${packages[@]}"; do dpkg -s "$p" >/dev/null 2>&1 || missing+=("$p"); done
if [ ${#missing[@]} -gt 0 ]; then
    sudo_cmd=()
    [ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
    "${sudo_cmd[@]}" apt-get update
    DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y --no-install-recommends "${missing[@]}"
fi
bash tools/setup.sh

cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release -DVZ_TESTS=OFF >/dev/null
targets=(vzbench_window vzbench_xwatch)
[ -n "${BENCH_PROGRAM:-}" ] || targets+=(VorlantZEMB install_data)
cmake --build "$build" -j"${BENCH_JOBS:-3}" --target "${targets[@]}" >/dev/null
program=${BENCH_PROGRAM:-$PWD/$build/bin/VorlantZEMB}
window=$PWD/$build/bin/vzbench_window
xwatch=$PWD/$build/bin/vzbench_xwatch

work=$(mktemp -d)
Xvfb "$display" -screen 0 1920x1080x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
pids=()
cleanup() {
    for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done
    kill "$xvfb" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT
export DISPLAY=$display
for _ in $(seq 100); do xwatch_ok=1; "$xwatch" quiet 0 1 1 2>/dev/null && break; xwatch_ok=0; sleep 0.1; done
[ "$xwatch_ok" = 1 ] || { echo "Xvfb did not start on $display" >&2; exit 1; }

unset XDG_RUNTIME_DIR QT_SCALE_FACTOR VORLANT_DESKTOP_WIDTH VORLANT_SIM_DEVICES
export VORLANT_SIM_CONTROL=off QT_QPA_PLATFORM=xcb
# The default receiver and mouse with the sample images' firmware: no upgrade offer on opening.
cat >"$work/devices.json" <<'JSON'
{ "devices": [
  { "name": "receiver", "kind": "receiver", "class": 8, "receiverId": [1, 2, 3], "mouse": "mouse", "version": "0x0106" },
  { "name": "mouse", "kind": "mouse", "version": "0x0113" } ] }
JSON
export VORLANT_SIM_DEVICES=$work/devices.json

# Starts a program in a fresh home; sets started ("MAPPED_MS PAINTED_MS WINDOW PID"). Each measured
# program keeps its simulated devices' state in its own folder (the programs may run side by side).
start() {
    local home
    home=$(mktemp -d "$work/home.XXXX")
    mkdir -p "$home/tmp"
    started=$(HOME=$home TMPDIR=$home/tmp VORLANT_SIM_STATE=$work/sim-${sim:-bare} "$xwatch" start "$@" \
        2>>"$work/log")
    pids+=("${started##* }")
}
stop() {
    kill "$1" 2>/dev/null || true
    while kill -0 "$1" 2>/dev/null; do sleep 0.02; done
}
median() { sort -n | awk '{v[NR]=$1} END {if (NR==0) print "nan"; else if (NR%2) print v[(NR+1)/2]; else print (v[NR/2]+v[NR/2+1])/2}'; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN {printf "%.2f", a / b}'; }
rss_kb() { awk '/^VmRSS/ {print $2}' "/proc/$1/status"; }
cpu_ticks() { awk '{print $14 + $15}' "/proc/$1/stat"; }
# Records one figure of the current run ("NAME<tab>VALUE").
figure() { printf '%s\t%s\n' "$1" "$2" >>"$figures"; }

# The programs measured: this build, and BENCH_COMPARE (another build, e.g. before a change) in the
# same run, each measurement alternating between the two, so that both see the same load.
programs=("$program")
[ -z "${BENCH_COMPARE:-}" ] || programs+=("$BENCH_COMPARE")
label() { if [ "$1" = 0 ]; then echo program; else echo compared; fi; }

startups() {
    echo "== start-up until mapped and until first painted: $rounds rounds, the first dropped"
    : >"$work/start-bare"
    for k in "${!programs[@]}"; do : >"$work/start-$k"; done
    for i in $(seq "$rounds"); do
        for k in "${!programs[@]}"; do
            sim=$k start "${programs[$k]}"; stop "${started##* }"; [ "$i" -gt 1 ] && echo "$started" >>"$work/start-$k"
        done
        start "$window" bare; stop "${started##* }"; [ "$i" -gt 1 ] && echo "$started" >>"$work/start-bare"
    done
    for col in 1 2; do
        what=$([ "$col" = 1 ] && echo mapped || echo painted)
        sb=$(awk -v c="$col" '{print $c}' "$work/start-bare" | median)
        echo "$what: bare window $sb ms"
        figure "start-up $what, bare window ms" "$sb"
        for k in "${!programs[@]}"; do
            sp=$(awk -v c="$col" '{print $c}' "$work/start-$k" | median)
            echo "$what: $(label "$k") $sp ms: ratio $(ratio "$sp" "$sb")"
            figure "start-up $what, $(label "$k") ms" "$sp"
            figure "start-up $what, $(label "$k") ratio" "$(ratio "$sp" "$sb")"
        done
    done
}

# The device tile of the home page (the first tile of the device grid) and the device window's back arrow.
tile_x=${BENCH_TILE_X:-510}
tile_y=${BENCH_TILE_Y:-380}
# Opens the device (tile click) in a program's window and waits until its settings are read (a wait
# dialog of its own).
open_device() {
    "$xwatch" click "$1" "$tile_x" "$tile_y" 300 20000 >/dev/null
    sleep 5
    "$xwatch" quiet "$1" 1500 30000
}
# One start of program $1 with a first and a later opening of the device, each a tile click until a new
# screen is painted (half the window); appends them to open-first-$1 and open-later-$1.
openings() {
    local k=$1 pwin ppid
    sim=$k start "${programs[$k]}"; read -r _ _ pwin ppid <<<"$started"
    "$xwatch" quiet "$pwin" 1000 20000
    "$xwatch" click "$pwin" "$tile_x" "$tile_y" 300 20000 50 >>"$work/open-first-$k"
    sleep 5
    "$xwatch" quiet "$pwin" 1500 30000
    "$xwatch" click "$pwin" 34 35 300 20000 50 >/dev/null
    sleep 2
    "$xwatch" quiet "$pwin" 1500 30000
    "$xwatch" click "$pwin" "$tile_x" "$tile_y" 300 20000 50 >>"$work/open-later-$k"
    stop "$ppid"
}
device_openings() {
    echo "== device openings: $opens starts, each with a first and a later opening"
    for k in "${!programs[@]}"; do : >"$work/open-first-$k"; : >"$work/open-later-$k"; done
    for _ in $(seq "$opens"); do
        for k in "${!programs[@]}"; do openings "$k"; done
    done
    for k in "${!programs[@]}"; do
        first=$(median <"$work/open-first-$k")
        later=$(median <"$work/open-later-$k")
        echo "$(label "$k"): first opening $first ms, later opening $later ms: ratio $(ratio "$first" "$later")"
        figure "first opening, $(label "$k") ms" "$first"
        figure "later opening, $(label "$k") ms" "$later"
        figure "first to later opening, $(label "$k") ratio" "$(ratio "$first" "$later")"
    done
}

# Navigation buttons of the device window (window coordinates of their centres), left to right.
nav_y=35
nav_x=(398 458 518 578 638 698 758)
pages=(summary buttons sensor macro lights advanced settings)
# One page-switch round in a window: each navigation button clicked once, always moving to another page;
# appends page-index ms.
switch_round() {
    local win=$1 out=$2 p
    for p in 1 2 3 4 5 6 0; do
        echo "$p $("$xwatch" click "$win" "${nav_x[$p]}" "$nav_y" 300 5000)" >>"$out"
    done
}

# The programs run side by side at their home pages for the memory and idle CPU (the same 10 s), then
# with the device open for the page switches, a round in each window in turn, the bare stacked window's
# too; each window is raised before its round.
memory_and_switches() {
    echo "== memory and idle CPU at the home page"
    start "$window" bare; read -r _ _ bwin bpid <<<"$started"
    "$xwatch" quiet "$bwin" 1500 20000
    bare_rss=$(rss_kb "$bpid"); stop "$bpid"
    echo "bare window RSS $((bare_rss / 1024)) MB"
    figure "RSS, bare window MB" "$((bare_rss / 1024))"
    local k wins=() ppids=() rss=() c0=()
    for k in "${!programs[@]}"; do
        sim=$k start "${programs[$k]}"; read -r _ _ "wins[k]" "ppids[k]" <<<"$started"
    done
    for k in "${!programs[@]}"; do "$xwatch" quiet "${wins[$k]}" 1500 20000; done
    for k in "${!programs[@]}"; do rss[k]=$(rss_kb "${ppids[$k]}"); c0[k]=$(cpu_ticks "${ppids[$k]}"); done
    sleep 10
    for k in "${!programs[@]}"; do
        cpu=$(($(cpu_ticks "${ppids[$k]}") - c0[k]))
        echo "$(label "$k"): RSS $((rss[k] / 1024)) MB, ratio $(ratio "${rss[k]}" "$bare_rss"); idle CPU $cpu ticks in 10 s"
        figure "RSS, $(label "$k") MB" "$((rss[k] / 1024))"
        figure "RSS, $(label "$k") ratio" "$(ratio "${rss[k]}" "$bare_rss")"
        figure "idle CPU in 10 s, $(label "$k") ticks" "$cpu"
    done

    echo "== page switches: $clicks rounds of a click on each page, the windows in alternation"
    for k in "${!programs[@]}"; do "$xwatch" raise "${wins[$k]}"; open_device "${wins[$k]}"; done
    start "$window" stacked; read -r _ _ swin spid <<<"$started"
    "$xwatch" quiet "$swin" 1000 20000
    # The bare stacked window and then each program: window, timings file.
    local sw=("$swin") so=("$work/switch-bare") i
    for k in "${!programs[@]}"; do sw+=("${wins[$k]}"); so+=("$work/switch-$k"); done
    for i in "${!sw[@]}"; do
        : >"${so[$i]}"
        "$xwatch" raise "${sw[$i]}"
        "$xwatch" click "${sw[$i]}" "${nav_x[0]}" "$nav_y" 300 5000 >/dev/null
    done
    for _ in $(seq "$clicks"); do
        for i in "${!sw[@]}"; do "$xwatch" raise "${sw[$i]}"; switch_round "${sw[$i]}" "${so[$i]}"; done
    done
    stop "$spid"
    for k in "${!programs[@]}"; do stop "${ppids[$k]}"; done
    bare_switch=$(awk '{print $2}' "$work/switch-bare" | median)
    echo "bare stacked window: switch $bare_switch ms"
    figure "page switch, bare stacked window ms" "$bare_switch"
    for k in "${!programs[@]}"; do
        echo "$(label "$k"):"
        for p in 0 1 2 3 4 5 6; do
            m=$(awk -v p="$p" '$1 == p {print $2}' "$work/switch-$k" | median)
            printf '  %-9s %8s ms  ratio %s\n' "${pages[$p]}" "$m" "$(ratio "$m" "$bare_switch")"
            figure "page switch ${pages[$p]}, $(label "$k") ms" "$m"
            figure "page switch ${pages[$p]}, $(label "$k") ratio" "$(ratio "$m" "$bare_switch")"
        done
    done
}

load1() { cut -d' ' -f1 /proc/loadavg; }
cores=$(nproc)
for run in $(seq "$runs"); do
    figures=$work/figures-$run
    : >"$figures"
    echo "=== run $run of $runs: $cores cores, load $(cut -d' ' -f1-3 /proc/loadavg) (1, 5, 15 min)"
    figure "load at the start (1 min)" "$(load1)"
    startups
    device_openings
    memory_and_switches
    figure "load at the end (1 min)" "$(load1)"
    echo "=== end of run $run: load $(cut -d' ' -f1-3 /proc/loadavg)"
done

# Per figure, each run's value, the median of the runs and their spread (lowest to highest).
if [ "$runs" -gt 1 ]; then
    echo "=== $runs runs, $cores cores: per figure the runs, their median and their spread"
    cut -f1 "$work/figures-1" | while IFS= read -r name; do
        values=$(for run in $(seq "$runs"); do awk -F'\t' -v n="$name" '$1 == n {print $2}' "$work/figures-$run"; done)
        m=$(median <<<"$values")
        spread=$(sort -n <<<"$values" | awk 'NR == 1 {lo = $1} {hi = $1} END {print lo "–" hi}')
        printf '%-44s %s  median %s  spread %s\n' "$name" "$(paste -sd' ' <<<"$values")" "$m" "$spread"
    done
fi
