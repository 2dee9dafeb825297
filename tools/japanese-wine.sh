# shellcheck shell=bash
# Sourced by the scripts that run the Windows programs under Wine (windows-test.sh,
# windows-package-test.sh, make-windows-screenshots.sh): a message on failure, a time
# limit on every Wine program, and a Wine prefix that behaves as a Japanese Windows.

# step TEXT: a heading with the seconds since the script started (into $step_of).
step() { printf '\n== %s (%d s into %s)\n' "$*" "$SECONDS" "${step_of:-the script}"; }

fail() {
    printf 'FAILED: %s\n' "$*" >&2
    exit 1
}

# bounded SECONDS COMMAND...: COMMAND ended (TERM, KILL 10 s later) after SECONDS, so that
# a Wine that hangs ends the script with a message. It stays in the caller's process group
# (--foreground), so the caller's own limit reaches it; what it started under Wine ends
# with the wineserver. The time-out is told on the script's standard error (descriptor 3)
# even where the command's is redirected.
exec 3>&2
bounded() {
    local seconds=$1 status=0
    shift
    timeout --foreground --kill-after=10 "$seconds" "$@" || status=$?
    if [ "$status" -eq 124 ] || [ "$status" -eq 137 ]; then
        printf 'TIMED OUT after %s s: %s\n' "$seconds" "$*" >&3
    fi
    return "$status"
}

# japanese_wine FOLDER: Wine with its prefix in FOLDER/wineprefix, set up on first use,
# as a Japanese Windows: a private ja_JP.UTF-8 locale in FOLDER/locale makes its ANSI code
# page 932 while the names it hands to Linux stay UTF-8. No debug output, and no Mono or
# Gecko: without those overrides wineboot offers to download them and can wait for an
# answer. One wineserver then serves every Wine program of the caller and stays 120 s
# after its last client: a Wine program that starts while the server of the one before
# shuts down fails with "wine client error:0: recvmsg: Connection reset by peer". The
# caller ends it (wineserver -k) on its way out.
japanese_wine() {
    local folder=$1
    if [ ! -f "$folder/locale/ja_JP.UTF-8/LC_CTYPE" ]; then
        mkdir -p "$folder/locale"
        # localedef exits with 1 after mere warnings; the check below decides.
        localedef -i ja_JP -f UTF-8 "$folder/locale/ja_JP.UTF-8" || true
        [ -f "$folder/locale/ja_JP.UTF-8/LC_CTYPE" ] || fail "localedef could not make ja_JP.UTF-8"
    fi
    export WINEPREFIX=$folder/wineprefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" \
        LOCPATH=$folder/locale
    # (bash itself cannot load the private locale and would say so; Wine and the tools can.)
    export LC_ALL=ja_JP.UTF-8 2>/dev/null
    if [ ! -f "$WINEPREFIX/system.reg" ]; then
        local start
        start=$(date +%s%N)
        DISPLAY='' bounded 300 wineboot --init >/dev/null 2>&1 || fail "wineboot --init"
        bounded 120 wineserver -w || fail "wineserver -w after wineboot --init"
        echo "wineboot --init took $((($(date +%s%N) - start) / 1000000)) ms"
    fi
    bounded 30 wineserver -k 2>/dev/null || true
    bounded 30 wineserver -p120 || fail "wineserver -p120"
}
