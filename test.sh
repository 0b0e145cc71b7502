#!/usr/bin/env bash
# Builds Kasumiro and runs every test headless: ./test.sh
set -euo pipefail
top="$(cd "$(dirname "$0")" && pwd)"
"$top/scripts/build.sh"
cd "$top/build"
QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j "$(nproc)"
