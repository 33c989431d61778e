#!/usr/bin/env bash
# shellcheck disable=SC2154 # capture and expected_list set their caller's variables by name
# End-to-end test of the local service: starts run-local on free ports, checks every endpoint
# with curl over http and over https (TLS 1.0 forced), each proxy of the farm, the failing
# entries of the list and of a mixed list, and that every way of ending run-local leaves no
# process behind.
set -uo pipefail
# shellcheck source-path=SCRIPTDIR
source "$(dirname "${BASH_SOURCE[0]}")/../support/checks.sh"

run_local=${1:?usage: run_local_test.sh PATH/TO/run-local [PATH/TO/hopvane-fetch]}
# The program's own HTTP client, where the build has one: the service must suit it as well.
fetch_tool=${2:-}
PATH=$PATH:/usr/local/sbin:/usr/sbin:/sbin
for tool in curl nginx tinyproxy openssl setsid; do
    if ! command -v "$tool" >/dev/null; then
        echo "run_local_test: $tool is missing; tools/install-deps installs it" >&2
        exit 1
    fi
done

work=$(mktemp -d "${TMPDIR:-/tmp}/hopvane-service-test.XXXXXX")
sessions=()

# Whatever a failed check left running is stopped here, by pid.
clean_up() {
    local sid pid
    for sid in "${sessions[@]}"; do
        for pid in $(session_processes "$sid"); do
            kill -TERM "$pid" 2>/dev/null
        done
    done
    rm -rf -- "$work"
}
trap clean_up EXIT

# session_processes SID: the pids of the live processes (zombies excluded) of a session.
session_processes() {
    local stat line fields
    for stat in /proc/[0-9]*/stat; do
        { read -r line <"$stat"; } 2>/dev/null || continue
        read -ra fields <<<"${line##*) }"
        [[ ${fields[3]} == "$1" && ${fields[0]} != Z ]] && echo "${stat//[^0-9]/}"
    done
}

port_open() {
    { : <>"/dev/tcp/$1/$2"; } 2>/dev/null
}

# Every address the service listens on (the good proxies of a three-proxy farm and the leaking
# ones included) and the dead entry's address.
service_hosts=(127.0.0.1 127.0.0.2 127.0.0.3 127.0.0.6 127.0.0.7 127.0.0.11 127.0.0.12 127.0.0.13)

# pick_ports: sets ports to four consecutive ports that nothing answers on at those hosts,
# below the range the system takes the local ports of outgoing connections from.
pick_ports() {
    local try base port host busy ephemeral
    read -r ephemeral _ </proc/sys/net/ipv4/ip_local_port_range
    for ((try = 0; try < 100; try++)); do
        base=$((10000 + RANDOM % (ephemeral - 10004)))
        busy=no
        for ((port = base; port < base + 4; port++)); do
            for host in "${service_hosts[@]}"; do
                port_open "$host" "$port" && busy=yes
            done
        done
        if [[ $busy == no ]]; then
            ports=("$base" $((base + 1)) $((base + 2)) $((base + 3)))
            return 0
        fi
    done
    echo "run_local_test: found no free ports" >&2
    exit 1
}

# start_instance NAME OPTIONS...: run-local on the picked ports in a session of its own, with
# SIGINT at its default so that run-local can act on it although it runs in the background.
# Sets instance_pid, which is also the session id.
start_instance() {
    local name=$1
    shift
    setsid env --default-signal=INT "$run_local" --runtime-dir "$work/$name" \
        --http-port "${ports[0]}" --https-port "${ports[1]}" --english-port "${ports[2]}" \
        --proxy-port "${ports[3]}" "$@" >"$work/$name.out" 2>&1 &
    instance_pid=$!
    sessions+=("$instance_pid")
}

# wait_until_up NAME PID: until run-local reports that everything answers.
wait_until_up() {
    local i
    for ((i = 0; i < 300; i++)); do
        if grep -qs '^Up in ' "$work/$1.out"; then
            echo "$1: $(grep '^Up in ' "$work/$1.out")"
            return 0
        fi
        kill -0 "$2" 2>/dev/null || break
        sleep 0.05
    done
    echo "run_local_test: $1 did not come up:" >&2
    cat "$work/$1.out" >&2
    exit 1
}

