#!/usr/bin/env bash
# The program as a person uses it: a real window on a virtual X display, with
# a window manager, driven by keystrokes and one click, in German. Starts with
# a file named on the command line, looks into the File menu's Open dialog,
# edits one value in the tree, undoes and redoes the edit, saves with the
# standard shortcut, quits from the File menu, and checks the file the program
# wrote; then JSON Lines and JSON with comments, each opened and saved.
# First, --version, --help and two files named at once.
# usage: tst_realwindow.sh PROGRAM VERSION
set -euo pipefail

program=$1
version=$2
for tool in Xvfb xdotool openbox xprop; do
    command -v "$tool" > /dev/null || { echo "FAIL: $tool is missing (scripts/install-deps)"; exit 1; }
done

work=$(mktemp -d)
pids=()
cleanup() {
    for pid in "${pids[@]}"; do
        kill "$pid" 2> /dev/null || true
    done
    for pid in "${pids[@]}"; do
        wait "$pid" 2> /dev/null || true
    done
    rm -rf "$work"
}
trap cleanup EXIT

fail() {
    echo "FAIL: $*"
    exit 1
}

# Waits up to $1 seconds for the command after it to succeed.
wait_for() {
    local deadline=$((SECONDS + $1))
    shift
    until "$@"; do
        [ "$SECONDS" -lt "$deadline" ] || return 1
        sleep 0.1
    done
}

# The X server picks a free display itself and writes its number to us.
mkfifo "$work/display"
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset 3> "$work/display" 2> "$work/xvfb.log" &
pids+=($!)
read -r -t 30 number < "$work/display" || fail "the X server did not start: $(cat "$work/xvfb.log")"
export DISPLAY=":$number"
wait_for 30 xprop -root > /dev/null 2>&1 || fail "no connection to the X server"

# Started only once the window manager runs: a window mapped while it is
# still coming up may stay unmapped.
openbox --sm-disable > "$work/openbox.log" 2>&1 &
pids+=($!)
wm_running() {
    xprop -root _NET_SUPPORTING_WM_CHECK 2> /dev/null | grep -q 'window id'
}
wait_for 30 wm_running || fail "the window manager did not start: $(cat "$work/openbox.log")"

export XDG_CONFIG_HOME="$work/config"
export QT_QPA_PLATFORM=xcb
# A German user: start-up installs the translation the environment asks for.
unset LANGUAGE LC_ALL LC_MESSAGES
export LANG=de_DE.UTF-8

# Enough rows to fill the tree, so that a click anywhere in it meets a row.
file="$work/doc.json"
printf '%s' '{"name":"old","count":3,"list":[' "$(seq -s , 0 59)" ']}' > "$file"

# Printing needs no display (over SSH, in a container).
[ "$(env -u DISPLAY "$program" --version)" = "marbletrellis $version" ] \
    || fail "--version: $(env -u DISPLAY "$program" --version 2>&1)"
help=$(env -u DISPLAY "$program" --help)
grep -q '^Aufruf: .*marbletrellis \[Optionen\] \[DATEI\]$' <<< "$help" \
    && grep -qx 'JSON-Dokumente als Baum ansehen, durchsuchen und bearbeiten.' <<< "$help" \
    || fail "--help: $help"
if "$program" a.json b.json > /dev/null 2> "$work/two.log" \
    || ! grep -qx 'Es kann nur eine Datei auf einmal geöffnet werden.' "$work/two.log"; then
    fail "two files named: $(cat "$work/two.log")"
fi

"$program" "$file" > "$work/program.log" 2>&1 &
app=$!
pids+=("$app")

# The id of a shown window titled exactly $1 (xdotool's search ignores case).
shown_window() {
    local id
    # xdotool's patterns take no letters beyond ASCII: it looks for the name's
    # ASCII beginning, and the name is compared whole.
    for id in $(xdotool search --onlyvisible --name "^${1%%[^ -~]*}" 2> /dev/null); do
        if [ "$(xdotool getwindowname "$id")" = "$1" ]; then
            echo "$id"
            return 0
        fi
    done
    return 1
}
title() {
    xdotool getwindowname "$window" 2> /dev/null
}
title_is() {
    [ "$(title)" = "$1" ]
}
# Keystrokes go to the window that has the focus, as they do for a person.
keys() {
    xdotool key --clearmodifiers --delay 50 "$@"
}

window=$(wait_for 30 shown_window "Marbletrellis - $file") \
    || fail "no main window with the file: $(cat "$work/program.log")"
wait_for 30 timeout 5 xdotool windowactivate --sync "$window" 2> /dev/null \
    || fail "the window never became active"

