#!/bin/sh
# Runs a test program on a virtual X display of its own, so that it needs no screen. Without
# xvfb-run there is no such display: the test is skipped (exit 77).
if ! command -v xvfb-run >/dev/null 2>&1; then
    echo "xvfb-run is not installed: skipped"
    exit 77
fi
exec xvfb-run -a -s "-screen 0 640x480x24" env QT_QPA_PLATFORM=xcb "$@"
