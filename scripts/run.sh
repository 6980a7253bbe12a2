#!/usr/bin/env bash
# Installs what a Debian 12 machine lacks, builds the program with the libraries
# it loads (scripts/test.sh builds the tests and benchmarks) and starts it.
# The program reads the printers of the registry that RNTOOLS_PRINTERS names, or
# else the user's printers.ini; without either it finds the emulated printer.
# Without a display the program runs on a virtual one.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/setup.sh
rn_install_missing

cmake --preset default >/dev/null
# The program's target depends on the libraries it loads by name at run time.
cmake --build --preset default --target RN-Tools

program=build/default/bin/RN-Tools
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "run.sh: no display here, so RN-Tools runs on a virtual display (xvfb-run) that shows nothing; end it with Ctrl+C." >&2
  exec xvfb-run -a -s "-screen 0 1280x1024x24" "$program" "$@"
fi
exec "$program" "$@"
