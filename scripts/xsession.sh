# A virtual X session for running the program without a display: Xvfb with the openbox window manager.
# Source it, then:
#
#   xsession_start [WIDTHxHEIGHT]     starts Xvfb on a free display and openbox on it; exports DISPLAY
#   xsession_wait_window TITLE [SECS] prints the id of the window with exactly that title once it is mapped
#   xsession_screenshot FILE          saves the whole screen as a PNG
#   xsession_stop                     ends openbox and Xvfb and restores DISPLAY
#
# Every function returns nonzero with a message on stderr when it fails; none of them exits the caller's
# shell. Needs Xvfb, openbox, xdotool, xprop (x11-utils) and import (imagemagick).

XSESSION_XVFB_PID=
XSESSION_WM_PID=
XSESSION_DIR=
XSESSION_SAVED_DISPLAY=

xsession__fail() {
    echo "xsession: $*" >&2
    return 1
}

# Waits up to $1 seconds for the command in $2... to succeed.
xsession__until() {
    local seconds=$1
    shift
    local deadline=$((SECONDS + seconds))
    until "$@" >/dev/null 2>&1; do
        ((SECONDS < deadline)) || return 1
        sleep 0.1
    done
}

xsession__wm_running() {
    xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'
}

xsession_start() {
    local screen=${1:-1024x768}
    local tool
    for tool in Xvfb openbox xdotool xprop import; do
        command -v "$tool" >/dev/null || {
            xsession__fail "$tool is not installed"
            return 1
        }
    done
    [[ -z $XSESSION_XVFB_PID ]] || {
        xsession__fail "a session is already running on $DISPLAY"
        return 1
    }

    XSESSION_DIR=$(mktemp -d "${TMPDIR:-/tmp}/xsession.XXXXXX") || return 1
    # -displayfd lets the server pick a free display itself and report its number once it accepts
    # connections, so two sessions never race for the same display.
    Xvfb -displayfd 3 -screen 0 "${screen}x24" -nolisten tcp -noreset \
        3>"$XSESSION_DIR/display" >"$XSESSION_DIR/xvfb.log" 2>&1 &
    XSESSION_XVFB_PID=$!
    if ! xsession__until 10 grep -q '[0-9]' "$XSESSION_DIR/display"; then
        cat "$XSESSION_DIR/xvfb.log" >&2
        xsession_stop
        xsession__fail "Xvfb did not start"
        return 1
    fi
    XSESSION_SAVED_DISPLAY=${DISPLAY-}
    DISPLAY=":$(tr -dc '0-9' <"$XSESSION_DIR/display")"
    export DISPLAY

    openbox --sm-disable >"$XSESSION_DIR/openbox.log" 2>&1 &
    XSESSION_WM_PID=$!
    if ! xsession__until 10 xsession__wm_running; then
        cat "$XSESSION_DIR/openbox.log" >&2
        xsession_stop
        xsession__fail "openbox did not start on $DISPLAY"
        return 1
    fi
}

xsession_wait_window() {
    local title=$1 seconds=${2:-20}
    local deadline=$((SECONDS + seconds)) id name
    while ((SECONDS < deadline)); do
        # xdotool matches a regular expression; the exact title is compared here instead, byte for byte.
        for id in $(xdotool search --onlyvisible --name . 2>/dev/null); do
            name=$(xdotool getwindowname "$id" 2>/dev/null) || continue
            if [[ $name == "$title" ]]; then
                echo "$id"
                return 0
            fi
        done
        sleep 0.1
    done
    xsession__fail "no window titled \"$title\" appeared within $seconds s"
}

xsession_screenshot() {
    local file=$1
    import -window root "$file" || xsession__fail "the screenshot could not be saved to $file"
}

xsession_stop() {
    local pid
    for pid in "$XSESSION_WM_PID" "$XSESSION_XVFB_PID"; do
        [[ -n $pid ]] || continue
        kill "$pid" 2>/dev/null
        wait "$pid" 2>/dev/null
    done
    XSESSION_WM_PID=
    XSESSION_XVFB_PID=
    [[ -n $XSESSION_DIR ]] && rm -rf "$XSESSION_DIR"
    XSESSION_DIR=
    if [[ -n $XSESSION_SAVED_DISPLAY ]]; then
        export DISPLAY=$XSESSION_SAVED_DISPLAY
    else
        unset DISPLAY
    fi
    XSESSION_SAVED_DISPLAY=
    return 0
}
