# shellcheck shell=bash
# The local proxy farm and the proxy list that the service serves (sourced by run-local).
#
# The fixed list (plan_farm) holds the failures met in real lists first, then the good
# proxies, then a copy of the first good line, so a program walking it blacklists every failure
# before it reaches a proxy that works. The copy repeats a good entry on purpose: a repeated
# failing entry would be tested again and again once its first copy is blacklisted.
#
# The mixed list (plan_mixed_farm) stands in for a real list, mostly dead proxies that fail
# slowly, in counts the caller chooses; each of its entries has an address of its own.
#
# On request (farm_leaking=yes), either list also holds two proxies that work but do not hide
# the user, right before the first good proxy so that a walk meets them first.

# Places the geo endpoint names, one for each good proxy's exit address.
readonly farm_places=(
    "Praha, Česko"
    "Frankfurt nad Mohanem, Německo"
    "Amsterodam, Nizozemsko"
    "Varšava, Polsko"
    "Vídeň, Rakousko"
    "Paříž, Francie"
    "Londýn, Spojené království"
    "Stockholm, Švédsko"
    "Madrid, Španělsko"
    "Řím, Itálie"
    "Toronto, Kanada"
    "Tokio, Japonsko"
)
# Where the service places a direct request from the machine itself.
readonly farm_home_place="Brno, Česko"
readonly farm_max_good=${#farm_places[@]}
# Nothing may listen on this address for the first entry to fail as meant.
readonly farm_dead_host=127.0.0.2

# The kinds of failing entry in a mixed list. The second byte of an entry's address names its
# kind and the last byte counts from 1: 127.1.0.7 is the seventh black-holed entry. Addresses
# apart from 127.0.0.x keep clear of the fixed list's and of the good proxies'.
readonly farm_kinds=(black-holed silent refusing forbidding)
readonly farm_kind_networks=(127.1.0 127.2.0 127.3.0 127.4.0)
readonly farm_kind_notes=(
    "fails: black-holed, a connection attempt gets no answer at all"
    "fails: silent, the connection is accepted and nothing is ever sent"
    "fails: nothing listens there (connection refused)"
    "fails: the proxy refuses every request with \"403 Filtered\""
)
# Most of each kind in a mixed list; a forbidding entry costs a tinyproxy.
readonly farm_max_dead=200
readonly farm_max_forbidding=20

# The leaking proxies. Locally the user's own address is 127.0.0.1: the service reports it to
# a direct request, and every client on this machine connects from it.
farm_leaking=no
readonly farm_transparent_host=127.0.0.6
readonly farm_forwarding_host=127.0.0.7 farm_forwarding_exit=127.0.0.107

# plan_farm GOOD PORT: the fixed list; fills the arrays below.
#   list_entries, list_notes: the lines of the served list and what each one is for;
#   proxy_listen, proxy_bind, proxy_place, proxy_refuses, proxy_forwards_for: one item per
#   tinyproxy to run (proxy_forwards_for: the X-Forwarded-For it adds, if any);
#   hole_hosts, silent_hosts, refusing_hosts: the addresses of the dead entries of each kind.
plan_farm() {
    local good=$1 port=$2 i
    clear_plan
    refusing_hosts+=("$farm_dead_host")

    list_entries+=("$farm_dead_host:$port")
    list_notes+=("fails: nothing listens there (connection refused)")
    # A filter matching every host makes tinyproxy refuse plain requests and CONNECT alike
    # with "403 Filtered", once it has read the request. A ConnectPort limit would refuse
    # CONNECT only, and nginx answers CONNECT with 400 whatever it is told.
    list_entries+=("127.0.0.3:$port")
    list_notes+=("fails: the proxy refuses every request with \"403 Filtered\"")
    proxy_listen+=(127.0.0.3) proxy_bind+=(127.0.0.103) proxy_place+=("") proxy_refuses+=(yes)
    proxy_forwards_for+=("")
    list_entries+=("127.0.0.4")
    list_notes+=("fails: no port, so no request is sent")
    list_entries+=("127.0.0.5:http")
    list_notes+=("fails: the port is not a number, so no request is sent")

    for ((i = 1; i <= good; i++)); do
        add_good_proxy "$i" "$port"
    done

    list_entries+=("127.0.0.11:$port")
    list_notes+=("works: the same line as the first good proxy")
}

# plan_mixed_farm GOOD PORT FIRST_GOOD BLACK_HOLED SILENT REFUSING FORBIDDING: a list of exactly
# these entries, ordered by a fixed rule:
# - the failing entries are spread by kind: each next one is of the kind furthest behind an
#   even share of its count (ties go to the kind first in farm_kinds);
# - the first good proxy is entry FIRST_GOOD (1 to failing + 1), after FIRST_GOOD - 1 failing
#   ones; the other good proxies are spread evenly over the rest of the list, the k-th at
#   FIRST_GOOD + k * (rest + 1) / GOOD, rounded down. By default the caller puts the good ones
#   last, after every failing entry.
plan_mixed_farm() {
    local good=$1 port=$2 first_good=$3 counts=("${@:4:4}")
    local failing=0 total rest k n best best_lag lag position next_good=1 next_failing=0
    local used=(0 0 0 0) order=() good_at=()
    clear_plan
    for k in "${!counts[@]}"; do
        failing=$((failing + counts[k]))
    done
    for ((n = 1; n <= failing; n++)); do
        best=-1
        for k in "${!counts[@]}"; do
            ((used[k] < counts[k])) || continue
            lag=$((n * counts[k] - used[k] * failing))
            if ((best < 0 || lag > best_lag)); then
                best=$k best_lag=$lag
            fi
        done
        used[best]=$((used[best] + 1))
        order+=("$best ${used[best]}")
    done

    total=$((failing + good)) rest=$((failing + good - first_good))
    good_at[first_good]=yes
    for ((k = 1; k < good; k++)); do
        good_at[first_good + k * (rest + 1) / good]=yes
    done
    for ((position = 1; position <= total; position++)); do
        if [[ -n ${good_at[position]:-} ]]; then
            add_good_proxy "$next_good" "$port"
            next_good=$((next_good + 1))
        else
            read -r k n <<<"${order[next_failing]}"
            next_failing=$((next_failing + 1))
            add_dead_entry "$k" "$n" "$port"
        fi
    done
}

clear_plan() {
    list_entries=() list_notes=()
    proxy_listen=() proxy_bind=() proxy_place=() proxy_refuses=() proxy_forwards_for=()
    hole_hosts=() silent_hosts=() refusing_hosts=()
}

# add_good_proxy I PORT: the I-th good proxy (from 1), its list entry and its tinyproxy; the
# leaking proxies, when asked for, before the first.
add_good_proxy() {
    local i=$1 port=$2
    if [[ $i == 1 && $farm_leaking == yes ]]; then
        add_leaking_proxies "$port"
    fi
    proxy_listen+=("127.0.0.$((10 + i))") proxy_bind+=("127.0.0.$((110 + i))")
    proxy_place+=("${farm_places[i - 1]}") proxy_refuses+=(no) proxy_forwards_for+=("")
    list_entries+=("127.0.0.$((10 + i)):$port")
    list_notes+=("works: the service sees 127.0.0.$((110 + i)), in ${farm_places[i - 1]}")
}

# add_leaking_proxies PORT: a transparent proxy, whose exit is the user's own address, then one
# that tells the service the user's address in X-Forwarded-For on plain requests (tinyproxy adds
# no header to CONNECT, which it tunnels); neither has a place of its own.
add_leaking_proxies() {
    local port=$1
    proxy_listen+=("$farm_transparent_host") proxy_bind+=(127.0.0.1)
    proxy_place+=("") proxy_refuses+=(no) proxy_forwards_for+=("")
    list_entries+=("$farm_transparent_host:$port")
    list_notes+=("leaks: transparent, the service sees the user's own 127.0.0.1")
    proxy_listen+=("$farm_forwarding_host") proxy_bind+=("$farm_forwarding_exit")
    proxy_place+=("") proxy_refuses+=(no) proxy_forwards_for+=(127.0.0.1)
    list_entries+=("$farm_forwarding_host:$port")
    list_notes+=("leaks: adds X-Forwarded-For: 127.0.0.1 to plain requests (exit $farm_forwarding_exit)")
}

# add_dead_entry KIND N PORT: the N-th entry (from 1) of the KIND-th of farm_kinds.
add_dead_entry() {
    local kind=$1 host=${farm_kind_networks[$1]}.$2 port=$3
    list_entries+=("$host:$port")
    list_notes+=("${farm_kind_notes[kind]}")
    case ${farm_kinds[kind]} in
    black-holed) hole_hosts+=("$host") ;;
    silent) silent_hosts+=("$host") ;;
    refusing) refusing_hosts+=("$host") ;;
    # It never connects anywhere, so it needs no exit address of its own.
    forbidding)
        proxy_listen+=("$host") proxy_bind+=("$host") proxy_place+=("") proxy_refuses+=(yes)
        proxy_forwards_for+=("")
        ;;
    esac
}

