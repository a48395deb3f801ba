#!/usr/bin/env bash
# Times kelvane-cli --check over 10,000 pages in 100 folders: Apache on
# loopback serves the relocated tree as the old host, with one pattern rule
# that answers every page with a 301 (a per-page .htaccess would measure
# Apache reading its rules), a second Apache serves the new site, so every
# page takes a 301 and a 200. Target: under 30 s.
#
#   bench/check-bench.sh [BUILD_DIRECTORY]     (default: build-bench, built here)
set -euo pipefail
cd "$(dirname "$0")/.."

build=${1:-build-bench}
if [[ -z ${1:-} ]]; then
    scripts/install-deps.sh
    cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF -DKELVANE_BUILD_GUI=OFF >/dev/null
    cmake --build "$build" --target kelvane-cli -j "$(nproc)" >/dev/null
fi
cli=$build/bin/kelvane-cli
apache=/usr/sbin/apache2
modules=/usr/lib/apache2/modules
folders=100
per_folder=100

work=$(mktemp -d /tmp/kelvane-check-bench.XXXXXX)
stop() {
    for name in old new; do
        [[ -s $work/$name.pid ]] && kill "$(cat "$work/$name.pid")" 2>/dev/null || true
    done
}
trap 'stop; rm -rf "$work"' EXIT

free_port() {
    python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])'
}

start_apache() { # NAME PORT DOCUMENT_ROOT [REDIRECT_TARGET]
    local rules=
    [[ -z ${4:-} ]] || rules="RewriteEngine On
RewriteRule ^/(.*\\.htm)\$ $4/\$1 [R=301,L]"
    cat >"$work/$1.conf" <<CONF
ServerRoot "$work"
ServerName 127.0.0.1
Listen 127.0.0.1:$2
PidFile "$work/$1.pid"
ErrorLog "$work/$1-error.log"
DefaultRuntimeDir "$work/$1-run"
LoadModule mpm_event_module $modules/mod_mpm_event.so
LoadModule authz_core_module $modules/mod_authz_core.so
LoadModule rewrite_module $modules/mod_rewrite.so
<IfDefine !NotRoot>
User nobody
Group nogroup
</IfDefine>
MaxRequestWorkers 50
KeepAliveTimeout 15
MaxKeepAliveRequests 0
DocumentRoot "$3"
$rules
<Directory "$3">
    AllowOverride None
    Require all granted
</Directory>
CONF
    mkdir -p "$work/$1-run"
    "$apache" -f "$work/$1.conf" -k start
    for _ in $(seq 50); do
        curl -s -o /dev/null --max-time 1 "http://127.0.0.1:$2/" && return 0
        sleep 0.1
    done
    echo "Apache ($1) did not start" >&2
    cat "$work/$1-error.log" >&2
    return 1
}

for ((f = 0; f < folders; f++)); do
    mkdir -p "$work/site/ordner $f" "$work/new/ordner $f"
    for ((p = 0; p < per_folder; p++)); do
        echo alt >"$work/site/ordner $f/seite $p.htm"
        echo neu >"$work/new/ordner $f/seite $p.htm"
    done
done
new_port=$(free_port)
old_port=$(free_port)
"$cli" --url "http://127.0.0.1:$new_port" "$work/site" >/dev/null
chmod -R a+rX "$work"
start_apache new "$new_port" "$work/new"
start_apache old "$old_port" "$work/site_Moved" "http://127.0.0.1:$new_port"

start=$(date +%s.%N)
"$cli" --check "http://127.0.0.1:$old_port" --url "http://127.0.0.1:$new_port" "$work/site" \
    >"$work/check.txt"
end=$(date +%s.%N)
tail -n1 "$work/check.txt"
printf 'check of %d pages: %.2f s (target under 30 s)\n' "$((folders * per_folder))" \
    "$(echo "$end - $start" | bc -l)"
