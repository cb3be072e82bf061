#!/usr/bin/env bash
# The game as a person meets it: the real SDL build on a 1920 x 1080 X screen with a window manager, driven with
# xdotool, looked at through screenshots. Then the game it recorded is replayed headless to the same state.
#   real_window_test.sh PATH/TO/vorlanex      (VORLANEX_KEEP=DIR keeps the screenshots and logs in DIR)
set -euo pipefail
game="$(realpath "$1")"

for tool in Xvfb xauth openbox xdotool import convert python3; do
    if ! command -v "$tool" > /dev/null; then
        echo "SKIPPED: the real-window test needs $tool (Debian packages xvfb xauth openbox xdotool imagemagick)"
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

display=90
while [ -e "/tmp/.X$display-lock" ]; do display=$((display + 1)); done
export DISPLAY=":$display"
Xvfb "$DISPLAY" -screen 0 1920x1080x24 -nolisten tcp > "$work/xvfb.log" 2>&1 &
pids+=($!)
for _ in $(seq 50); do xdotool getdisplaygeometry > /dev/null 2>&1 && break; sleep 0.1; done
openbox > "$work/openbox.log" 2>&1 &
pids+=($!)
sleep 1

# A channel statistic of a screen rectangle (W H X Y), 0..1: max, mean or the share of yellow pixels.
region() {
    convert "$1" -crop "$3x$4+$5+$6" +repage -format "%[fx:$2]" info:
}
yellow_share() {
    convert "$1" -crop "$2x$3+$4+$5" +repage -fx 'r>0.6 && g>0.6 && b<0.4' -format '%[fx:mean]' info:
}
above() { python3 -c "import sys; sys.exit(0 if float('$1') > float('$2') else 1)"; }
shot() { import -window root "$work/$1"; }
geometry() { xdotool getwindowgeometry "$win" | sed -n 's/ *Geometry: //p'; }
caption() { xdotool getwindowname "$win"; }
geometry_is() { [ "$(geometry)" = "$1" ]; }
caption_is() { [ "$(caption)" = "$1" ]; }
caption_is_not() { [ "$(caption)" != "$1" ]; }
wait_for() {   # wait_for DESCRIPTION COMMAND...: up to 5 s
    local what="$1"
    shift
    for _ in $(seq 50); do "$@" && return 0; sleep 0.1; done
    fail "$what (window $(geometry), caption $(caption))"
}

cd "$work"
export SDL_VIDEODRIVER=x11 SDL_AUDIODRIVER=dummy
# The game keeps its settings and maps in the player's folders: this run gets folders of its own.
export HOME="$work/home" XDG_CONFIG_HOME="$work/home/config" XDG_DATA_HOME="$work/home/data"
"$game" --seed 4 --record rec.txt --dump-state state.json > game.log 2>&1 &
gamepid=$!
pids+=($gamepid)
win="$(timeout 10 xdotool search --sync --onlyvisible --pid "$gamepid" | head -n 1)" || fail "no game window appeared"
xdotool windowactivate --sync "$win"
sleep 1.5

# Full screen: the 1024 x 768 picture scaled to 1440 x 1080 in the middle, black bars left and right.
shot title.png
geometry_is 1920x1080 || fail "full screen window is $(geometry)"
above "$(region title.png maxima 240 1080 0 0)" 0.02 && fail "left bar is not black"
above "$(region title.png maxima 240 1080 1680 0)" 0.02 && fail "right bar is not black"
above "$(region title.png mean 1440 1080 240 0)" 0.05 || fail "the title picture is black"
# The status line: yellow text at the top left of the picture.
above "$(yellow_share title.png 420 26 244 2)" 0.03 || fail "no yellow status line at the top left"
above "$(yellow_share title.png 420 26 1240 2)" 0.001 && fail "yellow where no status line belongs"

# Right click opens the difficulty menu; its third button (logical 512, 440) sets the difficulty.
xdotool mousemove 960 540 click 3
sleep 0.5
shot menu.png
# The three buttons sit below the screen centre, where the title shows its backdrop.
above "$(region menu.png mean 180 150 870 490)" "$(region title.png mean 180 150 870 490)" ||
    fail "the menu did not open"
xdotool mousemove 960 619 click 1
sleep 0.5

# A quick tap of Space (a few milliseconds) enters the battle.
xdotool key space
sleep 1

# Alt+Enter: a 1024 x 768 window, and back to full screen.
xdotool key alt+Return
wait_for "Alt+Enter did not make a 1024 x 768 window" geometry_is 1024x768
sleep 0.5

# Losing the focus pauses the game and says so in the caption.
xdotool windowminimize --sync "$win"
wait_for "no pause caption after the focus was lost" caption_is "Vorlanex [Pause]"
xdotool windowactivate --sync "$win"
wait_for "the caption stayed on pause" caption_is_not "Vorlanex [Pause]"
sleep 0.5
xdotool key alt+Return
wait_for "Alt+Enter did not return to full screen" geometry_is 1920x1080
sleep 0.5

# Alt+F4 ends the game with exit status 0 and the state written.
xdotool key alt+F4
status=0
timeout 10 tail --pid="$gamepid" -f /dev/null || fail "the game did not end on Alt+F4"
wait "$gamepid" || status=$?
[ "$status" -eq 0 ] || fail "exit status $status after Alt+F4"
[ -s state.json ] || fail "no state written at exit"
python3 - state.json << 'EOF' || fail "wrong state at exit"
import json, sys
state = json.load(open(sys.argv[1]))
assert state["globals"]["Difficulty"] == 3, state["globals"]["Difficulty"]
assert state["Scene"] == 2, state["Scene"]
EOF

# The recording of this game replays headless to the same state.
"$game" --headless --unpaced --input rec.txt --dump-state replay.json > replay.log 2>&1 || fail "replay failed"
cmp -s state.json replay.json || {
    diff <(python3 -m json.tool state.json) <(python3 -m json.tool replay.json) | head -n 20 >&2
    fail "the replay reached another state"
}
if [ -n "${VORLANEX_KEEP:-}" ]; then cp -r "$work" "$VORLANEX_KEEP"; fi
echo "real window: letterbox, status line, menu, tap, Alt+Enter, pause caption, Alt+F4 and replay passed"
