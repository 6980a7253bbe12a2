#!/usr/bin/env bash
# Builds RN-Tools and runs every test, first as an optimised build, then under
# AddressSanitizer and UndefinedBehaviorSanitizer; then runs every fuzz target briefly
# (FUZZ_SECONDS, 20 s each), so that they keep building and stay clean.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/setup.sh
rn_install_missing

export QT_QPA_PLATFORM=offscreen
status=0
for preset in default asan; do
  echo "=== $preset ==="
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset"
  ctest --preset "$preset" || status=1
done
echo "=== fuzz ==="
bash scripts/fuzz.sh "${FUZZ_SECONDS:-20}" || status=1
exit $status
