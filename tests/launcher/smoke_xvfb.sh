#!/bin/sh
# Runs the real launcher on a private Xvfb display: Down, Down, Return must
# start Tessel/Tessel with Tessel/ as its working directory, and closing the
# menu must end the launcher with exit status 0.
# usage: smoke_xvfb.sh <runtime tree> <x11close program> <scratch folder>
set -u
dist=$1
closer=$2
work=$3

fail() {
    echo "FAIL: $*" >&2
    [ -f "$work/launcher.log" ] && sed 's/^/launcher: /' "$work/launcher.log" >&2
    exit 1
}

# Polls a condition about ten times a second for up to 30 seconds.
wait_for() {
    tries=0
    until eval "$1"; do
        tries=$((tries + 1))
        [ $tries -gt 300 ] && return 1
        sleep 0.1
    done
    return 0
}

# True while the process runs; an exited child not yet reaped shows as a zombie.
alive() {
    ps -o stat= -p "$1" 2>/dev/null | grep -qv Z
}

[ -x "$dist/launcher" ] || fail "no launcher in $dist; build the launcher target first"

rm -rf "$work"
mkdir -p "$work/tree/Tessel" "$work/tree/Halcyon" || fail "cannot create $work"
tree=$(cd "$work/tree" && pwd -P)
cp "$dist/launcher" "$dist"/*.png "$dist"/*.wav "$tree/" || fail "cannot copy the runtime tree"
[ -f "$dist/video.wmv" ] && cp "$dist/video.wmv" "$tree/"

# Stand-in editor: records where it was started, then ends.
cat > "$tree/Tessel/Tessel" <<'STANDIN'
#!/bin/sh
pwd -P > ../editor-started.part && mv ../editor-started.part ../editor-started
STANDIN
chmod +x "$tree/Tessel/Tessel"

xvfb_pid=""
launcher_pid=""
cleanup() {
    [ -n "$launcher_pid" ] && kill "$launcher_pid" 2>/dev/null
    if [ -n "$xvfb_pid" ]; then
        kill "$xvfb_pid" 2>/dev/null
        wait "$xvfb_pid" 2>/dev/null
    fi
}
trap cleanup EXIT
trap 'exit 1' INT TERM HUP

unset QT_QPA_PLATFORM
for number in $(seq 91 160); do
    [ -e "/tmp/.X$number-lock" ] || [ -e "/tmp/.X11-unix/X$number" ] && continue
    Xvfb ":$number" -screen 0 1024x768x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
    xvfb_pid=$!
    export DISPLAY=":$number"
    if wait_for 'xdotool getmouselocation >/dev/null 2>&1 || ! alive $xvfb_pid' &&
        alive "$xvfb_pid"; then
        break
    fi
    # Lost the race for this number to another server; try the next one.
    wait "$xvfb_pid" 2>/dev/null
    xvfb_pid=""
done
[ -n "$xvfb_pid" ] || fail "could not start Xvfb"

(cd "$tree" && exec ./launcher) >"$work/launcher.log" 2>&1 &
launcher_pid=$!

window=$(timeout 30 xdotool search --sync --onlyvisible --name 'Halcyon - Lumen 2021' | head -n 1)
[ -n "$window" ] || fail "the launcher window did not appear"
xdotool windowfocus --sync "$window" || fail "cannot focus the launcher window"
import -window root "$work/menu.png" || echo "note: no screenshot taken" >&2

xdotool key --delay 150 Down Down Return
wait_for '[ -f "$tree/editor-started" ]' || fail "Return on the third entry did not start Tessel/Tessel"
started_in=$(cat "$tree/editor-started")
[ "$started_in" = "$tree/Tessel" ] || fail "the editor ran in '$started_in', expected '$tree/Tessel'"
import -window root "$work/menu-after-return.png" || echo "note: no screenshot taken" >&2

alive "$launcher_pid" || fail "the launcher ended after starting the editor"
"$closer" "$window" || fail "cannot ask the launcher window to close"
wait_for '! alive $launcher_pid' || fail "the launcher did not close"
wait "$launcher_pid"
status=$?
launcher_pid=""
[ "$status" -eq 0 ] || fail "the launcher exited with status $status"
echo "PASS: editor started in $started_in, launcher closed with status 0"
