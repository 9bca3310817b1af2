#!/usr/bin/env bash
# The test command: installs what is missing, builds, and runs every test
# under one persistent wineserver.
#
# The programs are 32-bit. Where Wine runs no 32-bit code (32-bit Wine is
# not installed, or the kernel cannot start it), the Wine tests run on a
# 64-bit build of the same sources in a 64-bit prefix instead, and the
# 32-bit programs get the checks that need no Wine (format, export table).
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
"$root/scripts/install-deps.sh"
"$root/scripts/build.sh" i686
"$root/scripts/build.sh" release
build="${BUILD_DIR:-$root/build}"
release="${BUILD_DIR_RELEASE:-$root/build/release}"
# shellcheck source=wine-env.sh
source "$root/scripts/wine-env.sh"

status=0
echo "== The release build's programs"
"$root/tests/check_release.sh" "$release/bin" || status=1
can_run_release=0
if wine_env_can_run 32; then
    can_run_release=1
    export WINE_BUILD_DIR="$build" WINE_TARGET_BITS=32
else
    echo "== $WINE_ENV_WHY_NOT: Wine tests run on the 64-bit build (build/win64)."
    (cd "$build" && ctest --output-on-failure -L program) || status=1
    "$root/scripts/build.sh" x86_64
    build="${BUILD_DIR_64:-$root/build/win64}"
    export WINE_BUILD_DIR="$build" WINE_TARGET_BITS=64
fi
# Re-read the environment for the tree whose tests run under Wine.
source "$root/scripts/wine-env.sh"
wine_env_start
trap wine_env_stop EXIT
if [ "$can_run_release" = 1 ] && [ $# -eq 0 ]; then
    # The shipped programs as a whole: the same run from outside, on the
    # release build's files.
    echo "== Monitor.exe of the release build"
    (cd "$build" && PROGRAM_DIR="Z:${release//\//\\}\\bin" ctest --output-on-failure -R mainwnd_process_test) || status=1
fi
(cd "$build" && ctest --output-on-failure -j 1 "$@") || status=1
exit $status