# expect_nothing_left NAME SID PORT...: no process of the session, no runtime folder, and
# nothing answering on the instance's ports any more.
expect_nothing_left() {
    local name=$1 sid=$2 i left port host open=""
    shift 2
    for ((i = 0; i < 200; i++)); do
        left=$(session_processes "$sid")
        [[ -z $left ]] && break
        sleep 0.05
    done
    expect_equal "$name: no process is left" "" "$left"
    check "$name: the runtime folder is removed" test ! -e "$work/$name"
    for port; do
        for host in "${service_hosts[@]}"; do
            port_open "$host" "$port" && open+=" $host:$port"
        done
    done
    expect_equal "$name: nothing answers on its ports" "" "$open"
}

# capture VARIABLE COMMAND...: the output of a command, its trailing line breaks kept.
capture() {
    local -n capture_into=$1
    shift
    capture_into=$("$@" && printf x)
    capture_into=${capture_into%x}
}
# expect_output DESCRIPTION EXPECTED COMMAND...
expect_output() {
    local output
    capture output "${@:3}"
    expect_equal "$1" "$2" "$output"
}

tls10=(-k --tlsv1.0 --tls-max 1.0 --ciphers 'AES:ALL:!aNULL:!eNULL:+RC4:@STRENGTH:@SECLEVEL=0')
get=(curl -sS --max-time 10)

