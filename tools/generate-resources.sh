#!/usr/bin/env bash
# Regenerates the program's pictures in resources/ from tools/: builds the generator, then lets it paint
# resources/start_button.jpg, resources/corvalen.ico, resources/icons/<size>/corvalen.png and the pictures of
# the window's two picture boxes, resources/vessel_drawing.gif and resources/symbol_legend.gif.
#
#   tools/generate-resources.sh [build-dir]      (default: build-tools/ in the source tree)
#
# The outputs are committed; run this after changing the generator and commit what it writes. Two runs give
# identical bytes.
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build_dir="$(realpath -m "${1:-$root/build-tools}")"
font="/usr/share/fonts/opentype/noto/NotoSansCJK-Regular.ttc"
serif_font="/usr/share/fonts/opentype/noto/NotoSerifCJK-Regular.ttc"

fail() {
    echo "generate-resources.sh: $*" >&2
    exit 1
}

for tool in cmake c++; do
    command -v "$tool" >/dev/null || fail "$tool not found (Debian: apt-get install cmake g++)"
done
for file in "$font" "$serif_font"; do
    [[ -f "$file" ]] || fail "$file not found (Debian: apt-get install fonts-noto-cjk)"
done

# CMake itself finds Qt 6 Gui and libjpeg, and stops if either is missing.
generator="Ninja"
command -v ninja >/dev/null || generator="Unix Makefiles"
if [[ ! -f "$build_dir/CMakeCache.txt" ]]; then
    cmake -S "$root/tools" -B "$build_dir" -G "$generator" ||
        fail "configuring failed; the generator needs qt6-base-dev and libjpeg62-turbo-dev"
fi
cmake --build "$build_dir" --target corvalen_draw_resources

# XDG_RUNTIME_DIR is only set in desktop sessions; Qt warns without it although the generator needs none.
if [[ -z "${XDG_RUNTIME_DIR:-}" ]]; then
    XDG_RUNTIME_DIR="$(mktemp -d)"
    export XDG_RUNTIME_DIR
    trap 'rm -rf "$XDG_RUNTIME_DIR"' EXIT
fi
# A build of the whole project puts the generator under tools/, a build of tools/ alone at the top.
program="$build_dir/corvalen_draw_resources"
[[ -x "$program" ]] || program="$build_dir/tools/corvalen_draw_resources"
[[ -x "$program" ]] || fail "the generator was not built in $build_dir"
cd "$root"
"$program" --font "$font" --serif-font "$serif_font" resources
