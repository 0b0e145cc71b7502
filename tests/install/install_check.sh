#!/usr/bin/env bash
# Installs the build into a temporary DESTDIR and checks that the desktop finds everything
# where the desktop specifications put it: the entry, the icons, the file type and the Readme.
# Usage: install_check.sh BUILD-FOLDER
set -euo pipefail
build="$1"
stage="$(mktemp -d)"
trap 'rm -rf "$stage"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

DESTDIR="$stage" cmake --install "$build" --prefix /usr/local >/dev/null
root="$stage/usr/local"

for f in bin/kasumiro share/kasumiro/Readme.txt share/applications/kasumiro.desktop \
         share/mime/packages/kasumiro.xml; do
  [ -f "$root/$f" ] || fail "$f is not installed"
done
[ -x "$root/bin/kasumiro" ] || fail "bin/kasumiro is not executable"

# Each icon is a PNG of its folder's size (width and height in the header's IHDR chunk).
for size in 16 22 24 32 48 64 128 256; do
  icon="$root/share/icons/hicolor/${size}x${size}/apps/kasumiro.png"
  if [ ! -f "$icon" ]; then fail "no ${size}x${size} icon"; continue; fi
  read -r w0 w1 w2 w3 h0 h1 h2 h3 < <(od -An -tu1 -j16 -N8 "$icon")
  [ $(((w0 << 24) + (w1 << 16) + (w2 << 8) + w3)) -eq "$size" ] &&
    [ $(((h0 << 24) + (h1 << 16) + (h2 << 8) + h3)) -eq "$size" ] ||
    fail "the ${size}x${size} icon has another size"
done

entry="$root/share/applications/kasumiro.desktop"
desktop-file-validate "$entry" || fail "desktop-file-validate refuses the entry"
for line in 'Exec=kasumiro %f' 'Icon=kasumiro' 'Categories=Graphics;2DGraphics;RasterGraphics;' \
            'MimeType=image/x-kasumiro;image/bmp;image/jpeg;image/png;'; do
  grep -qxF "$line" "$entry" || fail "the entry lacks $line"
done
grep -q '^Name\[ja\]=' "$entry" || fail "the entry has no Japanese name"

package="$root/share/mime/packages/kasumiro.xml"
xmllint --noout "$package" || fail "xmllint refuses the MIME package"
# The database built from the package knows the name pattern and the header.
update-mime-database "$root/share/mime" || fail "update-mime-database refuses the package"
grep -qxF '50:image/x-kasumiro:*.tav' "$root/share/mime/globs2" || fail "no *.tav glob"
grep -qa 'image/x-kasumiro' "$root/share/mime/magic" || fail "no magic rule"
grep -qxF '50:image/png:*.png' "$root/share/mime/globs2" || fail "no *.png glob"
grep -qa 'image/png' "$root/share/mime/magic" || fail "no PNG magic rule"

if [ "$failures" -ne 0 ]; then
  echo "$failures install checks failed"
  exit 1
fi
echo "install checks passed"
