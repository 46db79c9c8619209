# Shared by the end-to-end tests (sourced, not run): a private X server,
# a scratch working directory with generated images, waiting by polling,
# a screenshot at every step, and a teardown that leaves nothing running.
#
# A test calls e2e_begin NAME OUTPUT_DIR first. On failure the screenshots
# and program logs stay in OUTPUT_DIR/NAME and their paths are printed; on
# success the screenshots are removed (kept with E2E_KEEP_SHOTS=1).

set -euo pipefail
shopt -s inherit_errexit

E2E_TIMEOUT=${E2E_TIMEOUT:-60}      # seconds for any single wait
E2E_DIR=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)

OUT=
WORK=
XVFB_PID=
STEP_NO=0
STEP_NAME=start
PIDS=()
declare -gA LOG_OF=()     # the log file of each program we started, by pid

say() { printf '[%s] %s\n' "$(date +%T)" "$*"; }

fail() {
    printf 'FAIL (step %d, %s): %s\n' "$STEP_NO" "$STEP_NAME" "$*" >&2
    exit 1
}

e2e_begin() {
    local name=$1
    OUT=$2/$name
    rm -rf "$OUT"
    mkdir -p "$OUT/shots"
    for tool in Xvfb xdotool import convert python3; do
        command -v "$tool" >/dev/null || fail "$tool is missing (tools/setup.sh installs it)"
    done
    WORK=$(mktemp -d "${TMPDIR:-/tmp}/tessel-e2e.XXXXXX")
    trap e2e_end EXIT
    mkdir -m 700 "$WORK/xdg"
    export XDG_RUNTIME_DIR=$WORK/xdg
    # Settings, recovery copies and caches of this run only: never the user's,
    # never another run's.
    export XDG_CONFIG_HOME=$WORK/config XDG_DATA_HOME=$WORK/data XDG_CACHE_HOME=$WORK/cache
    export QT_QPA_PLATFORM=xcb
    export QT_QPA_PLATFORMTHEME=          # Qt's own file dialog, which xdotool can type into
    unset SESSION_MANAGER
    start_xvfb
}

