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
url=http://neu.example/home
source "$(dirname "$0")/../tests/lib/loopback_apache.sh"

work=$(mktemp -d /tmp/kelvane-apache-bench.XXXXXX)
trap 'stop_apache "$work" httpd; rm -rf "$work"' EXIT

"$cli" --yes --server apache --url "$url" "$site" >/dev/null 2>&1
moved=${site}_Moved
printf '%s pages, .htaccess of %s bytes\n' "$(find "$moved" -type f ! -name '.*' | wc -l)" \
    "$(stat -c %s "$moved/.htaccess")"
chmod -R a+rX "$moved"

port=$(start_apache "$work" httpd "$moved" All)

# Old addresses of pages spread over the tree, each asked for once.
mapfile -t paths < <(cd "$moved" && find . -type f ! -name '.*' | shuf -n "$requests")
for path in "${paths[@]}"; do
    path=${path#./}
    curl -s -o /dev/null --max-time 10 -w '%{time_total}\n' "http://127.0.0.1:$port/${path// /%20}" ||
        echo "FAIL: $path" >&2
done | sort -n | awk '{ t[NR] = $1 } END {
    printf "Apache median request time: %.1f ms over %d requests (target 20 ms)\n",
        1000 * (NR % 2 ? t[(NR + 1) / 2] : (t[NR / 2] + t[NR / 2 + 1]) / 2), NR }'
