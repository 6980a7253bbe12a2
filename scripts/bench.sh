#!/usr/bin/env bash
# Builds RN-Tools optimised and runs every benchmark (build/default/bin/bench_*), each
# printing its figures: medians with min and max, ratios measured side by side in one run.
# Then the allocations per exchange, which a test of the normal suite counts. Windows are
# shown on a virtual X display when there is none (offscreen without xvfb-run).
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/setup.sh
rn_install_missing

cmake --preset default >/dev/null
cmake --build --preset default -j4 >/dev/null
bin=build/default/bin
if [ -z "${XDG_RUNTIME_DIR:-}" ]; then
  XDG_RUNTIME_DIR="$(mktemp -d)"
  export XDG_RUNTIME_DIR
fi

display=()
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  if command -v xvfb-run >/dev/null; then
    display=(xvfb-run -a -s "-screen 0 1280x1024x24")
  else
    export QT_QPA_PLATFORM=offscreen
  fi
fi

status=0
for bench in "$bin"/bench_*; do
  echo "=== $(basename "$bench") ==="
  "${display[@]}" "$bench" || status=1
done

echo "=== allocations per exchange (emulated printer, real status library and monitor) ==="
if "$bin/test_status_allocations" --gtest_brief=1 >/dev/null 2>&1; then
  echo "  every kind of exchange the program makes: 0 allocations  target 0: met"
else
  "$bin/test_status_allocations" | grep -B2 -A3 "Which is" || true
  echo "  target 0: NOT MET"
  status=1
fi
exit $status
