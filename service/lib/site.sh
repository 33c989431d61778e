# shellcheck shell=bash
# The web sites in the runtime folder: pages, generated files, nginx configuration
# (sourced by run-local; needs plan_farm to have run).

# make_runtime_folders DIR
make_runtime_folders() {
    mkdir -p "$1"/{logs,temp,tls,proxies,www} && chmod 700 "$1"
}

# certificate_command DIR: sets certificate_args to the openssl command that makes a fresh
# self-signed certificate for 127.0.0.1 in DIR/tls.
certificate_command() {
    certificate_args=(openssl req -x509 -newkey rsa:2048 -nodes -days 30 -subj /CN=127.0.0.1
        -keyout "$1/tls/key.pem" -out "$1/tls/cert.pem")
}

# speed_test_text: 1,048,576 bytes, 16,384 lines of 64 bytes each.
speed_test_text() {
    local text="Hopvane speed test: 64 bytes a line, 16384 lines, 1048576 byte"$'\r\n' i
    for ((i = 0; i < 14; i++)); do
        text+=$text
    done
    printf '%s' "$text"
}

# write_site DIR RELEASE: the pages and the files behind the service's endpoints.
write_site() {
    local release=$2 www=$1/www
    cp -R "$service_dir/pages/." "$www/" || return 1
    mkdir -p "$www/cz/hopvane/proxylist" "$www/cz/download" || return 1
    write_proxy_list "$www/cz/hopvane/proxylist/proxy.txt"
    printf '%(%-d.%-m.%Y)T' -1 >"$www/cz/hopvane/proxylist/date-proxy-list.txt"
    printf '%s' "$release" >"$www/cz/download/KHopvane.txt"
    speed_test_text >"$www/cz/hopvane/downloadspeed.txt"
}

# write_nginx_config DIR HTTP_PORT HTTPS_PORT ENGLISH_PORT
write_nginx_config() {
    local text user_directive=""
    # As root, the workers would run as nobody and could not read the runtime folder.
    [[ $EUID -eq 0 ]] && user_directive="user root root;"
    text=$(<"$service_dir/nginx.conf.in")
    text=${text//@USER_DIRECTIVE@/"$user_directive"}
    text=${text//@RUNTIME_DIR@/"$1"}
    text=${text//@HTTP_PORT@/"$2"}
    text=${text//@HTTPS_PORT@/"$3"}
    text=${text//@ENGLISH_PORT@/"$4"}
    text=${text//@GEO_PLACES@/"$(geo_places_block)"}
    printf '%s\n' "$text" >"$1/nginx.conf"
}
