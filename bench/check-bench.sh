#!/usr/bin/env bash
# Times kelvane-cli --check over 10,000 pages in 100 folders: Apache on
# loopback serves the relocated tree as the old host, with one pattern rule
# that answers every page with a 301 (a per-page .htaccess would measure
# Apache reading its rules), a second Apache serves the new site, so every
# page takes a 301 and a 200. Target: under 30 s.
#
# Then the same with hostile answers: the old host answers the pages of
# three folders itself with 259 KB each that cost HTML parsers the most (the
# same unfinished tag repeated, one tag with thousands of attributes, deeply
# nested elements); the healthy pages must stay "ok" and the time close to
# the first.
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
folders=100
per_folder=100
source tests/lib/loopback_apache.sh

work=$(mktemp -d /tmp/kelvane-check-bench.XXXXXX)
trap 'stop_apache "$work" old new; rm -rf "$work"' EXIT

# Both servers answer many requests at once and keep their connections.
server_directives="MaxRequestWorkers 50
KeepAliveTimeout 15
MaxKeepAliveRequests 0"

for ((f = 0; f < folders; f++)); do
    mkdir -p "$work/site/ordner $f" "$work/new/ordner $f"
    for ((p = 0; p < per_folder; p++)); do
        echo alt >"$work/site/ordner $f/seite $p.htm"
        echo neu >"$work/new/ordner $f/seite $p.htm"
    done
done
chmod -R a+rX "$work"
new_port=$(start_apache "$work" new "$work/new" None "$server_directives")
"$cli" --url "http://127.0.0.1:$new_port" "$work/site" >/dev/null
chmod -R a+rX "$work"
old_port=$(start_apache "$work" old "$work/site_Moved" None "$server_directives
RewriteEngine On
RewriteRule ^/(.*\\.htm)\$ http://127.0.0.1:$new_port/\$1 [R=301,L]")

timed_check() { # LABEL
    local start end
    start=$(date +%s.%N)
    "$cli" --check "http://127.0.0.1:$old_port" --url "http://127.0.0.1:$new_port" "$work/site" \
        >"$work/check.txt" || true
    end=$(date +%s.%N)
    tail -n1 "$work/check.txt"
    printf '%s: check of %d pages: %.2f s (target under 30 s)\n' "$1" "$((folders * per_folder))" \
        "$(echo "$end - $start" | bc -l)"
}
timed_check "healthy"

# 259 KB of each hostile kind for every page of the folders "ordner 0" to "ordner 2".
python3 - "$work/site_Moved" "$per_folder" <<'PY'
import sys
root, pages = sys.argv[1], int(sys.argv[2])
size = 259 * 1024
attributes = "<meta " + "".join(f"a{i} " for i in range(60000))
kinds = [("<meta a" * (size // 7 + 1))[:size], attributes[:size], ("<b>" * (size // 3 + 1))[:size]]
for folder, text in enumerate(kinds):
    for page in range(pages):
        with open(f"{root}/ordner {folder}/seite {page}.htm", "w") as out:
            out.write(text)
PY
chmod -R a+rX "$work"
stop_apache "$work" old
old_port=$(start_apache "$work" old "$work/site_Moved" None "$server_directives
RewriteEngine On
RewriteCond %{REQUEST_URI} !^/ordner.[012]/
RewriteRule ^/(.*\\.htm)\$ http://127.0.0.1:$new_port/\$1 [R=301,L]")
timed_check "with $((3 * per_folder)) hostile answers"
printf 'healthy pages ok: %d of %d\n' "$(grep -c $'^ok\t' "$work/check.txt")" \
    "$(((folders - 3) * per_folder))"
