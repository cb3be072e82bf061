#!/usr/bin/env bash
# The map editor as a player meets it: the real SDL build in a window on an X screen with a window manager.
# F2 opens the editor, a drag paints cells, Ctrl+S saves into the player's maps folder, T test-plays the map
# and Esc comes back; the saved file is checked with vorlanex-mapc and the screens are looked at.
#   editor_window_test.sh PATH/TO/vorlanex      (VORLANEX_KEEP=DIR keeps the screenshots and logs in DIR)
set -euo pipefail
game="$(realpath "$1")"
mapc="$(dirname "$game")/vorlanex-mapc"

for tool in Xvfb openbox xdotool import convert; do
    if ! command -v "$tool" > /dev/null; then
        echo "SKIPPED: the editor window test needs $tool (Debian packages xvfb openbox xdotool imagemagick)"
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

display=120
while [ -e "/tmp/.X$display-lock" ]; do display=$((display + 1)); done
export DISPLAY=":$display"
Xvfb "$DISPLAY" -screen 0 1280x1024x24 -nolisten tcp > "$work/xvfb.log" 2>&1 &
pids+=($!)
for _ in $(seq 50); do xdotool getdisplaygeometry > /dev/null 2>&1 && break; sleep 0.1; done
openbox > "$work/openbox.log" 2>&1 &
pids+=($!)
sleep 1

cd "$work"
export SDL_VIDEODRIVER=x11 SDL_AUDIODRIVER=dummy
export HOME="$work/home" XDG_CONFIG_HOME="$work/home/config" XDG_DATA_HOME="$work/home/data"
"$game" --windowed --seed 3 > game.log 2>&1 &
gamepid=$!
pids+=($gamepid)
win="$(timeout 10 xdotool search --sync --onlyvisible --pid "$gamepid" | head -n 1)" || fail "no game window appeared"
xdotool windowactivate --sync "$win"
sleep 1.5
at() { xdotool mousemove --window "$win" "$1" "$2"; sleep 0.05; }
shot() { import -window "$win" "$work/$1"; }

xdotool key F2
sleep 0.5
xdotool key Tab   # the palette away, the whole battlefield free
# Layer 1, the first tile of the palette: a drag along row 5 from column 2 to column 9, then one cell clicked.
at 80 176
xdotool mousedown 1
for x in 112 176 240 304; do at "$x" 176; done
xdotool mouseup 1
at 500 400
xdotool click 1
sleep 0.3
shot painted.png
xdotool keydown ctrl
sleep 0.2
xdotool key s
sleep 0.2
xdotool keyup ctrl
map="$HOME/data/vorlanex/maps/map001.map"
for _ in $(seq 30); do [ -s "$map" ] && break; sleep 0.1; done
[ -s "$map" ] || fail "no map saved in the player's maps folder"
"$mapc" dump "$map" > dump.txt || fail "the saved map does not decompile"
row=$(sed -n '/^layer 1/,/^layer 2/p' dump.txt | sed -n '7p')
[ "${row:2:8}" != "........" ] || fail "the dragged cells are not in the saved map: '$row'"

xdotool key t
sleep 2
shot battle.png
xdotool key Escape
sleep 0.8
shot back.png
# Back in the editor: the status line at the bottom is the editor's, the drawn cells are still there.
kill -0 "$gamepid" || fail "the game ended"
diff_battle=$(compare -metric AE painted.png battle.png null: 2>&1 || true)
convert painted.png -crop 1024x700+0+0 +repage painted-field.png
convert back.png -crop 1024x700+0+0 +repage back-field.png
diff_back=$(compare -metric AE -fuzz 10% painted-field.png back-field.png null: 2>&1 || true)
[ "${diff_battle%%.*}" -gt 1000 ] || fail "test-play showed no battle ($diff_battle pixels differ)"
[ "${diff_back%%.*}" -lt 20000 ] || fail "the editor did not come back as it was ($diff_back pixels differ)"
xdotool key Escape
sleep 0.3
xdotool key alt+F4
for _ in $(seq 50); do kill -0 "$gamepid" 2> /dev/null || break; sleep 0.1; done
if [ -n "${VORLANEX_KEEP:-}" ]; then cp -r "$work" "$VORLANEX_KEEP"; fi
echo "editor window test passed"
