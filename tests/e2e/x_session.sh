# Sourced by the window tests: checks the X tools, makes a work folder that goes away at exit, and starts an
# X screen of size $x_screen (from display number $x_display on) with a window manager.
# Sets: work, pids, DISPLAY; defines fail, which keeps the work folder in $VORLANEX_KEEP when that is set, and
# the screenshot probes yellow_share and above.
for tool in "${x_tools[@]}"; do
    if ! command -v "$tool" > /dev/null; then
        echo "SKIPPED: this window test needs $tool (Debian packages xvfb xauth openbox xdotool imagemagick)"
        exit 77
    fi
done

work="$(mktemp -d)"
pids=()
cleanup() {
    for p in "${pids[@]}"; do kill "$p" 2> /dev/null || true; done
    rm -rf "$work"
}
trap cleanup EXIT
fail() {
    echo "FAILED: $*" >&2
    [ -f "$work/game.log" ] && sed 's/^/game: /' "$work/game.log" >&2
    if [ -n "${VORLANEX_KEEP:-}" ]; then cp -r "$work" "$VORLANEX_KEEP"; fi
    exit 1
}

display=$x_display
while [ -e "/tmp/.X$display-lock" ]; do display=$((display + 1)); done
export DISPLAY=":$display"
Xvfb "$DISPLAY" -screen 0 "${x_screen}x24" -nolisten tcp > "$work/xvfb.log" 2>&1 &
pids+=($!)
for _ in $(seq 50); do xdotool getdisplaygeometry > /dev/null 2>&1 && break; sleep 0.1; done
openbox > "$work/openbox.log" 2>&1 &
pids+=($!)
sleep 1

# The share of yellow pixels in a rectangle of a screenshot: FILE W H X Y.
yellow_share() {
    convert "$1" -crop "$2x$3+$4+$5" +repage -fx 'r>0.6 && g>0.6 && b<0.4' -format '%[fx:mean]' info:
}
above() { python3 -c "import sys; sys.exit(0 if float('$1') > float('$2') else 1)"; }
