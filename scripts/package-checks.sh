#!/usr/bin/env bash
# Checks the desktop integration and the Debian package, on a build directory that is configured already:
#
#   scripts/package-checks.sh [BUILD_DIR]        (BUILD_DIR defaults to build/)
#
# 1. The desktop entry and the AppStream metadata validate.
# 2. cpack -G DEB builds the package in BUILD_DIR; its contents and control fields are what they should be.
# 3. apt-get installs it; the installed /usr/bin/corvalen runs on the offscreen platform, and under Xvfb it
#    shows its window, which Alt+F4 closes with exit code 0.
# 4. apt-get removes and purges it, and nothing of it is left.
#
# Installs the Debian packages it needs that are missing. Needs root for apt-get (directly or through sudo).
# Whatever happens, the package is removed again at the end. Stops at the first check that fails.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
source "$CORVALEN_ROOT/scripts/xsession.sh"

PACKAGING_PACKAGES=(
    desktop-file-utils # desktop-file-validate
    appstream          # appstreamcli
    dpkg-dev           # dpkg-shlibdeps, which cpack runs to compute the package's library dependencies
    file               # cpack finds the ELF files for dpkg-shlibdeps with it; the checks read PNG sizes too
    xvfb openbox xdotool x11-utils imagemagick # the X session of scripts/xsession.sh
)

BUILD_DIR=$(cd "${1:-$CORVALEN_BUILD}" && pwd)
WINDOW_TITLE='Corvalen——Peltramo论坛作品'
ICON_SIZES=(16 32 48 64 128 256)
# Every package whose name must be among the dependencies: the libraries that dpkg-shlibdeps finds for the
# program's binary, and the font that only Packaging.cmake names.
REQUIRED_DEPENDS=(libc6 libstdc++6 libqt6core6 libqt6gui6 libqt6widgets6 libjpeg62-turbo fonts-noto-cjk)

CHECKS=0
WORK_DIR=
INSTALLED_BY_US=
PROGRAM_PID=

fail() {
    say "FAILED: $*"
    exit 1
}

pass() {
    CHECKS=$((CHECKS + 1))
    say "ok: $*"
}

package_status() {
    dpkg-query -W -f='${Status}' corvalen 2>/dev/null || true
}

# Whether dpkg has the package installed, half installed or with its configuration files left.
package_known() {
    local status
    status=$(package_status)
    [[ -n $status && $status != *" not-installed" ]]
}

cleanup() {
    local status=$?
    set +e
    if [[ -n $PROGRAM_PID ]] && kill -0 "$PROGRAM_PID" 2>/dev/null; then
        kill "$PROGRAM_PID"
        wait "$PROGRAM_PID" 2>/dev/null
    fi
    xsession_stop
    if [[ -n $INSTALLED_BY_US ]] && package_known; then
        say "removing the corvalen package again"
        as_root env DEBIAN_FRONTEND=noninteractive apt-get purge -y -q corvalen >/dev/null
    fi
    [[ -n $WORK_DIR ]] && rm -rf "$WORK_DIR"
    exit "$status"
}
trap cleanup EXIT

# The value of one "NAME:TYPE=VALUE" entry of BUILD_DIR/CMakeCache.txt.
cache_value() {
    sed -n "s/^$1:[A-Z]*=//p" "$BUILD_DIR/CMakeCache.txt"
}

setup() {
    [[ -f $BUILD_DIR/CMakeCache.txt ]] ||
        fail "$BUILD_DIR is not a configured build directory (scripts/test or scripts/run configures build/)"
    [[ $(cache_value CMAKE_GENERATOR) == Ninja ]] || fail "$BUILD_DIR is not configured with -G Ninja"
    ensure_packages "${CORVALEN_PACKAGES[@]}" "${PACKAGING_PACKAGES[@]}"
    local tool
    for tool in cmake cpack dpkg-deb dpkg-query dpkg-shlibdeps desktop-file-validate appstreamcli file \
        apt-get timeout xdotool xprop ldd cmp; do
        command -v "$tool" >/dev/null || fail "$tool is not installed"
    done
    WORK_DIR=$(mktemp -d "${TMPDIR:-/tmp}/corvalen-package.XXXXXX")
    # apt-get reads a local package file as the unprivileged user _apt, which must be able to reach it.
    chmod 755 "$WORK_DIR"
}