e2e_end() {
    local status=$?
    set +e
    trap - EXIT
    if [ -n "$XVFB_PID" ] && [ "$status" -ne 0 ]; then
        snap "at-failure"
    fi
    local pid
    for pid in "${PIDS[@]}"; do
        kill "$pid" 2>/dev/null && wait "$pid" 2>/dev/null
    done
    if [ -n "$XVFB_PID" ]; then
        kill "$XVFB_PID" 2>/dev/null
        wait "$XVFB_PID" 2>/dev/null
    fi
    # In a sanitizer build a report may come from a program the test has
    # otherwise finished with.
    local reports
    reports=$(grep -l -E 'ERROR: (Address|Leak)Sanitizer|runtime error:' "$OUT"/*.log 2>/dev/null)
    if [ -n "$reports" ]; then
        echo "FAIL: sanitizer report in: $reports" >&2
        status=1
    fi
    if [ "$status" -ne 0 ]; then
        echo "Screenshots of every step:" >&2
        ls -1 "$OUT"/shots/*.png 2>/dev/null | sed 's/^/  /' >&2
        local log
        for log in "$OUT"/*.log; do
            [ -s "$log" ] || continue
            echo "---- last lines of $log" >&2
            tail -n 20 "$log" >&2
        done
        echo "Working directory kept: $WORK" >&2
    else
        [ -n "${E2E_KEEP_SHOTS:-}" ] || rm -rf "$OUT/shots"
        rm -rf "$WORK"
    fi
    exit "$status"
}

# Takes the first free display from 90 up. The server reports its display
# number on a pipe once it accepts clients; one that dies instead lost the
# number to another server started at the same moment, so try the next.
start_xvfb() {
    local n ready
    for n in $(seq 90 299); do
        [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] && continue
        ready=$WORK/display-$n
        : >"$ready"
        # A test may ask for a larger screen (E2E_SCREEN) or a denser one (E2E_DPI).
        # Without -noreset the server forgets its root window's properties
        # (Xft.dpi) whenever its last client leaves.
        Xvfb ":$n" -screen 0 "${E2E_SCREEN:-1280x1024x24}" ${E2E_DPI:+-dpi "$E2E_DPI"} \
            -noreset -nolisten tcp -displayfd 3 3>"$ready" \
            >"$OUT/xvfb.log" 2>&1 &
        XVFB_PID=$!
        local end=$((SECONDS + E2E_TIMEOUT))
        while kill -0 "$XVFB_PID" 2>/dev/null; do
            if [ -s "$ready" ]; then
                export DISPLAY=:$n
                say "Xvfb on $DISPLAY, process $XVFB_PID"
                return 0
            fi
            [ $SECONDS -lt $end ] || fail "Xvfb :$n did not start"
            sleep 0.1
        done
        wait "$XVFB_PID" 2>/dev/null || true
        XVFB_PID=
    done
    fail "no free X display between :90 and :299"
}

# Runs "$@" until it succeeds; fails the test after E2E_TIMEOUT seconds.
# The condition is a command, run afresh each time: pass a function, not an
# expression with $(...) in it, which would be expanded only once.
wait_until() {
    local what=$1
    shift
    local end=$((SECONDS + E2E_TIMEOUT))
    until "$@"; do
        [ $SECONDS -lt $end ] || fail "timed out after ${E2E_TIMEOUT}s waiting for $what"
        sleep 0.1
    done
}

# Starts a new step: a screenshot of the screen as the previous step left it.
step() {
    [ "$STEP_NO" -eq 0 ] || snap "$STEP_NAME"
    STEP_NO=$((STEP_NO + 1))
    STEP_NAME=$*
    say "step $STEP_NO: $STEP_NAME"
}

snap() {
    local slug
    slug=$(printf '%s' "$1" | tr -cs 'A-Za-z0-9' '-' | cut -c1-50)
    import -window root "$(printf '%s/shots/%02d-%s.png' "$OUT" "$STEP_NO" "$slug")" 2>/dev/null || true
}

# Starts a program from DIR with its output in OUT/NAME.log; sets LAST_PID.
start_program() {
    local name=$1 dir=$2
    shift 2
    (cd "$dir" && exec "$@") >"$OUT/$name.log" 2>&1 &
    LAST_PID=$!
    PIDS+=("$LAST_PID")
    LOG_OF[$LAST_PID]=$OUT/$name.log
}

# start_and_focus NAME DIR TITLE_REGEX COMMAND...: starts a program as
# start_program does, waits for its window with that title and focuses it;
# sets LAST_PID and LAST_WINDOW.
start_and_focus() {
    local name=$1 dir=$2 title=$3
    shift 3
    start_program "$name" "$dir" "$@"
    LAST_WINDOW=$(window_of "$LAST_PID" "$title")
    focus "$LAST_WINDOW"
}

# Waits for our ended child PID and fails unless it ended with status 0.
# LeakSanitizer's own stop-the-world tracer now and then crashes at exit ("Tracer
# caught signal"): that is the sanitizer runtime failing, not the program, and
# its leak check could not run. It is said, not failed; any report a sanitizer
# actually made still fails.
expect_clean_exit() {
    local pid=$1 what=$2 status=0 log=${LOG_OF[$1]:-}
    wait "$pid" || status=$?
    if [ "$status" -ne 0 ] && [ -n "$log" ] && grep -q '^Tracer caught signal' "$log" &&
        ! grep -Eq 'ERROR: (Address|Leak)Sanitizer|runtime error:' "$log"; then
        say "the leak check of $what could not run: the sanitizer's tracer crashed (see $log)"
        status=0
    fi
    [ "$status" -eq 0 ] || fail "$what ended with status $status"
}

# Also true for an ended child that is not yet reaped.
gone() { ! ps -o stat= -p "$1" 2>/dev/null | grep -qv Z; }

# Closes WINDOW of our child PID as a window manager would, with the program
# X11CLOSE, and expects the program to end with status 0.
close_program() {
    local pid=$1 window=$2
    "$X11CLOSE" "$window" || fail "cannot ask window $window to close"
    wait_until "process $pid to end" gone "$pid"
    expect_clean_exit "$pid" "process $pid"
    local kept=() p
    for p in "${PIDS[@]}"; do
        [ "$p" = "$pid" ] || kept+=("$p")
    done
    PIDS=("${kept[@]}")
}

# The first visible window of process PID whose title matches REGEX.
window_of() {
    local pid=$1 regex=$2 id
    id=$(timeout "$E2E_TIMEOUT" xdotool search --sync --all --onlyvisible --pid "$pid" --name "$regex" | head -n 1) ||
        fail "no window \"$regex\" of process $pid within ${E2E_TIMEOUT}s"
    [ -n "$id" ] || fail "no window \"$regex\" of process $pid"
    echo "$id"
}

window_gone() { ! xdotool search --onlyvisible --name "$1" >/dev/null 2>&1; }

visible_windows() { xdotool search --onlyvisible --pid "$1" 2>/dev/null | wc -l; }
windows_more_than() { [ "$(visible_windows "$1")" -gt "$2" ]; }
windows_exactly() { [ "$(visible_windows "$1")" -eq "$2" ]; }

title_is() { [ "$(xdotool getwindowname "$1" 2>/dev/null)" = "$2" ]; }

focus() { xdotool windowfocus --sync "$1"; }

click_at() { xdotool mousemove "$1" "$2" click 1; }

# highlighted_row X Y HEIGHT: the row (from Y) in the middle of the list line
# highlighted in the screen column X from Y down HEIGHT pixels; empty when
# none is. Row heights follow the font and the Qt version, so tests find the
# line on screen rather than compute it.
highlighted_row() {
    import -window root -crop "1x$3+$1+$2" -depth 8 rgb:- 2>/dev/null | od -An -v -tu1 -w3 |
        awk '$3 > $1 + 60 && $3 > 120 { if (!first) first = NR; last = NR } END { if (first) print int((first + last) / 2) - 1 }'
}

# "R G B" of the screen pixel at X Y.
pixel() { import -window root -crop "1x1+$1+$2" -depth 8 rgb:- 2>/dev/null | od -An -tu1 | xargs; }

# pixel_near X Y "R G B": true when the pixel is within 24 per channel of
# the colour; pixel_differs: true when it is not. Both are false when the
# screen cannot be read.
pixel_near() { pixel_compare "$@" near; }
pixel_differs() { pixel_compare "$@" differs; }
pixel_compare() {
    local x=$1 y=$2 want=$3 wanted=$4 r g b wr wg wb d near=near
    read -r r g b <<<"$(pixel "$x" "$y")"
    [ -n "${b:-}" ] || return 1
    read -r wr wg wb <<<"$want"
    for d in $((r - wr)) $((g - wg)) $((b - wb)); do
        [ "${d#-}" -le 24 ] || near=differs
    done
    [ "$near" = "$wanted" ]
}

# Picks TEXT in the combo box at X Y of process PID: opens its pop-up list,
# waits for it, types the entry's name and Return, and waits for it to close.
choose_in_combo() {
    local pid=$1 x=$2 y=$3 text=$4 before
    before=$(visible_windows "$pid")
    click_at "$x" "$y"
    wait_until "the pop-up list for \"$text\"" windows_more_than "$pid" "$before"
    xdotool type --delay 30 "$text"
    xdotool key Return
    wait_until "the pop-up list to close" windows_exactly "$pid" "$before"
}

# Replaces the text of the line edit at X Y.
set_field() {
    click_at "$1" "$2"
    xdotool key ctrl+a
    xdotool type --delay 30 "$3"
}

# Answers Qt's own file dialog titled TITLE of process PID with PATH: its
# file name field has the focus when it opens.
answer_file_dialog() {
    local pid=$1 title=$2 path=$3 dialog
    dialog=$(window_of "$pid" "^$title\$")
    focus "$dialog"
    xdotool type --delay 20 "$path"
    xdotool key Return
    wait_until "the \"$title\" dialog to close" window_gone "^$title\$"
}

# Solid-colour images for a working directory: the editor's interface images
# under assets/ and one texture per layer under textures/, in colours that
# screenshots can tell apart.
make_images() {
    local dir=$1 size
    mkdir -p "$dir/assets"
    for size in 16 32 48 64; do
        convert -size "${size}x${size}" xc:'rgb(40,60,90)' -fill none -stroke 'rgb(90,110,140)' \
            -draw "rectangle 0,0 $((size - 1)),$((size - 1))" -quality 100 "$dir/assets/bg${size}x${size}.jpg"
    done
    convert -size 32x32 xc:white "$dir/assets/pencil.png"
    convert -size 32x32 xc:white "$dir/assets/bucket.png"
    convert -size 64x64 xc:'rgb(255,230,0)' "$dir/assets/lamp.png"
    local layer name colour
    while read -r layer name colour; do
        mkdir -p "$dir/textures/$layer"
        convert -size 64x64 xc:"$colour" "$dir/textures/$layer/$name"
    done <<'EOF'
Ceil plaster.png rgb(230,230,200)
Floor stone.png rgb(30,60,220)
Wall brick.png rgb(220,30,30)
Door oak.png rgb(150,90,30)
Actor guard.png rgb(30,200,30)
Sprite barrel.png rgb(120,120,0)
Item medkit.png rgb(240,240,240)
EOF
}
