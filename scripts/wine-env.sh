# Sourced: the project's Wine environment.
#  - a dedicated Wine prefix inside the build tree (never ~/.wine): 32-bit for
#    a build of 32-bit programs, 64-bit for a build of 64-bit programs
#    (WINE_TARGET_BITS, set by the build tree's wine-run)
#  - WINEDEBUG=-all, mshtml disabled (no Gecko here: the help viewer must
#    never stop to offer a download)
#  - one persistent wineserver, so each Wine process starts in a fraction of
#    a second
#  - Xvfb when there is no usable display
_wine_env_root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
export WINE_BUILD_DIR="${WINE_BUILD_DIR:-$_wine_env_root/build}"
export WINE_TARGET_BITS="${WINE_TARGET_BITS:-32}"
export WINEPREFIX="${WINEPREFIX_OVERRIDE:-$WINE_BUILD_DIR/wineprefix}"
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mshtml=d;winemenubuilder.exe=d}"
_wine_lib="${WINE_LIB_DIR:-/usr/lib/wine}"
if [ "$WINE_TARGET_BITS" = 64 ]; then
    export WINEARCH=win64
    _wine_loader=$_wine_lib/wine64
else
    export WINEARCH=win32
    _wine_loader=$_wine_lib/wine
fi
[ -x "$_wine_loader" ] || _wine_loader="$(command -v wine)"
_wine_server=$_wine_lib/wineserver64
[ -x "$_wine_server" ] || _wine_server=$_wine_lib/wineserver32
[ -x "$_wine_server" ] || _wine_server="$(command -v wineserver)"

wine() { "$_wine_loader" "$@"; }
wineserver() { "$_wine_server" "$@"; }

# True when this machine's Wine runs programs of that many bits (32 or 64).
# When not, WINE_ENV_WHY_NOT says why, for the user: the loader of that
# width is not installed (32-bit Wine is a package of another architecture
# that does not install everywhere), or it is there and the kernel cannot
# start it. Where a user-mode emulator is registered for 32-bit programs
# the loader starts, but Wine cannot run Windows programs under it.
wine_env_can_run() {
    local bits=${1:-32} loader="$_wine_lib/wine" package=wine32:i386 handler
    [ "$bits" = 64 ] && loader="$_wine_lib/wine64" package=wine64
    WINE_ENV_WHY_NOT=""
    if [ ! -x "$loader" ]; then
        WINE_ENV_WHY_NOT="$bits-bit Wine is not installed (no $loader, package $package)"
        return 1
    fi
    if [ "$bits" != 64 ]; then
        for handler in /proc/sys/fs/binfmt_misc/*; do
            [ -f "$handler" ] || continue
            if grep -q '^enabled' "$handler" 2>/dev/null && grep -q '^magic 7f454c460101' "$handler" 2>/dev/null; then
                WINE_ENV_WHY_NOT="this machine runs 32-bit programs only through an emulator, under which Wine cannot run"
                return 1
            fi
        done
    fi
    "$loader" --version >/dev/null 2>&1 && return 0
    WINE_ENV_WHY_NOT="this kernel cannot start $bits-bit programs ($loader does not start)"
    return 1
}

wine_env_display() {
    if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then return 0; fi
    local n=${WINE_XVFB_DISPLAY:-97}
    export DISPLAY=":$n"
    if ! xdpyinfo >/dev/null 2>&1; then
        (Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &)
        for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
    fi
}

wine_env_prefix() {
    [ -f "$WINEPREFIX/system.reg" ] && return 0
    mkdir -p "$WINEPREFIX"
    (
        flock 9
        if [ ! -f "$WINEPREFIX/system.reg" ]; then
            wine wineboot -i >/dev/null 2>&1
            # No window manager runs on Xvfb: let Wine place windows itself
            # instead of waiting for a manager on every show and hide.
            wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
            wineserver -w
        fi
    ) 9>"$WINEPREFIX.lock"
}

wine_env_start() {
    wine_env_display
    wine_env_prefix
    # A second 'wineserver -p' for the same prefix sees the running one and leaves.
    wineserver -p >/dev/null 2>&1 </dev/null || true
    # Wine's background processes (services, the desktop and tray process)
    # start with the first program that needs them and inherit its output.
    # Start them here with no output, so that they never hold a test's
    # output pipe open after the test has ended.
    wine rundll32.exe user32.dll,MessageBeep >/dev/null 2>&1 </dev/null || true
}

wine_env_stop() {
    wineserver -k >/dev/null 2>&1 || true
}
