# Apache httpd on loopback for the tests and benchmarks that need a real one.
# Every server listens on 127.0.0.1 only, every wait is bounded, and
# stop_apache ends what start_apache started; call it from an EXIT trap.
# The files of server NAME live in WORK: NAME.conf, NAME.pid,
# NAME-error.log and the runtime folder NAME-run.
#
#   source tests/lib/loopback_apache.sh
#   port=$(start_apache WORK NAME DOCUMENT_ROOT ALLOW_OVERRIDE [DIRECTIVES])
#   stop_apache WORK NAME...

apache_binary=/usr/sbin/apache2
apache_modules=/usr/lib/apache2/modules

# Fails with a message when a program the servers need is not installed.
require_apache_tools() {
    local tool
    for tool in "$apache_binary" curl python3; do
        command -v "$tool" >/dev/null ||
            { echo "FAIL: $tool is missing (scripts/install-deps.sh installs it)"; return 1; }
    done
}

# A port no one listens on now; start_apache tries again should another
# program take it first.
free_port() {
    python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])'
}

# Succeeds once URL answers at all, giving up after TRIES polls 0.1 s apart.
wait_for_url() { # URL [TRIES]
    local tries=${2:-50}
    for _ in $(seq "$tries"); do
        curl -s -o /dev/null --max-time 1 "$1" && return 0
        sleep 0.1
    done
    return 1
}

# The configuration every server shares: loopback, its files in WORK,
# mod_rewrite, one served folder.
apache_conf() { # WORK NAME PORT DOCUMENT_ROOT ALLOW_OVERRIDE
    cat <<CONF
ServerRoot "$1"
ServerName 127.0.0.1
Listen 127.0.0.1:$3
PidFile "$1/$2.pid"
ErrorLog "$1/$2-error.log"
LogLevel warn
DefaultRuntimeDir "$1/$2-run"
LoadModule mpm_event_module $apache_modules/mod_mpm_event.so
LoadModule authz_core_module $apache_modules/mod_authz_core.so
LoadModule rewrite_module $apache_modules/mod_rewrite.so
DocumentRoot "$4"
<Directory "$4">
    AllowOverride $5
    Require all granted
</Directory>
CONF
    # Started as root, Apache serves as an unprivileged user; the served
    # folders must be readable for everyone then.
    [[ $(id -u) -ne 0 ]] || printf 'User nobody\nGroup nogroup\n'
}

# Starts server NAME with the shared configuration and DIRECTIVES after it,
# waits until it answers and prints its port.
start_apache() { # WORK NAME DOCUMENT_ROOT ALLOW_OVERRIDE [DIRECTIVES]
    local work=$1 name=$2 port
    mkdir -p "$work/$name-run"
    for _ in 1 2 3 4 5 6 7 8; do
        port=$(free_port)
        { apache_conf "$work" "$name" "$port" "$3" "$4"; printf '%s\n' "${5:-}"; } >"$work/$name.conf"
        rm -f "$work/$name.pid"
        if "$apache_binary" -f "$work/$name.conf" -k start 2>>"$work/$name-error.log" &&
            wait_for_url "http://127.0.0.1:$port/"; then
            echo "$port"
            return 0
        fi
        stop_apache "$work" "$name"
    done
    echo "FAIL: Apache ($name) did not start" >&2
    cat "$work/$name-error.log" >&2
    return 1
}

# Stops the named servers and waits, bounded, until each has removed its
# pid file, so that the next server or the removal of WORK finds it gone.
stop_apache() { # WORK NAME...
    local work=$1 name
    shift
    for name in "$@"; do
        [[ -s $work/$name.pid ]] || continue
        kill "$(cat "$work/$name.pid")" 2>/dev/null || continue
        for _ in $(seq 50); do
            [[ -e $work/$name.pid ]] || break
            sleep 0.1
        done
    done
    return 0
}
