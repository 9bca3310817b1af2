#!/usr/bin/env bash
# The set-up (scripts/install-deps.sh) on a machine whose package lists do
# not all update, run against stand-ins on PATH: an apt-get whose update
# fails with 100 and whose install fails for the packages in APT_FAIL, and
# every command the script looks for. No root, network or real apt needed.
set -uo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
script="$here/../scripts/install-deps.sh"
tmp="$(mktemp -d)"
trap 'rm -rf "$tmp"' EXIT
bin="$tmp/bin" log="$tmp/apt.log" marker="$tmp/build/wine32-not-installed"
mkdir -p "$bin" "$tmp/wine"
fake() { printf '#!/bin/bash\n%s\n' "$2" >"$bin/$1"; chmod +x "$bin/$1"; }
for tool in bash dirname find sed head tail grep mkdir rm; do ln -s "$(command -v "$tool")" "$bin/$tool"; done
for tool in $(sed -n 's/^have \([^ ]*\) .*/\1/p' "$script"); do fake "$tool" 'exit 0'; done
fake wine64 'exit 0' && mv "$bin/wine64" "$tmp/wine/"
fake id 'echo "${FAKE_UID:-0}"'
fake dpkg 'echo "dpkg $*" >>"'"$log"'"'
fake apt-get 'echo "apt-get $*" >>"'"$log"'"
case "$1" in
update) echo "E: Failed to fetch .../binary-i386/Packages.xz  File has unexpected size (10 != 12). Mirror sync in progress?" >&2
        echo "E: Some index files failed to download. They have been ignored, or old ones used instead." >&2
        exit 100 ;;
install) for p in "$@"; do
             case " ${APT_FAIL:-} " in *" $p "*) echo "E: Unable to locate package $p" >&2; exit 100 ;; esac
         done ;;
esac'

failures=0
# Runs the set-up with these variables; its output lands in $out, its exit
# status in $rc.
setup() {
    : >"$log"
    rc=0
    out="$(env PATH="$bin" BUILD_DIR="$tmp/build" WINE_LIB_DIR="$tmp/wine" "$@" "$script" 2>&1)" || rc=$?
}
expect() {
    if ! eval "$2"; then
        echo "FAIL: $1 [$2]"; echo "-- output:"; echo "$out"; echo "-- apt:"; cat "$log"
        failures=$((failures + 1))
    fi
}

# 32-bit Wine does not install: a warning naming the list, one note, then
# on; the next run calls no apt until the note is a day old.
setup APT_FAIL=wine32:i386
expect "a failed list update and an optional package are no failure" '[ $rc -eq 0 ] &&
    grep -q "^warning: .*binary-i386/Packages.xz  File has unexpected size" <<<"$out" &&
    [ "$(grep -c "wine32:i386" <<<"$out")" -eq 1 ]'
setup APT_FAIL=wine32:i386
expect "a run after the failed attempt calls no apt" '[ $rc -eq 0 ] && [ ! -s "$log" ] && [ -z "$out" ]'
touch -d '2 days ago' "$marker"
setup APT_FAIL=wine32:i386
expect "a day later 32-bit Wine is tried again" 'grep -q "install .*wine32:i386" "$log"'

# A required package that does not install fails the set-up, named alone
# with apt's reason; the others still install.
rm "$bin/cmake" "$bin/ninja"
setup APT_FAIL="ninja-build wine32:i386"
expect "a required package that does not install is named and fails the set-up" '[ $rc -ne 0 ] &&
    [ "$(grep "^error:" <<<"$out")" = "error: the required package ninja-build did not install: Unable to locate package ninja-build" ] &&
    grep -qx "apt-get install .* cmake" "$log"'
setup
expect "with something required missing, 32-bit Wine is tried again" '[ $rc -eq 0 ] && grep -q "install .*wine32:i386" "$log"'

# Not root: names what is missing and calls no apt; only 32-bit Wine missing is no failure.
setup FAKE_UID=1000
expect "not root, with required packages missing" '[ $rc -eq 1 ] && grep -q "cmake ninja-build" <<<"$out" && [ ! -s "$log" ]'
fake cmake 'exit 0' && fake ninja 'exit 0'
setup FAKE_UID=1000
expect "not root, with only 32-bit Wine missing" '[ $rc -eq 0 ] && [ ! -s "$log" ]'

# The commands' reason for the 64-bit tree tells a missing 32-bit loader
# from one the kernel cannot start.
reason() { (WINE_LIB_DIR="$tmp/wine" && source "$here/../scripts/wine-env.sh" && ! wine_env_can_run 32 && echo "$WINE_ENV_WHY_NOT"); }
out="$(reason)"
expect "a missing 32-bit loader is said so" 'grep -q "32-bit Wine is not installed" <<<"$out"'
printf '#!/bin/sh\nexit 126\n' >"$tmp/wine/wine" && chmod +x "$tmp/wine/wine"
out="$(reason)"
expect "a loader that does not start is not called missing" '[ -n "$out" ] && ! grep -q "not installed" <<<"$out"'

[ $failures -eq 0 ] && echo "set-up behaves on a machine with broken package lists"
exit $((failures > 0))
