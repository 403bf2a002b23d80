#!/usr/bin/env bash
# Compiles the numeric core on its own with plain g++ -std=c++20 at -O0 and at -O2 and checks that both
# builds print the same bits for the same inputs.
set -euo pipefail
source_dir=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
for level in O0 O2; do
    g++ -std=c++20 "-$level" -I"$source_dir" "$source_dir"/calc/*.cpp "$source_dir"/tests/calc/print_vectors.cpp \
        -o "$work/vectors-$level"
    "$work/vectors-$level" >"$work/out-$level.txt"
done
if ! cmp -s "$work/out-O0.txt" "$work/out-O2.txt"; then
    echo "the -O0 and -O2 builds differ:"
    diff "$work/out-O0.txt" "$work/out-O2.txt" | head -n 20
    exit 1
fi
echo "-O0 and -O2 agree on $(wc -l <"$work/out-O0.txt") lines"
