#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Takes the README's screenshots of the real program on a virtual X server
# (Xvfb), driving it from the keyboard with xdotool: the main window connected
# to the bundled panel simulator after reading the panel's parameters, the
# Setting dialog, a 2-digit tenant editor with two records typed in, and the
# journal, and the Site Book with one of its sites open for editing.
# Settings and the store go to a temporary home folder; the user's own are
# not touched. The site book and last month's visit to another site start
# as an earlier version's files, which the program brings into its store on
# its first start, as it does for a user who upgrades; the script makes sure
# they were brought in before it takes a picture.
#
#   ./scripts/screenshots.sh                      at 100%, into docs/screenshots/
#   ./scripts/screenshots.sh --scale 2 --out DIR  at 200%, into DIR
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$here/build}

scale=1
out=$here/docs/screenshots
while [ $# -gt 0 ]; do
    case "$1" in
        --scale) scale=$2; shift 2 ;;
        --out) out=$2; shift 2 ;;
        *) echo "usage: $0 [--scale FACTOR] [--out DIR]" >&2; exit 2 ;;
    esac
done

"$here/scripts/install-deps.sh" xvfb xdotool imagemagick
"$here/scripts/build.sh" velno velno-panel-sim velno-setport
mkdir -p "$out"

work=$(mktemp -d)
pids=()
cleanup() {
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
    wait 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT INT TERM

# Waits up to five seconds for a file to have content.
wait_for_file() {
    for _ in $(seq 50); do
        [ -s "$1" ] && return 0
        sleep 0.1
    done
    echo "Timed out waiting for $1" >&2
    exit 1
}

export HOME=$work/home XDG_RUNTIME_DIR=$work/runtime
unset XDG_CONFIG_HOME
mkdir -p "$HOME" "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"

data=$HOME/.local/share/Velno
journal=$data/journal
mkdir -p "$journal"
month=$(date -d "$(date +%Y-%m-15) -1 month" +%Y-%m)
cat >"$journal/$month.log" <<EOF
${month}-14T09:12:03 Oak Row * connected to port 2 (/dev/ttyUSB0)
${month}-14T09:12:09 Oak Row > PGM****
${month}-14T09:12:15 Oak Row > PRIPAR
${month}-14T09:13:40 Oak Row > PARDOT1 07
${month}-14T09:13:52 Oak Row > PARCMC ****
${month}-14T09:14:30 Oak Row > END
${month}-14T09:14:31 Oak Row * port closed
EOF

# A Full HD screen; the program scales itself by QT_SCALE_FACTOR.
Xvfb -displayfd 3 -screen 0 1920x1080x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
pids+=($!)
wait_for_file "$work/display"
export DISPLAY=:$(cat "$work/display") QT_QPA_PLATFORM=xcb QT_SCALE_FACTOR=$scale

cp "$here/tools/panel-sim/demo-state.txt" "$work/panel.txt"
"$build/tools/panel-sim/velno-panel-sim" --state "$work/panel.txt" >"$work/line" 2>"$work/sim.log" &
pids+=($!)
wait_for_file "$work/line"
"$build/tools/setport/velno-setport" 1 "$(head -n1 "$work/line")" >/dev/null

# A site book of three buildings, two of them used before.
mkdir -p "$HOME/.config/Velno"
cat >"$HOME/.config/Velno/sites.ini" <<'SITES'
[site1]
name=Harbour View 12
port=2
phone=5550142
setup=ATZ
notes="Panel in the lobby, left of the lift"
lastused=2024-05-02T09:30:00.000
[site2]
name=Linden Court
port=1
phone=5550187
setup=AT&F E0
notes=Key safe code from the caretaker
lastused=2024-05-03T14:05:00.000
[site3]
name=Mill Road 4
port=3
phone=
setup=
notes=Direct cable in the basement
SITES

"$build/src/velno" >"$work/velno.log" 2>&1 &
pids+=($!)
if ! main=$(timeout 30 xdotool search --sync --name 'Version 3\.0$' | head -n1); then
    echo "The main window did not appear:" >&2
    cat "$work/velno.log" >&2
    exit 1
fi
# Brought in: the store holds them, and the files are kept renamed.
if [ ! -s "$data/velno.sqlite" ] || [ ! -e "$HOME/.config/Velno/sites.ini.imported" ] \
    || [ ! -e "$journal/$month.log.imported" ]; then
    echo "The earlier site book and journal were not brought into the store:" >&2
    ls -la "$data" "$journal" "$HOME/.config/Velno" >&2
    exit 1
fi
sleep 1   # the window gives the first control the focus

keys() { xdotool key --delay 100 "$@"; sleep 0.5; }
type_text() { xdotool type --delay 50 "$1"; }
shot() { import -window "$1" "$out/$2"; echo "Wrote $out/$2"; }
dialog() { timeout 10 xdotool search --sync --onlyvisible --name '^Velno 6100 Management System$' | head -n1; }
# Without a window manager nobody gives the focus back when a dialog closes;
# the menus' access keys work only in the window that has it.
focus_main() { xdotool windowfocus --sync "$main"; }

# Port 1, Connect (no phone number: OK the reminder), the master code.
keys space Tab space
keys Return
focus_main
keys Tab
type_text 1234
keys Return
sleep 1
# RECEIVE, Parameters; then SEND, six Tabs on: Tenants, Events, Welcome Message,
# the port buttons, RECEIVE, SEND.
keys space space
sleep 1
keys Tab Tab Tab Tab Tab Tab space
shot "$main" main-window.png

# A modem setup string and a ByteCycle of 3 ms, shown but cancelled.
keys alt+s
type_text ATZ
keys Tab Down Down
shot "$(dialog)" setting-dialog.png
keys Escape
focus_main

# The Site Book, then its second site opened for editing, both cancelled.
keys alt+i s
book=$(timeout 10 xdotool search --sync --onlyvisible --name '^Site Book$' | head -n1)
keys Down
shot "$book" site-book.png
keys alt+e
shot "$(timeout 10 xdotool search --sync --onlyvisible --name '^Edit Site$' | head -n1)" site-editor.png
keys Escape Escape
focus_main

# Sites > Journal, then closed.
keys alt+i j
journal_window=$(timeout 10 xdotool search --sync --onlyvisible --name '^Journal$' | head -n1)
shot "$journal_window" journal.png
keys Escape
focus_main

keys alt+f n d
editor=$(dialog)
for record in "12 5551234 4321 1 Ann Lee" "14 5559876 1704 2 Bo Martin"; do
    read -r dir tel code door name <<<"$record"
    for field in "$dir" "$tel" "$code" "$door"; do
        type_text "$field"
        keys Return
    done
    keys ctrl+a
    type_text "$name"
    keys Return space
done
shot "$editor" tenant-editor.png
