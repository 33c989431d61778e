# shellcheck shell=bash
# The processes that run-local starts, and how they are stopped (sourced by run-local).
# Every pid also goes to "$pid_file", so that the watchdog can stop them all when run-local
# itself is killed outright.

started_pids=()
started_names=()
started_logs=()

# read_stat PID: sets stat_state and stat_parent; fails when the process does not exist.
read_stat() {
    local line fields
    { read -r line <"/proc/$1/stat"; } 2>/dev/null || return 1
    read -ra fields <<<"${line##*) }"
    stat_state=${fields[0]} stat_parent=${fields[1]}
}

# process_running PID: the process exists and has not ended (a zombie has).
process_running() {
    read_stat "$1" && [[ $stat_state != Z ]]
}

# open_ticks: a fifo nobody writes to, so that pause can sleep without starting a process;
# a sleeping child would otherwise outlive a watchdog killed in its sleep.
open_ticks() {
    mkfifo "$runtime_dir/ticks" && exec {tick_fd}<>"$runtime_dir/ticks"
}

# pause SECONDS
pause() {
    read -r -t "$1" -u "$tick_fd"
    return 0
}

# port_open HOST PORT: something accepts connections there.
port_open() {
    { : <>"/dev/tcp/$1/$2"; } 2>/dev/null
}

# first_line_is TEXT FILE: the first line of FILE is TEXT.
first_line_is() {
    local line
    { read -r line <"$2"; } 2>/dev/null && [[ $line == "$1" ]]
}

# start_service_process NAME LOG COMMAND...: in the background, output to LOG.
start_service_process() {
    local name=$1 log=$2
    shift 2
    "$@" </dev/null >>"$log" 2>&1 {stdin_fd}<&- {tick_fd}<&- &
    remember_started "$!" "$name" "$log"
}

# start_program COMMAND...: in the background with the caller's terminal, so that run-local
# can still act on signals while it runs.
start_program() {
    "$@" <&"$stdin_fd" {stdin_fd}<&- {tick_fd}<&- &
    program_pid=$!
    remember_started "$program_pid" "$1" ""
}

remember_started() {
    started_pids+=("$1") started_names+=("$2") started_logs+=("$3")
    printf '%s %s\n' "$1" "$2" >>"$pid_file"
}

# forget_started PID: for a process that has ended and been reaped.
forget_started() {
    local i pids=() names=() logs=()
    for i in "${!started_pids[@]}"; do
        [[ ${started_pids[i]} == "$1" ]] && continue
        pids+=("${started_pids[i]}") names+=("${started_names[i]}") logs+=("${started_logs[i]}")
    done
    started_pids=("${pids[@]}") started_names=("${names[@]}") started_logs=("${logs[@]}")
    for i in "${!started_pids[@]}"; do
        printf '%s %s\n' "${started_pids[i]}" "${started_names[i]}"
    done >"$pid_file"
}

# check_started_running: fails, naming the process and showing its log, when one has ended.
check_started_running() {
    local i
    for i in "${!started_pids[@]}"; do
        if ! process_running "${started_pids[i]}"; then
            echo "run-local: ${started_names[i]} ended unexpectedly" >&2
            [[ -n ${started_logs[i]} ]] && tail -n 5 "${started_logs[i]}" >&2
            return 1
        fi
    done
}

# wait_until DESCRIPTION COMMAND...: retries the command until it succeeds, for 10 s at most,
# and gives up at once when a started process has ended.
wait_until() {
    local deadline=$((SECONDS + 10))
    until "${@:2}"; do
        check_started_running || return 1
        if ((SECONDS >= deadline)); then
            echo "run-local: $1 does not answer" >&2
            return 1
        fi
        pause 0.005
    done
}

# answers_with STATUS HOST PORT TARGET: an HTTP/1.0 GET of TARGET sent there is answered with
# STATUS (the status code).
answers_with() {
    local fd line status
    { exec {fd}<>"/dev/tcp/$2/$3"; } 2>/dev/null || return 1
    printf 'GET %s HTTP/1.0\r\nHost: 127.0.0.1\r\n\r\n' "$4" >&"$fd"
    read -r -t 5 -u "$fd" status
    while read -r -t 5 -u "$fd" line; do
        :
    done
    exec {fd}>&-
    [[ $status == HTTP/1.?" $1 "* ]]
}

# kill_with_children PID: the last resort for a process that ignores SIGTERM; nginx's
# workers would outlive a killed master.
kill_with_children() {
    local children=() task
    for task in /proc/"$1"/task/*/children; do
        children=()
        { read -ra children <"$task"; } 2>/dev/null
        ((${#children[@]})) && kill -KILL "${children[@]}" 2>/dev/null
    done
    kill -KILL "$1" 2>/dev/null
}

# end_processes PID...: SIGTERM to each, 5 s to end, then SIGKILL.
end_processes() {
    local deadline=$((SECONDS + 5)) pid left
    for pid; do
        process_running "$pid" && kill -TERM "$pid" 2>/dev/null
    done
    while :; do
        left=()
        for pid; do
            process_running "$pid" && left+=("$pid")
        done
        ((${#left[@]} == 0)) && return 0
        ((SECONDS >= deadline)) && break
        pause 0.005
    done
    for pid in "${left[@]}"; do
        kill_with_children "$pid"
    done
}

# stop_started: the program first, so that it never sees the service go away under it,
# then the service; every child is reaped.
stop_started() {
    local service_pids=() pid
    for pid in "${started_pids[@]}"; do
        [[ $pid != "${program_pid:-}" ]] && service_pids+=("$pid")
    done
    [[ -n ${program_pid:-} ]] && end_processes "$program_pid"
    ((${#service_pids[@]})) && end_processes "${service_pids[@]}"
    for pid in "${started_pids[@]}"; do
        wait "$pid" 2>/dev/null
    done
}

# stop_listed: what the watchdog does once run-local is gone and cannot reap its children.
stop_listed() {
    local pids=() pid
    while read -r pid _; do
        pids+=("$pid")
    done <"$pid_file"
    ((${#pids[@]})) && end_processes "${pids[@]}"
}

# watch_over MAIN CALLER: runs in the background while run-local lives. When the caller ends
# (run-local gets another parent), it asks run-local to stop; when run-local itself is gone,
# it stops what run-local started and removes the runtime folder.
watch_over() {
    local main=$1 caller=$2 asked=no
    while pause 0.1; do
        if ! process_running "$main"; then
            stop_listed
            remove_runtime_folder
            exit 0
        fi
        if [[ $asked == no && $caller -ne 1 && $stat_parent -ne $caller ]]; then
            echo "run-local: the caller (pid $caller) has ended; stopping" >&2
            asked=yes
            kill -TERM "$main"
        fi
    done
}
