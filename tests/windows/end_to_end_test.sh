#!/usr/bin/env bash
# End to end on Wine: the real hopvane.exe on a virtual display against service/run-local on the
# ports the program was built for, driven by a click and by hopvane-ctl.exe: the start-up address
# asked, a refresh that fills the list, on/next/off through Wine's named mutexes, and the proxy
# in Wine's registry. Runs in the Wine prefix and with the Wine server that WINEPREFIX names.
set -uo pipefail
# shellcheck source-path=SCRIPTDIR
source "$(dirname "${BASH_SOURCE[0]}")/../support/checks.sh"

usage="usage: end_to_end_test.sh RUN-LOCAL HOPVANE.EXE HOPVANE-CTL.EXE QT-BIN-FOLDER"
run_local=${1:?$usage}
program=${2:?$usage}
ctl=${3:?$usage}
qt_bin=${4:?$usage}
: "${WINEPREFIX:?end_to_end_test: WINEPREFIX names the prefix to run in}"
for tool in wine Xvfb xdotool; do
    if ! command -v "$tool" >/dev/null; then
        echo "end_to_end_test: $tool is missing; tools/install-deps installs it" >&2
        exit 1
    fi
done
# Wine finds Qt's DLLs there; the programs' own folder comes first anyway.
export WINEPATH="Z:$qt_bin" WINEDEBUG=-all
settings_key='HKCU\Software\Microsoft\Windows\CurrentVersion\Internet Settings'
# The centre of the refresh button in the main window's client area.
refresh_x=256
refresh_y=136

work=$(mktemp -d "${TMPDIR:-/tmp}/hopvane-wine-e2e.XXXXXX")
pids=()
clean_up() {
    local pid
    # Closing the window switches the proxy off and ends the program the ordinary way.
    wine taskkill /im hopvane.exe >/dev/null 2>&1
    for pid in "${pids[@]}"; do
        kill -TERM "$pid" 2>/dev/null
        wait "$pid" 2>/dev/null
    done
    rm -rf -- "$work"
}
trap clean_up EXIT

# wait_for SECONDS COMMAND...: true once the command succeeds, polled every 0.2 s.
wait_for() {
    local tries=$(($1 * 5))
    shift
    while ((tries-- > 0)); do
        "$@" && return 0
        sleep 0.2
    done
    return 1
}
# The value of a value of the Internet Settings key, or nothing.
setting() {
    wine reg query "$settings_key" /v "$1" 2>/dev/null | tr -d '\r' |
        awk -v name="$1" '$1 == name { print $3 }'
}
# ctl ARGUMENT...: hopvane-ctl.exe's exit code and first line, as "CODE LINE".
ctl() {
    local out code
    out=$(wine "$ctl" "$@" 2>&1 | tr -d '\r')
    code=${PIPESTATUS[0]}
    echo "$code ${out%%$'\n'*}"
}

# --- the service on the built ports ------------------------------------------------------------
# Another service there would answer instead of this one.
for port in 18080 18443 18444; do
    if (: <"/dev/tcp/127.0.0.1/$port") 2>/dev/null; then
        echo "end_to_end_test: port $port is taken; the program can only reach the built ports"
        exit 1
    fi
done
"$run_local" --runtime-dir "$work/service" >"$work/service.out" 2>&1 &
pids+=($!)
if ! wait_for 60 grep -qs '^Up in ' "$work/service.out"; then
    echo "end_to_end_test: the service did not come up"
    cat "$work/service.out"
    exit 1
fi
access_log="$work/service/logs/nginx-access.log"

# --- a display of its own ----------------------------------------------------------------------
Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp 3>"$work/display" >"$work/xvfb.log" 2>&1 &
pids+=($!)
wait_for 30 grep -qs . "$work/display" || {
    echo "end_to_end_test: Xvfb did not start"
    cat "$work/xvfb.log"
    exit 1
}
display=$(head -n 1 "$work/display")
export DISPLAY=":$display"

# --- the program -------------------------------------------------------------------------------
appdata=$(winepath -u "$(wine cmd /c echo %APPDATA% 2>/dev/null | tr -d '\r')")
rm -rf -- "$appdata/Hopvane"
wine reg delete "$settings_key" /v ProxyServer /f >/dev/null 2>&1
wine "$program" >"$work/hopvane.out" 2>&1 &
pids+=($!)
# Wine reports an older Windows to a program whose manifest names no system, so a notice titled
# with the program's name comes before the main window.
notice() { xdotool search --onlyvisible --name '^Hopvane$' 2>/dev/null; }
main_window() { xdotool search --onlyvisible --name '^Kelbrin Hopvane$' 2>/dev/null; }
notice_or_main_window() { notice || main_window; }
wait_for 60 notice_or_main_window >/dev/null
if notice >/dev/null; then
    xdotool key Return
fi
wait_for 10 main_window >/dev/null
window=$(main_window) || {
    echo "end_to_end_test: the main window did not open"
    cat "$work/hopvane.out"
    exit 1
}
pass "the main window is open"

starting_request='GET /hopvane/myiptxt.php HTTP/1.1" 200'
check "the start-up address was asked" wait_for 30 grep -q "$starting_request" "$access_log"
expect_equal "status before switching on" "2 Hopvane_off" "$(ctl status)"

eval "$(xdotool getwindowgeometry --shell "$window")"
xdotool mousemove $((X + refresh_x)) $((Y + refresh_y)) click 1
list_file="$appdata/Hopvane/proxylist.txt"
list_lines() { [[ -f $list_file ]] && tr -cd '\n' <"$list_file" | wc -c; }
list_is_full() { [[ $(list_lines) == 8 ]]; }
wait_for 30 list_is_full
expect_equal "a refresh fills the list" 8 "$(list_lines)"

expect_equal "on --wait" "0 Hopvane_ok: a proxy is applied" "$(ctl on --wait 60)"
expect_equal "ProxyEnable while applied" 0x1 "$(setting ProxyEnable)"
expect_equal "ProxyServer is the first good proxy" 127.0.0.11:18128 "$(setting ProxyServer)"
expect_equal "status while applied" "0 Hopvane_ok" "$(ctl status)"
expect_equal "next --wait" "0 Hopvane_ok: a proxy is applied" "$(ctl next --wait 60)"
expect_equal "ProxyServer is the next good proxy" 127.0.0.12:18128 "$(setting ProxyServer)"
expect_equal "off" "0 Hopvane is switched off" "$(ctl off)"
expect_equal "ProxyEnable after off" 0x0 "$(setting ProxyEnable)"
expect_equal "status after off" "2 Hopvane_off" "$(ctl status)"

((failed == 0)) || cat "$work/hopvane.out"
finish_checks
