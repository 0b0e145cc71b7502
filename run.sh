#!/usr/bin/env bash
# Builds Kasumiro and starts it, optionally with a picture to open: ./run.sh [picture]
set -euo pipefail
top="$(cd "$(dirname "$0")" && pwd)"
"$top/scripts/build.sh"

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "No display found: Kasumiro runs on a virtual screen (Xvfb)."
  exec xvfb-run -a -s "-screen 0 1280x1024x24" "$top/build/kasumiro" "$@"
fi
exec "$top/build/kasumiro" "$@"
