#!/usr/bin/env bash
# Start-up time, peak memory and click latency of build/corvalen beside the toolkit's floor: the least a Qt
# Widgets program does to show a window (build/bench/startup_floor, one empty window) and, for reference,
# the same window with one line of Chinese text (build/bench/startup_floor_text). One virtual X server with
# a window manager, N runs of each program, interleaved.
#   bench/startup.sh [N]    N >= 10, default 10; writes build/bench/startup.txt
#
# Each run is one bench/startup_launch (see bench/startup/startup_launch.cpp), which measures:
#   start-up  from just before the program is spawned until the first paint of its window has been handed
#             to the X server, as the preloaded paint trace (bench/startup/paint_trace.cpp) reports it
#   memory    the program's peak resident set size over the whole run, from wait4
#   click     calculator only: after the vessel below has been typed in through XTEST, the time from the
#             mouse button's release over the start button until both result boxes have been repainted
set -euo pipefail
here=$(dirname "${BASH_SOURCE[0]}")
source "$here/../scripts/common.sh"
source "$here/../scripts/xsession.sh"

runs=${1:-10}
if ! [[ $runs =~ ^[0-9]+$ ]] || ((runs < 10)); then
    say "usage: bench/startup.sh [N], with N >= 10"
    exit 2
fi
for tool in Xvfb openbox xdotool xprop import; do
    command -v "$tool" >/dev/null || {
        say "$tool is not installed (packages: xvfb openbox xdotool x11-utils imagemagick)"
        exit 1
    }
done

bench=$CORVALEN_BUILD/bench
cmake --build "$CORVALEN_BUILD" --target corvalen corvalen-calc startup_floor startup_floor_text \
    startup_paint_trace startup_launch
programs=("$CORVALEN_BUILD/corvalen" "$bench/startup_floor" "$bench/startup_floor_text")
# r, L, h and hi as typed, Tab between them; and what the result boxes must then show.
typed=1.5,6,1.2,0.375
expected=$("$CORVALEN_BUILD/corvalen-calc" volume --r 1.5 --L 6 --h 1.2 --hi 0.375 | awk '{ printf "%s ", $2 }')
expected=${expected% }

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

# Runs $1 once; prints "start-up-ms peak-KiB click-ms V Vh" (the last three "-" for the floors).
run_once() {
    "$bench/startup_launch" "$bench/startup_paint_trace.so" "$typed" "$1" 2>"$work/err.log" || {
        say "${1##*/} failed:"
        cat "$work/err.log" >&2
        return 1
    }
}

median() { sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }
column() { cut -d' ' -f"$1" "$work/$2"; }

results_file=$bench/startup.txt
{
    echo "startup.sh $runs, $(date -u '+%Y-%m-%d %H:%M UTC')"
    echo "machine: $(lscpu | sed -n 's/^Model name: *//p'), $(nproc) cores, $(uname -sr)"
    echo "uptime before: $(uptime)"
} | tee "$results_file"
for program in "${programs[@]}"; do : >"$work/${program##*/}"; done
# One run of each program first, not counted: it brings the libraries and fonts into the page cache.
for program in "${programs[@]}"; do run_once "$program" >/dev/null; done
for ((i = 1; i <= runs; i++)); do
    # Each program goes first, second and third in turn, so that none always follows the same one.
    for ((k = 0; k < ${#programs[@]}; k++)); do
        program=${programs[(i + k) % ${#programs[@]}]}
        line=$(run_once "$program")
        echo "run $i ${program##*/}: $line" | tee -a "$results_file"
        echo "$line" >>"$work/${program##*/}"
    done
done
echo "uptime after: $(uptime)" | tee -a "$results_file"

wrong=$(awk -v want="$expected" '($4 " " $5) != want' "$work/corvalen" | wc -l)
app_ms=$(column 1 corvalen | median) app_kb=$(column 2 corvalen | median)
floor_ms=$(column 1 startup_floor | median) floor_kb=$(column 2 startup_floor | median)
text_ms=$(column 1 startup_floor_text | median) text_kb=$(column 2 startup_floor_text | median)
click_ms=$(column 3 corvalen | median)
click_range=$(column 3 corvalen | sort -n | sed -n '1p;$p' | paste -sd' ')
awk -v am="$app_ms" -v ak="$app_kb" -v fm="$floor_ms" -v fk="$floor_kb" -v tm="$text_ms" -v tk="$text_kb" \
    -v cm="$click_ms" -v cr="$click_range" -v n="$runs" -v want="$expected" -v wrong="$wrong" 'BEGIN {
    printf "medians of %d runs each:\n", n
    printf "  start-up to first paint  corvalen %.1f ms, floor %.1f ms, ratio %.2f (target <= 1.25): %s\n",
        am, fm, am / fm, (am / fm <= 1.25) ? "met" : "missed"
    printf "                           floor with text %.1f ms, corvalen / floor with text %.2f\n", tm, am / tm
    printf "  peak resident memory     corvalen %d KiB, floor %d KiB, ratio %.2f (target <= 1.20): %s\n",
        ak, fk, ak / fk, (ak / fk <= 1.20) ? "met" : "missed"
    printf "                           floor with text %d KiB, corvalen / floor with text %.2f\n", tk, ak / tk
    split(cr, range, " ")
    printf "  click to results shown   %.2f ms (%.2f to %.2f)\n", cm, range[1], range[2]
    printf "  results after the click  %s in %d of %d runs (expected %s)\n",
        wrong == 0 ? "right" : "WRONG", n - wrong, n, want
}' | tee -a "$results_file"
say "results in $results_file"
((wrong == 0))
