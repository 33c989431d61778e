#!/usr/bin/env bash
# The .deb: built from the build folder, depending on what its programs load and
# nothing else, unpacked into a fresh root, its desktop entry and AppStream
# metadata valid, and the unpacked program starts, holds its first status name
# and closes on SIGTERM.
set -uo pipefail
build=${1:?usage: package_test.sh BUILD_DIR}
work=$(mktemp -d)
program_pid=""
trap '[[ -n $program_pid ]] && kill "$program_pid" 2>/dev/null; rm -rf "$work"' EXIT

failures=0
check() {
    local what=$1
    shift
    if "$@" >"$work/check.log" 2>&1; then
        echo "ok: $what"
    else
        echo "FAILED: $what" >&2
        cat "$work/check.log" >&2
        failures=$((failures + 1))
    fi
}

cpack --config "$build/CPackConfig.cmake" -B "$work/out" >"$work/cpack.log" 2>&1 ||
    { cat "$work/cpack.log" >&2; exit 1; }
deb=$(echo "$work"/out/hopvane_*.deb)
check "the package is built" test -f "$deb"
root=$work/root
dpkg-deb -x "$deb" "$root"

# The packages of what the programs load: the libraries they link, and what
# is opened at run time only, OpenSSL for https and Qt's X11 platform plugin.
# A file counts under /lib and /usr/lib alike, as dpkg may know it by either.
owners() {
    xargs -r realpath -e | sed 's#^/usr##; s#^#*#' | xargs -r dpkg -S 2>/dev/null |
        sed 's/: .*//' | tr ',' '\n' | sed 's/:.*//; s/ //g' | LC_ALL=C sort -u
}
linked=$(ldd "$root"/usr/bin/* | awk '$3 ~ /^\// {print $3}')
libdir=$(dirname "$(realpath "$(grep -m1 '/libQt6Core\.so' <<<"$linked")")")
run_time=$(printf '%s\n' "$libdir/libssl.so.3" "$libdir/qt6/plugins/platforms/libqxcb.so" | owners)
loaded=$(printf '%s\n' "$linked" "$libdir/libssl.so.3" "$libdir/qt6/plugins/platforms/libqxcb.so" |
    owners)
depends=$(dpkg-deb -f "$deb" Depends | tr ',|' '\n\n' | sed 's/(.*)//; s/[[:space:]]//g' |
    LC_ALL=C sort -u)
# Fails, naming them, when there are any.
none() { [[ -z $1 ]] || { echo "$1"; return 1; }; }
check "it depends on $(echo $run_time), which hold what is loaded at run time" \
    none "$(LC_ALL=C comm -23 <(echo "$run_time") <(echo "$depends"))"
check "it depends on nothing that its programs never load" \
    none "$(LC_ALL=C comm -23 <(echo "$depends") <(echo "$loaded"))"

for program in hopvane hopvane-ctl hopvane-fetch; do
    check "usr/bin/$program is there" test -x "$root/usr/bin/$program"
done
check "the desktop entry is valid" desktop-file-validate "$root"/usr/share/applications/*.desktop
check "the AppStream metadata is valid" appstreamcli validate --no-net "$root"/usr/share/metainfo/*.xml
check "the icon is there" test -s "$root/usr/share/icons/hicolor/scalable/apps/cz.kelbrin.Hopvane.svg"

mkdir -p "$work/home" "$work/runtime"
chmod 700 "$work/runtime"
export HOME=$work/home XDG_RUNTIME_DIR=$work/runtime QT_QPA_PLATFORM=offscreen
unset XDG_CONFIG_HOME XDG_DATA_HOME APPDATA
"$root/usr/bin/hopvane" >"$work/program.log" 2>&1 &
program_pid=$!
started=no
for _ in $(seq 300); do
    "$root/usr/bin/hopvane-ctl" status >/dev/null 2>&1
    [[ $? -eq 2 ]] && { started=yes; break; }
    sleep 0.05
done
check "the unpacked program starts switched off" test "$started" = yes
kill -TERM "$program_pid"
wait "$program_pid"
status=$?
program_pid=""
check "it closes on SIGTERM" test "$status" -eq 0
check "its data folder is made in the user's home" test -d "$HOME/.local/share/Hopvane"

exit $((failures > 0))