check_sources() {
    local desktop=$CORVALEN_ROOT/packaging/corvalen.desktop metainfo output
    output=$(desktop-file-validate "$desktop" 2>&1) || fail "desktop-file-validate: $output"
    # It prints hints and warnings without failing; they count as failures here.
    [[ -z $output ]] || fail "desktop-file-validate: $output"
    pass "desktop-file-validate accepts packaging/corvalen.desktop"

    local metainfos=("$CORVALEN_ROOT"/packaging/*.metainfo.xml)
    [[ ${#metainfos[@]} -eq 1 && -f ${metainfos[0]} ]] ||
        fail "packaging/ must hold exactly one metainfo file"
    metainfo=${metainfos[0]}
    output=$(appstreamcli validate --no-net "$metainfo" 2>&1) || fail "appstreamcli validate: $output"
    pass "appstreamcli validate --no-net accepts packaging/${metainfo##*/}"

    APPSTREAM_ID=${metainfo##*/}
    APPSTREAM_ID=${APPSTREAM_ID%.metainfo.xml}
    grep -q "<id>$APPSTREAM_ID</id>" "$metainfo" || fail "the <id> of ${metainfo##*/} is not $APPSTREAM_ID"
    grep -q '<launchable type="desktop-id">corvalen.desktop</launchable>' "$metainfo" ||
        fail "${metainfo##*/} does not launch corvalen.desktop"
    if ! grep -q '<screenshot type="default">' "$metainfo" || ! grep -q '<caption>[^<]' "$metainfo"; then
        fail "${metainfo##*/} has no default screenshot with a caption"
    fi
    grep -Eq '<release version="[^"]+" date="[0-9]{4}-[0-9]{2}-[0-9]{2}"' "$metainfo" ||
        fail "${metainfo##*/} has no release with a version and a date"
    pass "the metadata's id is its file name, it launches corvalen.desktop, has a screenshot and a release"
}

build_package() {
    cmake --build "$BUILD_DIR"
    rm -f "$BUILD_DIR"/corvalen_*.deb
    (cd "$BUILD_DIR" && cpack -G DEB) >"$WORK_DIR/cpack.log" 2>&1 || {
        cat "$WORK_DIR/cpack.log" >&2
        fail "cpack -G DEB"
    }
    local debs=("$BUILD_DIR"/corvalen_*.deb)
    [[ ${#debs[@]} -eq 1 && -f ${debs[0]} ]] || fail "cpack made no corvalen_*.deb in $BUILD_DIR"
    DEB=${debs[0]}
    pass "cpack -G DEB built ${DEB##*/}"
}

# The files that the package must hold, no more and no fewer.
expected_files() {
    echo ./usr/bin/corvalen
    # The command-line calculator comes along whenever the build has it (the project builds with Ninja only).
    if "$(cache_value CMAKE_MAKE_PROGRAM)" -C "$BUILD_DIR" -t query corvalen-calc >/dev/null 2>&1; then
        echo ./usr/bin/corvalen-calc
    fi
    echo ./usr/share/applications/corvalen.desktop
    echo "./usr/share/metainfo/$APPSTREAM_ID.metainfo.xml"
    local size
    for size in "${ICON_SIZES[@]}"; do
        echo "./usr/share/icons/hicolor/${size}x${size}/apps/corvalen.png"
    done
}

check_contents() {
    dpkg-deb -c "$DEB" >"$WORK_DIR/contents"
    awk '$1 !~ /^d/ { print $6 }' "$WORK_DIR/contents" | sort >"$WORK_DIR/files"
    expected_files | sort >"$WORK_DIR/expected"
    diff -u "$WORK_DIR/expected" "$WORK_DIR/files" >&2 ||
        fail "the package does not hold exactly the files above (- missing, + unexpected)"
    pass "the package holds exactly the $(wc -l <"$WORK_DIR/expected") files expected:" \
        "$(tr '\n' ' ' <"$WORK_DIR/expected")"

    awk '$2 != "root/root" { print; bad = 1 } END { exit bad }' "$WORK_DIR/contents" >&2 ||
        fail "the entries above are not owned by root"
    awk '$1 ~ /^-/ && $6 ~ /^\.\/usr\/bin\// && $1 != "-rwxr-xr-x" { print; bad = 1 }
         $1 ~ /^-/ && $6 !~ /^\.\/usr\/bin\// && $1 != "-rw-r--r--" { print; bad = 1 }
         $1 ~ /^d/ && $1 != "drwxr-xr-x" { print; bad = 1 }
         END { exit bad }' "$WORK_DIR/contents" >&2 || fail "the entries above have the wrong permissions"
    pass "every entry is owned by root/root; programs are 0755, data files 0644, directories 0755"

    local tree=$WORK_DIR/tree size description
    dpkg-deb -x "$DEB" "$tree"
    cmp "$CORVALEN_ROOT/packaging/corvalen.desktop" "$tree/usr/share/applications/corvalen.desktop" ||
        fail "the packed desktop entry differs from packaging/corvalen.desktop"
    cmp "$CORVALEN_ROOT/packaging/$APPSTREAM_ID.metainfo.xml" \
        "$tree/usr/share/metainfo/$APPSTREAM_ID.metainfo.xml" ||
        fail "the packed metadata differs from packaging/$APPSTREAM_ID.metainfo.xml"
    pass "the packed desktop entry and metadata are the files in packaging/"

    for size in "${ICON_SIZES[@]}"; do
        description=$(file -b "$tree/usr/share/icons/hicolor/${size}x${size}/apps/corvalen.png")
        [[ $description == "PNG image data, $size x $size, "* ]] ||
            fail "the ${size}x${size} icon is \"$description\""
    done
    pass "each icon is a PNG of the size its directory names"

    local program
    for program in "$tree"/usr/bin/*; do
        description=$(file -b "$program")
        [[ $description == "ELF 64-bit LSB pie executable, x86-64,"* && $description == *", stripped" ]] ||
            fail "usr/bin/${program##*/} is \"$description\", not a stripped x86-64 executable"
    done
    pass "each program in usr/bin is a stripped x86-64 executable"
}

# The value of one control field of the package.
control_field() {
    dpkg-deb -f "$DEB" "$1"
}

check_control() {
    local version
    version="$(cache_value CMAKE_PROJECT_VERSION)-1"
    [[ $(control_field Package) == corvalen ]] || fail "Package is \"$(control_field Package)\""
    [[ $(control_field Version) == "$version" ]] ||
        fail "Version is \"$(control_field Version)\", not $version"
    [[ $(control_field Architecture) == amd64 ]] || fail "Architecture is \"$(control_field Architecture)\""
    [[ $(control_field Section) == science ]] || fail "Section is \"$(control_field Section)\""
    [[ $(control_field Priority) == optional ]] || fail "Priority is \"$(control_field Priority)\""
    local name_and_address='^[^<]+ <[^@>]+@[^>]+>$'
    [[ $(control_field Maintainer) =~ $name_and_address ]] ||
        fail "Maintainer is \"$(control_field Maintainer)\", not \"Name <address>\""
    [[ ${DEB##*/} == "corvalen_${version}_amd64.deb" ]] || fail "the file is named ${DEB##*/}"
    pass "Package corvalen, Version $version, Architecture amd64, Section science, Priority optional," \
        "Maintainer \"$(control_field Maintainer)\""

    local description synopsis
    description=$(control_field Description)
    synopsis=${description%%$'\n'*}
    [[ -n $synopsis && ${#synopsis} -le 80 && $synopsis != *. && $description == *$'\n'* ]] ||
        fail "Description needs a synopsis line (at most 80 characters, no full stop) and a long description"
    pass "Description: \"$synopsis\" and a long description"

    # One package name per dependency, without its version constraint: "libc6 (>= 2.34)" -> "libc6".
    local depends package
    depends=$(control_field Depends)
    tr ',' '\n' <<<"$depends" | sed 's/^ *//; s/ .*//' | sort >"$WORK_DIR/depends"
    for package in "${REQUIRED_DEPENDS[@]}"; do
        grep -qx "$package" "$WORK_DIR/depends" || fail "Depends ($depends) lacks $package"
    done
    # dpkg-shlibdeps writes a minimum version for each library; a hand-written list rarely has one.
    [[ $depends == *"libqt6widgets6 (>= "* ]] ||
        fail "the dependency on libqt6widgets6 has no minimum version: dpkg-shlibdeps did not compute it"
    pass "Depends: $depends"
}

install_package() {
    ! package_known ||
        fail "a corvalen package is installed already ($(package_status)); this check installs and removes" \
            "its own, so remove that one first: apt-get remove corvalen"
    cp "$DEB" "$WORK_DIR/"
    chmod 644 "$WORK_DIR/${DEB##*/}"
    INSTALLED_BY_US=yes
    as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -q "$WORK_DIR/${DEB##*/}" \
        >"$WORK_DIR/install.log" 2>&1 || {
        cat "$WORK_DIR/install.log" >&2
        fail "apt-get install of ${DEB##*/}"
    }
    [[ $(package_status) == "install ok installed" ]] ||
        fail "after apt-get install the package is $(package_status)"
    pass "apt-get installs ${DEB##*/}"

    local path
    while read -r path; do
        [[ -f ${path#.} ]] || fail "${path#.} is not installed"
    done <"$WORK_DIR/expected"
    [[ -x /usr/bin/corvalen && $(command -v corvalen) == /usr/bin/corvalen ]] ||
        fail "corvalen on the PATH is \"$(command -v corvalen)\", not /usr/bin/corvalen"
    [[ $(dpkg-query -S /usr/bin/corvalen) == "corvalen: /usr/bin/corvalen" ]] ||
        fail "the package does not own /usr/bin/corvalen"
    pass "every packed file is installed, and the desktop entry's Exec=corvalen finds /usr/bin/corvalen"

    local output
    local entry=/usr/share/applications/corvalen.desktop
    if ! output=$(desktop-file-validate "$entry" 2>&1) || [[ -n $output ]]; then
        fail "the installed desktop entry: $output"
    fi
    output=$(appstreamcli validate --no-net "/usr/share/metainfo/$APPSTREAM_ID.metainfo.xml" 2>&1) ||
        fail "the installed metadata: $output"
    ! ldd /usr/bin/corvalen | grep 'not found' >&2 || fail "the installed program misses the libraries above"
    pass "the installed desktop entry and metadata validate; every library of /usr/bin/corvalen is found"
}

# A private XDG_RUNTIME_DIR, so that Qt does not warn about a missing one on stderr.
runtime_dir() {
    [[ -d $WORK_DIR/runtime ]] || mkdir -m 700 "$WORK_DIR/runtime"
    echo "$WORK_DIR/runtime"
}

check_offscreen_start() {
    local status=0 runtime
    runtime=$(runtime_dir)
    # A missing library or plugin ends the program at once; a window that cannot be built prints why and
    # waits in a message box. A program that is still running after 2 s and has said nothing has built its
    # window and is in its event loop; timeout then ends it, exit status 124.
    env -u DISPLAY QT_QPA_PLATFORM=offscreen XDG_RUNTIME_DIR="$runtime" \
        timeout 2 /usr/bin/corvalen >"$WORK_DIR/offscreen.out" 2>&1 || status=$?
    [[ $status -eq 124 ]] || {
        cat "$WORK_DIR/offscreen.out" >&2
        fail "on the offscreen platform /usr/bin/corvalen ended by itself with exit status $status"
    }
    [[ ! -s $WORK_DIR/offscreen.out ]] || {
        cat "$WORK_DIR/offscreen.out" >&2
        fail "on the offscreen platform /usr/bin/corvalen printed the above"
    }
    pass "the installed /usr/bin/corvalen runs on the offscreen platform without a word until it is ended"
}

check_window() {
    local runtime status=0 window pid class
    runtime=$(runtime_dir)
    xsession_start 1024x768 || fail "the X session did not start"
    # The timeout only keeps a program that ignores Alt+F4 from hanging the check; it fails the check then.
    QT_QPA_PLATFORM=xcb XDG_RUNTIME_DIR="$runtime" timeout 120 /usr/bin/corvalen >"$WORK_DIR/xcb.out" 2>&1 &
    PROGRAM_PID=$!
    window=$(xsession_wait_window "$WINDOW_TITLE" 60) || {
        cat "$WORK_DIR/xcb.out" >&2
        fail "the installed program showed no window titled \"$WINDOW_TITLE\""
    }
    pid=$(xprop -id "$window" _NET_WM_PID | sed -n 's/^_NET_WM_PID(CARDINAL) = //p')
    [[ -n $pid && $(readlink "/proc/$pid/exe") == /usr/bin/corvalen ]] ||
        fail "the window \"$WINDOW_TITLE\" does not belong to /usr/bin/corvalen"
    class=$(xprop -id "$window" WM_CLASS | sed -n 's/^WM_CLASS(STRING) = "[^"]*", "\([^"]*\)"$/\1/p')
    grep -qx "StartupWMClass=$class" /usr/share/applications/corvalen.desktop ||
        fail "the window's class \"$class\" is not the desktop entry's StartupWMClass"
    pass "under Xvfb /usr/bin/corvalen shows its window \"$WINDOW_TITLE\"," \
        "of the class $class that the desktop entry names"

    timeout 30 xdotool windowactivate --sync "$window" || fail "the window could not be activated"
    xdotool key --clearmodifiers alt+F4
    wait "$PROGRAM_PID" || status=$?
    PROGRAM_PID=
    [[ $status -eq 0 ]] || {
        cat "$WORK_DIR/xcb.out" >&2
        fail "after Alt+F4 the program ended with exit status $status, not 0"
    }
    pass "Alt+F4 closes the window and the program ends with exit status 0"
    xsession_stop
}

remove_package() {
    as_root env DEBIAN_FRONTEND=noninteractive apt-get remove -y -q corvalen >"$WORK_DIR/remove.log" 2>&1 || {
        cat "$WORK_DIR/remove.log" >&2
        fail "apt-get remove corvalen"
    }
    local path
    while read -r path; do
        [[ ! -e ${path#.} ]] || fail "${path#.} is still there after apt-get remove"
    done <"$WORK_DIR/expected"
    pass "apt-get remove corvalen removed /usr/bin/corvalen, the desktop entry, the metadata and the icons"

    # A package without configuration files is purged by the removal already: dpkg forgets it, and apt-get
    # purge would not find it any more.
    if package_known; then
        as_root env DEBIAN_FRONTEND=noninteractive apt-get purge -y -q corvalen \
            >"$WORK_DIR/purge.log" 2>&1 || {
            cat "$WORK_DIR/purge.log" >&2
            fail "apt-get purge corvalen"
        }
    fi
    ! package_known ||
        fail "after apt-get purge the package is $(package_status)"
    [[ ! -e /usr/share/doc/corvalen && ! -e /var/lib/dpkg/info/corvalen.list ]] ||
        fail "the package left /usr/share/doc/corvalen or dpkg's list of its files behind"
    INSTALLED_BY_US=
    pass "after the removal and purge dpkg knows nothing of the package and none of its files are left"
}

setup
check_sources
build_package
check_contents
check_control
install_package
check_offscreen_start
check_window
remove_package
say "all $CHECKS package checks passed"