# write_proxy_list FILE: the served list, every line ended by CR LF.
write_proxy_list() {
    local entry
    for entry in "${list_entries[@]}"; do
        printf '%s\r\n' "$entry"
    done >"$1"
}

# geo_places_block: the lines of nginx's geo map for the direct line and every exit address.
geo_places_block() {
    local i
    printf '        127.0.0.1 "%s";\n' "$farm_home_place"
    for i in "${!proxy_listen[@]}"; do
        if [[ -n ${proxy_place[i]} ]]; then
            printf '        %s "%s";\n' "${proxy_bind[i]}" "${proxy_place[i]}"
        fi
    done
}

# write_proxy_config INDEX PORT FOLDER: the tinyproxy configuration of proxy INDEX.
write_proxy_config() {
    local i=$1 port=$2 folder=$3 extra="" text
    if [[ ${proxy_refuses[i]} == yes ]]; then
        printf '.\n' >"$folder/filter"
        extra+="Filter \"$folder/filter\""$'\n'"FilterType ere"$'\n'
    fi
    # Meant to be the client's address; tinyproxy can only add a fixed text, and every client
    # on this machine connects from 127.0.0.1, so that text is right.
    if [[ -n ${proxy_forwards_for[i]} ]]; then
        extra+="AddHeader \"X-Forwarded-For\" \"${proxy_forwards_for[i]}\""$'\n'
    fi
    # As root, tinyproxy would otherwise keep serving as root.
    if [[ $EUID -eq 0 ]]; then
        extra+="User nobody"$'\n'"Group nogroup"$'\n'
    fi
    text=$(<"$service_dir/tinyproxy.conf.in")
    text=${text//@PORT@/"$port"}
    text=${text//@LISTEN@/"${proxy_listen[i]}"}
    text=${text//@BIND@/"${proxy_bind[i]}"}
    text=${text//@EXTRA_LINES@/"$extra"}
    printf '%s\n' "$text" >"$folder/tinyproxy.conf"
}
