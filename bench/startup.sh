#!/usr/bin/env bash
# Start-up time and peak memory of build/corvalen beside the toolkit's floor (build/bench/startup_floor, one
# empty Qt Widgets window), on one virtual X server with a window manager, N runs of each, interleaved.
#   bench/startup.sh [N]    N >= 10, default 10; writes build/bench/startup.txt
#
# What is measured, per run:
#   start-up  from just before exec until the program's top-level window is mapped and viewable, as the X
#             server reports it (xdotool search --onlyvisible, polled every 5 ms). This is the window being
#             shown, not its first paint being finished; each poll is a new xdotool process, so the
#             resolution is a few milliseconds.
#   memory    the peak resident set size of the whole run ("Maximum resident set size" of /usr/bin/time -v).
# Each run is closed with Alt+F4, or SIGTERM when the window does not close within 5 s.
set -euo pipefail
here=$(dirname "${BASH_SOURCE[0]}")
source "$here/../scripts/common.sh"
source "$here/../scripts/xsession.sh"

runs=${1:-10}
if ! [[ $runs =~ ^[0-9]+$ ]] || ((runs < 10)); then
    say "usage: bench/startup.sh [N], with N >= 10"
    exit 2
fi
for tool in Xvfb openbox xdotool xprop import awk /usr/bin/time; do
    command -v "$tool" >/dev/null || {
        say "$tool is not installed (packages: xvfb openbox xdotool x11-utils imagemagick time)"
        exit 1
    }
done

cmake --build "$CORVALEN_BUILD" --target corvalen startup_floor
programs=("$CORVALEN_BUILD/corvalen" "$CORVALEN_BUILD/bench/startup_floor")
results=$CORVALEN_BUILD/bench
work=$(mktemp -d "${TMPDIR:-/tmp}/startup.XXXXXX")
cleanup() {
    xsession_stop
    rm -rf "$work"
}
trap cleanup EXIT
xsession_start
# Qt warns about this once per run otherwise.
export XDG_RUNTIME_DIR=$work/runtime
mkdir -m 700 "$XDG_RUNTIME_DIR"

now_ns() { date +%s%N; }

# Runs $1 once; prints "milliseconds-to-window peak-kilobytes".
run_once() {
    local program=$1 class=${1##*/} rusage=$work/rusage id='' start shown pid deadline
    start=$(now_ns)
    /usr/bin/time -v -o "$rusage" "$program" >"$work/out.log" 2>&1 &
    pid=$!
    deadline=$((SECONDS + 20))
    until id=$(xdotool search --onlyvisible --classname "^$class\$" 2>/dev/null | head -n 1) && [[ -n $id ]]; do
        if ! kill -0 "$pid" 2>/dev/null || ((SECONDS >= deadline)); then
            say "$class showed no window; its output:"
            cat "$work/out.log" >&2
            pkill -TERM -P "$pid" 2>/dev/null || true
            wait "$pid" || true
            return 1
        fi
        sleep 0.005
    done
    shown=$(now_ns)
    xdotool windowactivate --sync "$id" key --clearmodifiers alt+F4 2>/dev/null || true
    deadline=$((SECONDS + 5))
    while kill -0 "$pid" 2>/dev/null && ((SECONDS < deadline)); do sleep 0.05; done
    if kill -0 "$pid" 2>/dev/null; then
        say "$class did not close on Alt+F4; sending SIGTERM"
        pkill -TERM -P "$pid" 2>/dev/null || true
    fi
    wait "$pid" || true
    awk -v ms="$(((shown - start) / 1000))" '
        /Maximum resident set size/ { printf "%.1f %d\n", ms / 1000, $NF }' "$rusage"
}

median() { sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

: >"$work/corvalen" && : >"$work/startup_floor"
{
    echo "startup.sh $runs, $(date -u '+%Y-%m-%d %H:%M UTC')"
    echo "machine: $(lscpu | sed -n 's/^Model name: *//p'), $(nproc) cores, $(uname -sr)"
    echo "uptime before: $(uptime)"
} | tee "$results/startup.txt"
# One run of each program first, not counted: it brings the libraries and fonts into the page cache.
for program in "${programs[@]}"; do run_once "$program" >/dev/null; done
for ((i = 1; i <= runs; i++)); do
    # Alternate which program goes first, so that neither always follows the other.
    if ((i % 2)); then order=(0 1); else order=(1 0); fi
    for k in "${order[@]}"; do
        program=${programs[k]}
        line=$(run_once "$program")
        echo "run $i ${program##*/}: $line" | tee -a "$results/startup.txt"
        echo "$line" >>"$work/${program##*/}"
    done
done
echo "uptime after: $(uptime)" | tee -a "$results/startup.txt"

app_ms=$(cut -d' ' -f1 "$work/corvalen" | median)
app_kb=$(cut -d' ' -f2 "$work/corvalen" | median)
floor_ms=$(cut -d' ' -f1 "$work/startup_floor" | median)
floor_kb=$(cut -d' ' -f2 "$work/startup_floor" | median)
awk -v am="$app_ms" -v ak="$app_kb" -v fm="$floor_ms" -v fk="$floor_kb" -v n="$runs" 'BEGIN {
    printf "medians of %d runs each:\n", n
    printf "  start-up to window shown  corvalen %.1f ms, floor %.1f ms, ratio %.3f (target <= 1.25): %s\n",
        am, fm, am / fm, (am / fm <= 1.25) ? "met" : "missed"
    printf "  peak resident memory      corvalen %d KiB, floor %d KiB, ratio %.3f (target <= 1.20): %s\n",
        ak, fk, ak / fk, (ak / fk <= 1.20) ? "met" : "missed"
}' | tee -a "$results/startup.txt"
say "results in $results/startup.txt"
