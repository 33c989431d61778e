# shellcheck shell=bash
# The local proxy farm and the proxy list that the service serves (sourced by run-local).
#
# The list holds the failures met in real lists first, then the good proxies, then a copy of
# the first good line, so a program walking it blacklists every failure before it reaches a
# proxy that works. The copy repeats a good entry on purpose: a repeated failing entry would
# be tested again and again once its first copy is blacklisted.

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

# plan_farm GOOD PORT: fills the arrays below.
#   list_entries, list_notes: the lines of the served list and what each one is for;
#   proxy_listen, proxy_bind, proxy_place, proxy_refuses: one item per tinyproxy to run.
plan_farm() {
    local good=$1 port=$2 i
    list_entries=() list_notes=()
    proxy_listen=() proxy_bind=() proxy_place=() proxy_refuses=()

    list_entries+=("$farm_dead_host:$port")
    list_notes+=("fails: nothing listens there (connection refused)")
    # A filter matching every host makes tinyproxy refuse plain requests and CONNECT alike
    # with "403 Filtered", once it has read the request. A ConnectPort limit would refuse
    # CONNECT only, and nginx answers CONNECT with 400 whatever it is told.
    list_entries+=("127.0.0.3:$port")
    list_notes+=("fails: the proxy refuses every request with \"403 Filtered\"")
    proxy_listen+=(127.0.0.3) proxy_bind+=(127.0.0.103) proxy_place+=("") proxy_refuses+=(yes)
    list_entries+=("127.0.0.4")
    list_notes+=("fails: no port, so no request is sent")
    list_entries+=("127.0.0.5:http")
    list_notes+=("fails: the port is not a number, so no request is sent")

    for ((i = 1; i <= good; i++)); do
        proxy_listen+=("127.0.0.$((10 + i))") proxy_bind+=("127.0.0.$((110 + i))")
        proxy_place+=("${farm_places[i - 1]}") proxy_refuses+=(no)
        list_entries+=("127.0.0.$((10 + i)):$port")
        list_notes+=("works: the service sees 127.0.0.$((110 + i)), in ${farm_places[i - 1]}")
    done

    list_entries+=("127.0.0.11:$port")
    list_notes+=("works: the same line as the first good proxy")
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
