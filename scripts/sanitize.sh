# The build with AddressSanitizer and UndefinedBehaviorSanitizer in build-sanitize/: clang 14, every test
# of the project, and the libFuzzer targets of the numeric core. Sourced by scripts/test and scripts/fuzz,
# not run. The functions return nonzero on the first failure, with or without `set -e` in the caller.

source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

CORVALEN_SANITIZE_BUILD=${CORVALEN_SANITIZE_BUILD:-$CORVALEN_ROOT/build-sanitize}
# clang and its sanitizer and libFuzzer runtimes; llvm-14 has the symbolizer that puts file names and
# line numbers into the reports.
CORVALEN_SANITIZE_PACKAGES=(clang-14 libclang-rt-14-dev llvm-14)
CORVALEN_FUZZ_TARGETS=(fuzz_text_to_number fuzz_number_to_text fuzz_compute_volumes)
# Seconds per fuzz target in run_sanitizer_build: long enough to pass the seeds' neighbourhoods, short
# enough for CI.
CORVALEN_SHORT_FUZZ_SECONDS=20

# Any report ends the process with an abort, so that the test or the fuzz run that met it fails; with
# the stack of the report, symbolized.
export_sanitizer_options() {
    local common=halt_on_error=1:abort_on_error=1:print_stacktrace=1
    export ASAN_OPTIONS=$common:detect_leaks=1:check_initialization_order=1
    export UBSAN_OPTIONS=$common
    if [ -f "$CORVALEN_ROOT/tests/lsan.supp" ]; then
        export LSAN_OPTIONS=suppressions=$CORVALEN_ROOT/tests/lsan.supp:print_suppressions=0
    fi
    if [ -x /usr/bin/llvm-symbolizer-14 ]; then
        export ASAN_SYMBOLIZER_PATH=/usr/bin/llvm-symbolizer-14
    fi
}

# Configures build-sanitize/ (the arguments are further cmake options).
configure_sanitizer_build() {
    ensure_packages "${CORVALEN_SANITIZE_PACKAGES[@]}" || return 1
    cmake -S "$CORVALEN_ROOT" -B "$CORVALEN_SANITIZE_BUILD" -G Ninja \
        -DCMAKE_CXX_COMPILER=clang++-14 -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DCORVALEN_SANITIZE=ON -DCORVALEN_BUILD_FUZZERS=ON \
        -DCORVALEN_BUILD_BENCHMARKS=OFF -DCORVALEN_BUILD_TOOLS=OFF "$@"
}

# Runs one fuzz target for $2 seconds on the corpus directory $3, which it adds its new inputs to. An input
# that breaks a property or meets a sanitizer is kept in build-sanitize/fuzz-artifacts/; libFuzzer's log,
# a line for every new input, goes to build-sanitize/fuzz-logs/ and only its end is shown.
run_fuzz_target() {
    local target=$1 seconds=$2 corpus=$3
    local artifacts=$CORVALEN_SANITIZE_BUILD/fuzz-artifacts logs=$CORVALEN_SANITIZE_BUILD/fuzz-logs
    mkdir -p "$artifacts" "$logs" || return 1
    local options=(
        -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1
        -artifact_prefix="$artifacts/$target-"
    )
    case $target in
    fuzz_number_to_text) options+=(-max_len=12) ;; # a double and the places; more bytes mean nothing
    *) options+=(-dict="$CORVALEN_ROOT/fuzz/numbers.dict") ;;
    esac
    export_sanitizer_options
    if ! "$CORVALEN_SANITIZE_BUILD/fuzz/$target" "${options[@]}" "$corpus" >"$logs/$target.log" 2>&1; then
        tail -n 60 "$logs/$target.log"
        say "$target failed; the input is in $artifacts/ (rerun: $CORVALEN_SANITIZE_BUILD/fuzz/$target FILE)"
        return 1
    fi
    grep -E '^(#[0-9]+[[:space:]]+DONE|stat::number_of_executed_units|Done )' "$logs/$target.log" || true
}

# Builds everything with the sanitizers (the arguments are further cmake options), runs every test there,
# then each fuzz target for CORVALEN_SHORT_FUZZ_SECONDS on a copy of its committed seeds, so that the
# repository is not written. A failing test does not stop the fuzz runs: one run reports everything.
run_sanitizer_build() {
    say "sanitizer build in $CORVALEN_SANITIZE_BUILD"
    configure_sanitizer_build "$@" || return 1
    export_sanitizer_options
    cmake --build "$CORVALEN_SANITIZE_BUILD" --parallel "$(nproc)" || return 1

    local failed=() work target
    (cd "$CORVALEN_SANITIZE_BUILD" && ctest --output-on-failure --timeout 600 -j "$(nproc)") || failed+=(tests)
    work=$(mktemp -d) || return 1
    for target in "${CORVALEN_FUZZ_TARGETS[@]}"; do
        say "fuzzing $target for ${CORVALEN_SHORT_FUZZ_SECONDS}s"
        if ! cp -r "$CORVALEN_ROOT/fuzz/corpus/$target" "$work/$target" ||
            ! run_fuzz_target "$target" "$CORVALEN_SHORT_FUZZ_SECONDS" "$work/$target"; then
            failed+=("$target")
        fi
    done
    rm -rf "$work"
    if [ ${#failed[@]} -ne 0 ]; then
        say "sanitizer build: failed: ${failed[*]}"
        return 1
    fi
    say "sanitizer build: every test and fuzz run passed"
}
