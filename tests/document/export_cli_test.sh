#!/bin/sh
# The export from a shell with no display at all: a 2 x 1 bitmap to JPEG, a missing input
# that fails with the program's message and leaves no output, names that are no UTF-8, a FIFO.
set -eu
program=$1
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
printf 'BM\076\0\0\0\0\0\0\0\066\0\0\0\050\0\0\0\002\0\0\0\001\0\0\0\001\0\030\0\0\0\0\0\010\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\377\0\0\0\0\377\0\0' >"$dir/in.bmp"
env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$program" --export "$dir/out.jpg" "$dir/in.bmp"
head -c 2 "$dir/out.jpg" | od -An -tx1 | grep -q 'ff d8'
if env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$program" --export "$dir/x.jpg" "$dir/missing.bmp" 2>"$dir/err"; then
  echo "a missing input was accepted" >&2
  exit 1
fi
grep -q 'ﾌｧｲﾙが見つかりません' "$dir/err"
test ! -e "$dir/x.jpg"
# File names are the system's bytes, UTF-8 or not.
bad=$(printf 'bad\377.bmp')
env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$program" --export "$dir/$bad" "$dir/in.bmp"
test -f "$dir/$bad"
test "$(ls "$dir" | grep -c '^bad')" = 1
# A FIFO in place of the input is refused at once, not waited on.
mkfifo "$dir/pipe.jpg"
if timeout 20 env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$program" --export "$dir/y.bmp" "$dir/pipe.jpg" 2>"$dir/err"; then
  echo "a FIFO was read as a picture" >&2
  exit 1
fi
grep -q 'ﾌｧｲﾙへのｱｸｾｽが拒否されました' "$dir/err"
