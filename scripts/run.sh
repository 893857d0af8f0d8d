#!/usr/bin/env bash
# Installs what is missing, builds, and starts Tovren on the address book
# shipped beside it (build/bin/TND.dbx). Arguments go to the program, e.g.
#   scripts/run.sh --home ~/addresses
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh"
if [[ -z ${DISPLAY:-} && -z ${WAYLAND_DISPLAY:-} && -z ${QT_QPA_PLATFORM:-} ]]; then
  echo "run: no display found; starting on Qt's offscreen platform" >&2
  export QT_QPA_PLATFORM=offscreen
fi
exec "$root/build/bin/tovren" "$@"