# port_not_a_number ENTRY: a colon, then something that is not a decimal number.
port_not_a_number() {
    [[ $1 == *:* && ! ${1#*:} =~ ^[0-9]+$ ]]
}

# expected_list VARIABLE PORT GOOD: the list a farm of GOOD proxies on PORT serves.
expected_list() {
    local -n list_into=$1
    local i
    printf -v list_into '%s\r\n' "127.0.0.2:$2" "127.0.0.3:$2" "127.0.0.4" "127.0.0.5:http"
    for ((i = 1; i <= $3; i++)); do
        list_into+="127.0.0.$((10 + i)):$2"$'\r\n'
    done
    list_into+="127.0.0.11:$2"$'\r\n'
}

# --- A: three good proxies, checked endpoint by endpoint -----------------------------------
pick_ports
start_instance a --good 3
a_pid=$instance_pid a_ports=("${ports[@]}")
wait_until_up a "$a_pid"
http=http://127.0.0.1:${a_ports[0]}
https=https://127.0.0.1:${a_ports[1]}
english=https://127.0.0.1:${a_ports[2]}
proxy_port=${a_ports[3]}
expected_list a_list "$proxy_port" 3

expect_equal "a: run-local leads its own session" "$a_pid" "$(session_processes "$a_pid" | grep -x "$a_pid")"
# run-local, its watchdog, nginx's master and worker, four proxies.
expect_equal "a: everything runs in the session" 8 "$(session_processes "$a_pid" | wc -l)"

tls_line=$("${get[@]}" -v "${tls10[@]}" -o /dev/null "$https/hopvane/myiptxt.php" 2>&1 | grep 'SSL connection using')
check "https speaks TLS 1.0 with the client's cipher list ($tls_line)" grep -q 'using TLSv1 /' <<<"$tls_line"

for base in "$http" "$https"; do
    options=()
    [[ $base == https:* ]] && options=("${tls10[@]}")
    fetch=("${get[@]}" "${options[@]}")
    expect_output "$base/hopvane/myiptxt.php is the address alone" 127.0.0.1 \
        "${fetch[@]}" "$base/hopvane/myiptxt.php"
    expect_output "$base/download/KHopvane.txt is the release number alone" 11 \
        "${fetch[@]}" "$base/download/KHopvane.txt"
    expect_output "$base/hopvane/proxylist/proxy.txt lists failures first, CR LF" "$a_list" \
        "${fetch[@]}" "$base/hopvane/proxylist/proxy.txt"
    capture date_text "${fetch[@]}" "$base/hopvane/proxylist/date-proxy-list.php"
    check "$base/hopvane/proxylist/date-proxy-list.php is a date ($date_text)" \
        grep -Eqx '[0-9]{1,2}\.[0-9]{1,2}\.[0-9]{4}' <<<"$date_text"
    check "$base/hopvane/proxylist/date-proxy-list.php has no line break" test "${date_text//[$'\r\n']/}" == "$date_text"
    expect_equal "$base/hopvane/downloadspeed.txt is 1,048,576 bytes with its length" "200 1048576 1048576" \
        "$("${fetch[@]}" -o /dev/null -w '%{http_code} %{size_download} %header{content-length}' \
            "$base/hopvane/downloadspeed.txt")"
    expect_equal "$base/hopvane/geo/geo.php is text in UTF-8" "200 text/plain; charset=utf-8" \
        "$("${fetch[@]}" -o /dev/null -w '%{http_code} %{content_type}' "$base/hopvane/geo/geo.php")"
    for page in /hopvane/myip.php /hopvane/connection.php /hopvane?zdroj=program_hopvane \
        /mojeip?zdroj=program_hopvane /myip?zdroj=program_hopvane; do
        expect_equal "$base$page is a page, not a redirect" "200 text/html; charset=utf-8" \
            "$("${fetch[@]}" -o /dev/null -w '%{http_code} %{content_type}' "$base$page")"
    done
done
check "$http/mojeip shows the visitor's address" grep -q '<strong>127.0.0.1</strong>' \
    <<<"$("${get[@]}" "$http/mojeip?zdroj=program_hopvane")"
check "the English-language site's root page is in English" grep -q '<html lang="en">' \
    <<<"$("${get[@]}" "${tls10[@]}" "$english/")"
capture home_place "${get[@]}" "$http/hopvane/geo/geo.php"
check "a direct request has a place ($home_place)" test -n "$home_place"

# Each good proxy reaches the service from an address and a place of its own.
places=("$home_place")
for i in 1 2 3; do
    proxy=http://127.0.0.$((10 + i)):$proxy_port
    exit_address=127.0.0.$((110 + i))
    expect_output "$proxy forwards http from $exit_address" "$exit_address" \
        "${get[@]}" -x "$proxy" "$http/hopvane/myiptxt.php"
    expect_output "$proxy tunnels TLS 1.0 from $exit_address" "$exit_address" \
        "${get[@]}" "${tls10[@]}" -x "$proxy" "$https/hopvane/myiptxt.php"
    expect_equal "$proxy passes the https test page" 200 \
        "$("${get[@]}" "${tls10[@]}" -x "$proxy" -o /dev/null -w '%{http_code}' "$https/hopvane/myip.php")"
    capture place "${get[@]}" -x "$proxy" "$http/hopvane/geo/geo.php"
    check "$proxy has a place of its own ($place)" test -n "$place"
    for seen in "${places[@]}"; do
        [[ $place == "$seen" ]] && fail "$proxy shares its place with another: $place"
    done
    places+=("$place")
done

# The failing entries fail the way they are meant to.
mapfile -t entries < <("${get[@]}" "$http/hopvane/proxylist/proxy.txt" | tr -d '\r')
for target in "$http/hopvane/myip.php" "$https/hopvane/myip.php"; do
    "${get[@]}" "${tls10[@]}" -x "http://${entries[0]}" -o /dev/null "$target" 2>/dev/null
    expect_equal "${entries[0]} refuses the connection for $target (curl 7)" 7 $?
done
expect_equal "${entries[1]} answers http with 403" 403 \
    "$("${get[@]}" -x "http://${entries[1]}" -o /dev/null -w '%{http_code}' "$http/hopvane/myip.php")"
connect_reply=$("${get[@]}" "${tls10[@]}" -x "http://${entries[1]}" -o /dev/null -w '%{http_connect}' \
    "$https/hopvane/myip.php" 2>/dev/null)
expect_equal "${entries[1]} answers CONNECT with 403" 403 "$connect_reply"
check "${entries[2]} has no port" test "${entries[2]}" == "${entries[2]%%:*}"
check "${entries[3]} has a port that is not a number" port_not_a_number "${entries[3]}"
expect_equal "the one repeated line is the first good proxy" "${entries[4]}" \
    "$(printf '%s\n' "${entries[@]}" | sort | uniq -d)"

# The program's own client meets the service and the farm as the program would.
if [[ -n $fetch_tool ]]; then
    expect_output "hopvane-fetch reads $https/hopvane/myiptxt.php" 127.0.0.1 \
        "$fetch_tool" "$https/hopvane/myiptxt.php"
    expect_output "hopvane-fetch tunnels through ${entries[5]}" 127.0.0.112 \
        "$fetch_tool" --proxy "${entries[5]}" "$https/hopvane/myiptxt.php"
    expect_output "hopvane-fetch reads the geo text through ${entries[5]}" "${places[2]}" \
        "$fetch_tool" --proxy "${entries[5]}" "$http/hopvane/geo/geo.php"
    expect_output "hopvane-fetch reads the release number" 11 "$fetch_tool" "$https/download/KHopvane.txt"
    "$fetch_tool" --stream "$work/speed" "$https/hopvane/downloadspeed.txt"
    expect_equal "hopvane-fetch downloads the speed-test file" "0 1048576" "$? $(stat -c %s "$work/speed")"
    expect_output "hopvane-fetch fails at ${entries[0]}" $'Socket Error # 10061\r\nConnection refused.\nexit 1' \
        bash -c '"$@" 2>&1; printf "exit %d" $?' fetch "$fetch_tool" --proxy "${entries[0]}" "$https/hopvane/myip.php"
    for target in "$http/hopvane/myip.php" "$https/hopvane/myip.php"; do
        expect_output "hopvane-fetch is refused by ${entries[1]} for $target" $'HTTP/1.1 403 Filtered\nexit 1' \
            bash -c '"$@" 2>&1; printf "exit %d" $?' fetch "$fetch_tool" --proxy "${entries[1]}" "$target"
    done
fi

# --- B: while A runs, a farm of one with another release, ended by its program -----------
pick_ports
# shellcheck disable=SC2016 # the inner shell expands its own arguments
start_instance b --good 1 --release 12 -- bash -c \
    'curl -sS -k --tlsv1.0 --tls-max 1.0 --ciphers "DEFAULT@SECLEVEL=0" "$0/download/KHopvane.txt" >"$1"
     curl -sS "$2/hopvane/proxylist/proxy.txt" >"$3"; exit 7' \
    "https://127.0.0.1:${ports[1]}" "$work/b.release" "http://127.0.0.1:${ports[0]}" "$work/b.list"
b_pid=$instance_pid b_ports=("${ports[@]}")
wait "$b_pid"
expect_equal "b: run-local ends with its program's exit status" 7 $?
expect_output "b: --release sets the release number" 12 cat "$work/b.release"
expected_list b_list "${b_ports[3]}" 1
expect_output "b: --good 1 serves one good proxy" "$b_list" cat "$work/b.list"
expect_nothing_left b "$b_pid" "${b_ports[@]}"

# --- F: a mixed list, two entries of each kind and the leaking proxies ---------------------
# kind_of ENTRY: what a request for $probe_url through ENTRY meets, named as run-local names
# the kinds.
kind_of() {
    local result status
    result=$(curl -s -o /dev/null --connect-timeout 2 -m 5 -x "http://$1" \
        -w '%{http_code} %{time_connect}' "$probe_url")
    status=$?
    case $status/$result in
    7/*) echo refusing ;;
    28/"000 0.000000") echo black-holed ;;
    28/000*) echo silent ;;
    0/403*) echo forbidding ;;
    0/200*) echo good ;;
    *) echo "other($status $result)" ;;
    esac
}
# kinds_of ENTRY...: the kinds, one line, each entry tried at the same time.
kinds_of() {
    local i pids=()
    for i in $(seq "$#"); do
        kind_of "${!i}" >"$work/kind.$i" &
        pids+=("$!")
    done
    wait "${pids[@]}"
    for i in $(seq "$#"); do
        printf '%s ' "$(<"$work/kind.$i")"
    done
}

pick_ports
start_instance f --black-holed 2 --silent 2 --refusing 2 --forbidding 2 --good 2 --first-good-at 4 \
    --leaking
f_pid=$instance_pid f_ports=("${ports[@]}")
wait_until_up f "$f_pid"
probe_url=http://127.0.0.1:${f_ports[0]}/hopvane/myiptxt.php
f_entries=()
for host in 127.1.0.1 127.2.0.1 127.3.0.1 127.0.0.6 127.0.0.7 127.0.0.11 127.4.0.1 127.1.0.2 \
    127.0.0.12 127.2.0.2 127.3.0.2 127.4.0.2; do
    f_entries+=("$host:${f_ports[3]}")
done
printf -v f_list '%s\r\n' "${f_entries[@]}"
expect_output "f: the kinds take turns, the leaking proxies come right before the first good one, the other good one spread after it" \
    "$f_list" "${get[@]}" "http://127.0.0.1:${f_ports[0]}/hopvane/proxylist/proxy.txt"
expect_equal "f: each entry fails or works as its kind" \
    "black-holed silent refusing good good good forbidding black-holed good silent refusing forbidding " \
    "$(kinds_of "${f_entries[@]}")"

# The address the service reports is the one a site would see. The program's own client makes
# the requests without a header where the build has it; curl sends the rest.
https_probe_url=https://127.0.0.1:${f_ports[1]}/hopvane/myiptxt.php
while IFS='|' read -r proxy header url expected; do
    if [[ -n $fetch_tool && $header == - ]]; then
        request=("$fetch_tool")
        [[ $proxy == - ]] || request+=(--proxy "$proxy:${f_ports[3]}")
    else
        request=("${get[@]}" "${tls10[@]}")
        [[ $proxy == - ]] || request+=(-x "http://$proxy:${f_ports[3]}")
        [[ $header == - ]] || request+=(-H "$header")
    fi
    expect_output "f: $url, proxy $proxy, header $header: the service reports $expected" "$expected" \
        "${request[@]}" "$url"
done <<EOF
-|X-Forwarded-For: 198.51.100.7, 10.0.0.1|$probe_url|198.51.100.7
-|Forwarded: for="[2001:db8::1]:80"|$probe_url|2001:db8::1
-|Forwarded: for=192.0.2.43|$probe_url|192.0.2.43
-|X-Forwarded-For: , 198.51.100.7|$probe_url|127.0.0.1
127.0.0.6|-|$probe_url|127.0.0.1
127.0.0.7|-|$probe_url|127.0.0.1
127.0.0.7|-|$https_probe_url|127.0.0.107
EOF
kill -INT "$f_pid"
wait "$f_pid"
expect_nothing_left f "$f_pid" "${f_ports[@]}"
expect_equal "f: every entry is refused once it has stopped" \
    "$(printf 'refusing %.0s' "${f_entries[@]}")" "$(kinds_of "${f_entries[@]}")"

# --- Ways of ending ------------------------------------------------------------------------
kill -INT "$a_pid"
wait "$a_pid"
expect_equal "a: SIGINT ends run-local with 130" 130 $?
expect_nothing_left a "$a_pid" "${a_ports[@]}"

pick_ports
start_instance c
wait_until_up c "$instance_pid"
kill -TERM "$instance_pid"
wait "$instance_pid"
expect_equal "c: SIGTERM ends run-local with 143" 143 $?
expect_nothing_left c "$instance_pid" "${ports[@]}"

# The caller is killed outright: run-local sees its parent go and stops.
pick_ports
setsid bash -c '"$@"; exit $?' caller "$run_local" --runtime-dir "$work/d" \
    --http-port "${ports[0]}" --https-port "${ports[1]}" --english-port "${ports[2]}" \
    --proxy-port "${ports[3]}" >"$work/d.out" 2>&1 &
caller_pid=$!
sessions+=("$caller_pid")
wait_until_up d "$caller_pid"
{
    kill -KILL "$caller_pid"
    wait "$caller_pid"
} 2>/dev/null
expect_nothing_left d "$caller_pid" "${ports[@]}"

# run-local itself is killed outright: its watchdog stops what it started.
pick_ports
start_instance e
wait_until_up e "$instance_pid"
{
    kill -KILL "$instance_pid"
    wait "$instance_pid"
} 2>/dev/null
expect_nothing_left e "$instance_pid" "${ports[@]}"

finish_checks
