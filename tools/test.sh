#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test: first the normal build, then the
# tests again under AddressSanitizer and UndefinedBehaviorSanitizer.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
jobs=$(nproc)

"$top/tools/setup.sh" "$top/build"
(cd "$top/build" && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j "$jobs")

"$top/tools/setup.sh" "$top/build-asan" -DVANTAR_SANITIZE=ON -DVANTAR_BUILD_BENCH=OFF -DCMAKE_BUILD_TYPE=Debug
(cd "$top/build-asan" && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j "$jobs" -LE no-sanitizer)
echo "All tests passed."
