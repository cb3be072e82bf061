#!/usr/bin/env bash
# Network play as two people meet it: two real game windows on one X screen with a window manager, one hosting
# and one joining over 127.0.0.1, each driven with xdotool in turn. Both must end in the same state.
#   netplay_window_test.sh PATH/TO/vorlanex      (VORLANEX_KEEP=DIR keeps the screenshots and logs in DIR)
set -euo pipefail
game="$(realpath "$1")"

for tool in Xvfb xauth openbox xdotool import convert python3; do
    if ! command -v "$tool" > /dev/null; then
        echo "SKIPPED: the network window test needs $tool (Debian packages xvfb xauth openbox xdotool imagemagick)"
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
    for log in "$work"/host.log "$work"/guest.log; do [ -f "$log" ] && sed "s|^|$(basename "$log" .log): |" "$log" >&2; done
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

port="$(python3 -c 'import socket; s = socket.socket(socket.AF_INET, socket.SOCK_DGRAM); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')"
yellow_share() {   # FILE W H X Y: the share of yellow pixels in a rectangle
    convert "$1" -crop "$2x$3+$4+$5" +repage -fx 'r>0.6 && g>0.6 && b<0.4' -format '%[fx:mean]' info:
}
above() { python3 -c "import sys; sys.exit(0 if float('$1') > float('$2') else 1)"; }
window_of() { timeout 10 xdotool search --sync --onlyvisible --pid "$1" | head -n 1; }
hold() {   # WINDOW KEY SECONDS
    xdotool windowactivate --sync "$1"
    xdotool keydown "$2"
    sleep "$3"
    xdotool keyup "$2"
}

cd "$work"
export SDL_VIDEODRIVER=x11 SDL_AUDIODRIVER=dummy
frames=600
"$game" --windowed --host "$port" --seed 9 --frames "$frames" --dump-state host.json --record host.rec > host.log 2>&1 &
host=$!
pids+=($host)
hostwin="$(window_of "$host")" || fail "no host window appeared"
xdotool windowmove --sync "$hostwin" 0 0
sleep 1
import -window "$hostwin" waiting.png
above "$(yellow_share waiting.png 500 26 0 2)" 0.03 || fail "the host shows no waiting line"

"$game" --windowed --join "127.0.0.1:$port" --frames "$frames" --dump-state guest.json > guest.log 2>&1 &
guest=$!
pids+=($guest)
guestwin="$(window_of "$guest")" || fail "no guest window appeared"
xdotool windowmove --sync "$guestwin" 896 300
sleep 1

# The host starts the battle; each player drives a little; the guest opens the difficulty menu and takes the
# third difficulty, which both games take.
hold "$hostwin" space 0.1
sleep 1
hold "$hostwin" Up 0.8
hold "$guestwin" Left 0.8
hold "$guestwin" space 0.3
xdotool windowactivate --sync "$guestwin"
xdotool mousemove --window "$guestwin" 20 20 click 3
sleep 0.5
xdotool mousemove --window "$guestwin" 512 440 click 1
sleep 0.5
import -window "$guestwin" guest.png
hold "$hostwin" Right 0.5

for p in "$host" "$guest"; do
    timeout 40 tail --pid="$p" -f /dev/null || fail "a game did not end after $frames frames"
done
wait "$host" || fail "the host ended with status $?"
wait "$guest" || fail "the guest ended with status $?"
python3 - host.json guest.json << 'EOF2' || fail "the two games ended apart"
import json, sys
host, guest = (json.load(open(name)) for name in sys.argv[1:])
assert host["frame"] == guest["frame"], (host["frame"], guest["frame"])
assert host["digest"] == guest["digest"], (host["digest"], guest["digest"])
assert host["globals"]["Difficulty"] == 3, host["globals"]["Difficulty"]
assert host["Scene"] == 2, host["Scene"]
EOF2
# The host's recording replays headless to the same state.
"$game" --headless --unpaced --input host.rec --dump-state replay.json > replay.log 2>&1 || fail "replay failed"
python3 -c "import json,sys; a,b=(json.load(open(n)) for n in sys.argv[1:]); sys.exit(a['digest']!=b['digest'])" \
    host.json replay.json || fail "the replay reached another state"
if [ -n "${VORLANEX_KEEP:-}" ]; then cp -r "$work" "$VORLANEX_KEEP"; fi
echo "network windows: waiting line, two windows in step, a shared menu click and the replay passed"
