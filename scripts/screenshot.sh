#!/usr/bin/env bash
# Takes the README's screenshot: the program on a virtual screen (Xvfb) with a fresh start's
# windows (main window, layer window, loupe) and one brush stroke, saved as docs/screenshot.png.
# Needs xvfb-run and xdotool (scripts/setup.sh) and ImageMagick's import and convert.
set -euo pipefail
top="$(cd "$(dirname "$0")/.." && pwd)"
for tool in import convert; do
  command -v "$tool" >/dev/null || { echo "needs ImageMagick ($tool): apt-get install imagemagick" >&2; exit 1; }
done
"$top/scripts/build.sh" >/dev/null

# A folder of its own, so that no stored settings or window places change the picture.
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
cp "$top/build/kasumiro" "$top/resources/Readme.txt" "$work/"
mkdir -p "$top/docs"

cat > "$work/take.sh" <<'INNER'
#!/usr/bin/env bash
set -euo pipefail
cd "$(dirname "$0")"
./kasumiro &
program=$!
for _ in $(seq 50); do
  xdotool search --name "Kasumiro" >/dev/null 2>&1 && break
  sleep 0.2
done
sleep 1.5
# The design placement: the paint surface starts right of the 81-pixel tool panel, below the
# menu bar. One slow, curving stroke, then its tail after the release.
xdotool mousemove 360 190
xdotool mousedown 1
for i in $(seq 0 40); do
  xdotool mousemove $((360 + i * 6)) $((190 + i * 5 - (i * i) / 12))
  sleep 0.03
done
xdotool mouseup 1
for i in $(seq 1 10); do
  xdotool mousemove $((600 + i * 4)) $((257 + i * 2))
  sleep 0.03
done
sleep 1
import -window root shot.png
kill "$program"
wait "$program" 2>/dev/null || true
INNER
chmod +x "$work/take.sh"
xvfb-run -a -s "-screen 0 1280x1024x24" "$work/take.sh" 2>/dev/null
convert "$work/shot.png" -crop 720x505+220+105 +repage "$top/docs/screenshot.png"
echo "docs/screenshot.png renewed"
