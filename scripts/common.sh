# Shared by scripts/run and scripts/test: the Debian packages the project needs, installing what is
# missing, and configuring and building into build/. Sourced, not run.

CORVALEN_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
CORVALEN_BUILD=${CORVALEN_BUILD:-$CORVALEN_ROOT/build}

# To build and run the program.
CORVALEN_PACKAGES=(
    cmake ninja-build g++ pkg-config
    qt6-base-dev libjpeg62-turbo-dev fonts-noto-cjk
)
# To build and run the tests and benchmarks as well: GoogleTest, Google Benchmark, a real X server with a
# window manager for the end-to-end test and the screenshot, and the tools that drive it.
CORVALEN_TEST_PACKAGES=(
    googletest libgtest-dev libbenchmark-dev libxtst-dev
    xvfb openbox xdotool xclip x11-utils imagemagick
)

say() { printf '%s: %s\n' "${0##*/}" "$*"; }

as_root() {
    if [ "$(id -u)" -eq 0 ]; then
        "$@"
    elif command -v sudo >/dev/null 2>&1; then
        sudo "$@"
    else
        say "need root to run: $* (install sudo or run as root)"
        return 1
    fi
}

# Installs those of the given Debian packages that are not installed yet. The package lists are
# refreshed first only when one of the packages is unknown to them.
ensure_packages() {
    local missing=() package
    for package in "$@"; do
        if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q '^install ok installed$'; then
            missing+=("$package")
        fi
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    say "installing ${missing[*]}"
    for package in "${missing[@]}"; do
        if ! apt-cache show "$package" >/dev/null 2>&1; then
            as_root apt-get update -q
            break
        fi
    done
    as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "${missing[@]}"
}

# Configures (once) and builds into build/. Warnings are errors in CI.
build_project() {
    local werror=OFF
    [ -n "${CI:-}" ] && werror=ON
    cmake -S "$CORVALEN_ROOT" -B "$CORVALEN_BUILD" -G Ninja -DCORVALEN_WERROR="$werror" "$@"
    cmake --build "$CORVALEN_BUILD"
}
