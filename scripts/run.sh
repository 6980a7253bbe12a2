#!/usr/bin/env bash
# Installs what a Debian 12 machine lacks, builds RN-Tools and starts it on the
# emulated printer. RNTOOLS_PRINTERS=<file> starts it on the printers of that
# registry instead. Without a display the program runs on a virtual one.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/setup.sh
rn_install_missing

cmake --preset default >/dev/null
cmake --build --preset default

# A registry file that does not exist installs the one emulated printer.
export RNTOOLS_PRINTERS="${RNTOOLS_PRINTERS:-$PWD/build/default/no-printers.ini}"
program=build/default/bin/RN-Tools
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  exec xvfb-run -a -s "-screen 0 1280x1024x24" "$program" "$@"
fi
exec "$program" "$@"
