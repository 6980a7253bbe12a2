#!/usr/bin/env bash
# scripts/run.sh as a new user meets it, with cmake, xvfb-run, dpkg-query and the
# program replaced by stand-ins that record what they were asked: it builds only
# the program, leaves the printer registry to the program unless the user names
# one, and says on standard error when it starts on a virtual display.
# Usage: test_run_script.sh <source folder>
set -uo pipefail
source_dir=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

repo=$work/repo
mkdir -p "$repo/scripts" "$repo/build/default/bin" "$work/stubs"
cp "$source_dir/scripts/run.sh" "$source_dir/scripts/setup.sh" "$repo/scripts/"
cat >"$work/stubs/cmake" <<STUB
#!/usr/bin/env bash
echo "\$*" >>"$work/cmake.log"
STUB
cat >"$work/stubs/dpkg-query" <<'STUB'
#!/usr/bin/env bash
printf 'install ok installed'
STUB
cat >"$work/stubs/xvfb-run" <<STUB
#!/usr/bin/env bash
echo "\$*" >>"$work/xvfb.log"
while [ "\${1:-}" != "\${1#-}" ]; do
  case \$1 in -s) shift 2 ;; *) shift ;; esac
done
exec "\$@"
STUB
cat >"$repo/build/default/bin/RN-Tools" <<'STUB'
#!/usr/bin/env bash
echo "printers=${RNTOOLS_PRINTERS-unset} args=$*"
STUB
chmod +x "$work/stubs/"* "$repo/build/default/bin/RN-Tools"

# run <name> <env assignments...>: runs run.sh with that environment only.
run() {
  local name=$1
  shift
  rm -f "$work/cmake.log" "$work/xvfb.log"
  env -i HOME="$work/home" PATH="$work/stubs:$PATH" "$@" \
    bash "$repo/scripts/run.sh" --an-argument >"$work/$name.out" 2>"$work/$name.err"
  echo "exit $?" >>"$work/$name.out"
}

check_build() {
  local builds
  builds=$(grep -c -- '--build' "$work/cmake.log")
  [ "$builds" -eq 1 ] || fail "$1: $builds build commands (want 1): $(cat "$work/cmake.log")"
  grep -- '--build' "$work/cmake.log" | grep -qx -- '--build --preset default --target RN-Tools' ||
    fail "$1: the build is not of the program alone: $(grep -- '--build' "$work/cmake.log")"
}

# No display, no registry named: a virtual display, said in one line; the
# program chooses its registry itself.
run headless
check_build headless
[ "$(cat "$work/headless.out")" = $'printers=unset args=--an-argument\nexit 0' ] ||
  fail "headless: the program saw $(cat "$work/headless.out")"
[ -s "$work/xvfb.log" ] || fail "headless: not started through xvfb-run"
[ "$(wc -l <"$work/headless.err")" -eq 1 ] &&
  grep -q 'virtual display' "$work/headless.err" && grep -q 'Ctrl+C' "$work/headless.err" ||
  fail "headless: standard error was: $(cat "$work/headless.err")"

# A display and a registry named: that registry, on that display, nothing said.
run shown DISPLAY=:7 RNTOOLS_PRINTERS=/bench/printers.ini
check_build shown
[ "$(cat "$work/shown.out")" = $'printers=/bench/printers.ini args=--an-argument\nexit 0' ] ||
  fail "shown: the program saw $(cat "$work/shown.out")"
[ ! -e "$work/xvfb.log" ] || fail "shown: started through xvfb-run"
[ ! -s "$work/shown.err" ] || fail "shown: standard error was: $(cat "$work/shown.err")"

[ "$failures" -eq 0 ] && echo "run.sh: all checks passed"
exit $((failures > 0))
