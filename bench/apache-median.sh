#!/usr/bin/env bash
# Apache's median request time over a site relocated with its .htaccess: the
# rules are read again on every request, so their size is what counts.
#
#   bench/apache-median.sh KELVANE_CLI SITE [REQUESTS]
# SITE is relocated again with --server apache; the target is 20 ms median.
set -euo pipefail

cli=$1
site=$2
requests=${3:-300}
modules=/usr/lib/apache2/modules
url=http://neu.example/home

work=$(mktemp -d /tmp/kelvane-apache-bench.XXXXXX)
stop_apache() {
    [[ -s $work/httpd.pid ]] && kill "$(cat "$work/httpd.pid")" 2>/dev/null || true
}
trap 'stop_apache; rm -rf "$work"' EXIT

"$cli" --yes --server apache --url "$url" "$site" >/dev/null 2>&1
moved=${site}_Moved
printf '%s pages, .htaccess of %s bytes\n' "$(find "$moved" -type f ! -name '.*' | wc -l)" \
    "$(stat -c %s "$moved/.htaccess")"
chmod -R a+rX "$moved"

port=$(python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
user=""
[[ $(id -u) -ne 0 ]] || user=$'User nobody\nGroup nogroup'
cat >"$work/httpd.conf" <<CONF
ServerRoot "$work"
ServerName 127.0.0.1
Listen 127.0.0.1:$port
PidFile "$work/httpd.pid"
ErrorLog "$work/error.log"
DefaultRuntimeDir "$work"
LoadModule mpm_event_module $modules/mod_mpm_event.so
LoadModule authz_core_module $modules/mod_authz_core.so
LoadModule rewrite_module $modules/mod_rewrite.so
$user
DocumentRoot "$moved"
<Directory "$moved">
    AllowOverride All
    Require all granted
</Directory>
CONF
/usr/sbin/apache2 -f "$work/httpd.conf" -k start
for _ in $(seq 100); do
    curl -s -o /dev/null --max-time 1 "http://127.0.0.1:$port/" && break
    sleep 0.1
done

# Old addresses of pages spread over the tree, each asked for once.
mapfile -t paths < <(cd "$moved" && find . -type f ! -name '.*' | shuf -n "$requests")
for path in "${paths[@]}"; do
    path=${path#./}
    curl -s -o /dev/null --max-time 10 -w '%{time_total}\n' "http://127.0.0.1:$port/${path// /%20}" ||
        echo "FAIL: $path" >&2
done | sort -n | awk '{ t[NR] = $1 } END {
    printf "Apache median request time: %.1f ms over %d requests (target 20 ms)\n",
        1000 * (NR % 2 ? t[(NR + 1) / 2] : (t[NR / 2] + t[NR / 2 + 1]) / 2), NR }'
