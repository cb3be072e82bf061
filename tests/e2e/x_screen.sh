# Sourced by the real-window tests: the tools they need, a work folder removed at exit with every process they
# started, and a 1920 x 1080 X screen of their own with a window manager.
#   source x_screen.sh "the real-window test"     (exits 77, skipped, when a tool is missing)

for tool in Xvfb xauth openbox xdotool import convert python3; do
    if ! command -v "$tool" > /dev/null; then
        echo "SKIPPED: $1 needs $tool (Debian packages xvfb xauth openbox xdotool imagemagick)"
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

display=90
while [ -e "/tmp/.X$display-lock" ]; do display=$((display + 1)); done
export DISPLAY=":$display"
Xvfb "$DISPLAY" -screen 0 1920x1080x24 -nolisten tcp > "$work/xvfb.log" 2>&1 &
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
