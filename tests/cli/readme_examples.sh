#!/usr/bin/env bash
# Runs every corvalen-calc example of the README and compares what the program prints with what the
# README shows. An example is a line "$ corvalen-calc ARGUMENTS" inside a ``` block; the lines after it, up
# to the next such line or the end of the block, are its output (standard output and standard error
# together, as a terminal shows them).
#   readme_examples.sh README PROGRAM
set -uo pipefail
readme=$1
program=$2
failures=0
examples=0

check() { # arguments, expected output
    local -a arguments
    read -ra arguments <<<"$1"
    local actual
    actual=$("$program" "${arguments[@]}" 2>&1)
    examples=$((examples + 1))
    if [[ $actual != "$2" ]]; then
        failures=$((failures + 1))
        echo "FAIL: corvalen-calc $1"
        diff <(printf '%s\n' "$2") <(printf '%s\n' "$actual") | sed 's/^/    /'
    fi
}

in_block=no command='' expected=''
flush() {
    if [[ -n $command ]]; then
        check "$command" "${expected%$'\n'}"
    fi
    command='' expected=''
}
while IFS= read -r line; do
    if [[ $line == '```'* ]]; then
        flush
        [[ $in_block == no ]] && in_block=yes || in_block=no
    elif [[ $in_block == yes && $line == '$ corvalen-calc'* ]]; then
        flush
        command=${line#'$ corvalen-calc '}
    elif [[ -n $command ]]; then
        expected+=$line$'\n'
    fi
done <"$readme"

if ((examples == 0)); then
    echo "no corvalen-calc example found in $readme"
    exit 1
fi
echo "$examples examples, $failures differ"
((failures == 0))
