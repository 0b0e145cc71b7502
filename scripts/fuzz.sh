#!/usr/bin/env bash
# Builds the fuzz targets with clang and runs each for a bounded time on its seed corpus:
#   scripts/fuzz.sh [seconds per target] [target ...]
# A crash, leak, hang or oversized allocation stops the run with the input saved under
# build-fuzz/findings/ and a non-zero exit.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-20}"
shift || true
scripts/setup.sh
CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DKASUMIRO_FUZZ=ON -DKASUMIRO_TESTS=OFF -DKASUMIRO_BENCH=OFF >/dev/null

all=(settings_fuzz shift_jis_fuzz layered_fuzz bmp_fuzz jpeg_fuzz png_fuzz export_fuzz recovery_fuzz)
targets=("${@:-${all[@]}}")
cmake --build build-fuzz -j "$(nproc)" --target fuzz_seeds "${targets[@]}"

seeds=build-fuzz/seeds
rm -rf "$seeds"
build-fuzz/fuzz/fuzz_seeds "$seeds"
mkdir -p build-fuzz/findings build-fuzz/corpus

passed=0
failed=0
for t in "${targets[@]}"; do
  corpus="build-fuzz/corpus/$t"
  mkdir -p "$corpus"
  dict=()
  [ -f "fuzz/dict/$t.dict" ] && dict=(-dict="fuzz/dict/$t.dict")
  # The export says why it refused an input; keep that out of the fuzzer's report.
  [ "$t" = export_fuzz ] && dict+=(-close_fd_mask=2)
  echo "== $t: ${seconds} s"
  if ! ASAN_OPTIONS=detect_leaks=1:allocator_may_return_null=1 \
      "build-fuzz/fuzz/$t" "$corpus" "$seeds/$t" "${dict[@]}" \
      -max_total_time="$seconds" -rss_limit_mb=2048 -malloc_limit_mb=1024 -timeout=10 \
      -artifact_prefix="build-fuzz/findings/$t-" -print_final_stats=1 2>"build-fuzz/$t.log"; then
    tail -n 40 "build-fuzz/$t.log"
    failed=$((failed + 1))
  else
    passed=$((passed + 1))
  fi
  grep -E "^(stat::number_of_executed_units|stat::peak_rss_mb)|cov:" "build-fuzz/$t.log" | tail -n 3
done
echo "fuzz: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