# Datei, Öffnen... (File, Open...): the mnemonics of the translated menu.
keys alt+d f
dialog=$(wait_for 30 shown_window 'JSON-Datei öffnen') || fail "no German file dialog"
wait_for 30 timeout 5 xdotool windowactivate --sync "$dialog" 2> /dev/null \
    || fail "the file dialog never became active"
keys Escape
wait_for 30 eval '! shown_window "JSON-Datei öffnen" > /dev/null' || fail "the file dialog stayed open"
wait_for 30 timeout 5 xdotool windowactivate --sync "$window" 2> /dev/null \
    || fail "the window never became active again"

# The arrow keys move between rows but, with whole rows selected, not between
# columns: a click in the Value column chooses it. Then from the first row
# (the top object) down to "name" and the platform's edit key.
xdotool mousemove --window "$window" 700 400 click 1
keys Home Down F2 ctrl+a
xdotool type --delay 20 'new value'
keys Return
wait_for 30 title_is "Marbletrellis - $file*" || fail "title after the edit: $(title)"
# Undo by its shortcut goes back to the file as opened; Redo from the Edit
# menu (Bearbeiten, Wiederholen) makes the edit again.
keys ctrl+z
wait_for 30 title_is "Marbletrellis - $file" || fail "title after undoing: $(title)"
keys alt+b h
wait_for 30 title_is "Marbletrellis - $file*" || fail "title after redoing: $(title)"
keys ctrl+s
wait_for 30 title_is "Marbletrellis - $file" || fail "title after saving: $(title)"

# Datei, Beenden (File, Exit).
keys alt+d b
wait_for 30 eval '! kill -0 "$app" 2> /dev/null' || fail "the program did not quit"
wait "$app" || fail "the program ended with status $?: $(cat "$work/program.log")"

expected=$(printf '%s\n' '{' '    "name": "new value",' '    "count": 3,' '    "list": ['
    seq -f '        %g,' 0 58
    printf '%s\n' '        59' '    ]' '}')
[ "$(cat "$file")" = "$expected" ] || fail "saved file:
$(cat "$file")"
# The command substitutions above drop one final newline: the writer adds none.
[ "$(tail -c 1 "$file")" = "}" ] || fail "the saved file ends with a newline"
[ -f "$XDG_CONFIG_HOME/Marbletrellis/Marbletrellis.conf" ] || fail "no settings written on closing"

# JSON Lines and JSON with comments, each opened and saved: the lines come
# back compact, one a line, whatever the indenting; saving over comments asks
# first, and its default keeps the file.
run_on() {
    "$program" "$1" > "$work/program.log" 2>&1 &
    app=$!
    pids+=("$app")
    window=$(wait_for 30 shown_window "Marbletrellis - $1") \
        || fail "no main window with $1: $(cat "$work/program.log")"
    wait_for 30 timeout 5 xdotool windowactivate --sync "$window" 2> /dev/null \
        || fail "the window with $1 never became active"
}
quit() {
    keys alt+d b
    wait_for 30 eval '! kill -0 "$app" 2> /dev/null' || fail "the program did not quit"
    wait "$app" || fail "the program ended with status $?: $(cat "$work/program.log")"
}
file_is() {
    [ "$(cat "$1")" = "$2" ]
}

lines="$work/log.jsonl"
printf '%s\n' '{"n": 1, "tags": ["a"]}' '' '{"n": 2}' > "$lines"
run_on "$lines"
keys ctrl+s
wait_for 30 file_is "$lines" "$(printf '%s\n' '{"n":1,"tags":["a"]}' '{"n":2}')" \
    || fail "saved JSON Lines:
$(cat "$lines")"
[ "$(tail -c 1 "$lines" | od -An -c | tr -d ' ')" = '\n' ] || fail "the last line has no line break"
quit

settings="$work/settings.jsonc"
commented='// editor
{"tabSize": 4, /* wide */ "rulers": [80, 120,],}'
printf '%s\n' "$commented" > "$settings"
run_on "$settings"
keys ctrl+s
wait_for 30 shown_window 'Speichern' > /dev/null || fail "no question before dropping the comments"
keys Return
wait_for 30 eval '! shown_window "Speichern" > /dev/null' || fail "the question stayed open"
file_is "$settings" "$commented" || fail "the comments went although the question was cancelled"
keys ctrl+s
wait_for 30 shown_window 'Speichern' > /dev/null || fail "no question the second time"
keys shift+Tab space
wait_for 30 file_is "$settings" "$(printf '%s\n' '{' '    "tabSize": 4,' '    "rulers": [' '        80,' '        120' '    ]' '}')" \
    || fail "saved JSON with comments:
$(cat "$settings")"
quit

echo "PASS: started with a file, edited, saved and quit through a real window; JSON Lines and JSON with comments saved"
