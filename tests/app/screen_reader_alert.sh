#!/usr/bin/env bash
# A refused save as a screen reader hears it over AT-SPI: the real program on
# a virtual X display with accessibility on, a new card saved empty by keys
# alone, and the refusal found in the program's tree with the role alert.
#   screen_reader_alert.sh BIN_DIR
# Exits 77 (skipped) where the display, the keys or AT-SPI are missing.
set -uo pipefail
bin=$1
here=$(cd "$(dirname "$0")" && pwd)
for tool in Xvfb xdotool dbus-run-session /usr/bin/python3; do
  command -v "$tool" >/dev/null || { echo "no $tool"; exit 77; }
done
/usr/bin/python3 -c 'import pyatspi' 2>/dev/null || { echo "no pyatspi"; exit 77; }

if [[ -z ${TOVREN_UNDER_BUS:-} ]]; then
  TOVREN_UNDER_BUS=1 exec dbus-run-session -- "$0" "$@"
fi
home=$(mktemp -d)
export DISPLAY=:$(( 100 + RANDOM % 400 ))
Xvfb "$DISPLAY" -screen 0 1280x800x24 -nolisten tcp >/dev/null 2>&1 & xvfb=$!
trap 'kill $app $xvfb 2>/dev/null; wait 2>/dev/null; rm -rf "$home"' EXIT
app=
for _ in $(seq 1 50); do xdotool getmouselocation >/dev/null 2>&1 && break; sleep 0.1; done
cp "$bin/TND.dbx" "$home/"
QT_QPA_PLATFORM=xcb QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 "$bin/tovren" --home "$home" \
  >"$home/out.txt" 2>&1 & app=$!
win=$(xdotool search --sync --onlyvisible --pid "$app" 2>/dev/null | head -1)
[[ -n $win ]] || { echo "no window"; cat "$home/out.txt"; exit 1; }
xdotool windowfocus --sync "$win"
# Masters, Addresses; a new card; Save with neither name nor company.
for keys in alt+m a ctrl+n ctrl+s; do xdotool key "$keys"; sleep 0.4; done
heard=$(/usr/bin/python3 "$here/alerts.py" Tovren 10)
echo "$heard"
expected="alert: Save | You have to enter either Name of person or Company."
[[ $heard == "$expected"* ]] || { echo "expected: $expected..."; exit 1; }
