#!/usr/bin/env bash
# kelvane-cli --check against real servers on loopback: Apache serves the
# relocated tree as the old host, a Python web server the new site. First
# with one deliberate fault for every class, then with the faults removed,
# when every page must be "ok".
#
#   move_check_servers_test.sh KELVANE_CLI
set -euo pipefail

cli=$1
source "$(dirname "${BASH_SOURCE[0]}")/../lib/loopback_apache.sh"
require_apache_tools || exit 1

work=$(mktemp -d /tmp/kelvane-check.XXXXXX)
new_pid=
trap 'stop_apache "$work" old; [[ -z $new_pid ]] || kill "$new_pid" 2>/dev/null; rm -rf "$work"' EXIT

# The new site: every page at its new address.
new_port=$(free_port)
new_url=http://127.0.0.1:$new_port
mkdir -p "$work/new"
python3 -m http.server --bind 127.0.0.1 --directory "$work/new" "$new_port" >"$work/new.log" 2>&1 &
new_pid=$!
wait_for_url "$new_url/" || { echo "FAIL: the new host did not start"; cat "$work/new.log"; exit 1; }
dead_port=$(free_port)

pages=("index.htm" "x/b page.htm" "Über uns/Team.htm" "norules/c.htm" "norules/weg.htm"
       "anders.htm" "kreis.htm" "fehlt.htm" "alt/karte.htm" "alt/mit, Komma.htm" "tot.htm")
site=$work/site
for page in "${pages[@]}"; do
    mkdir -p "$(dirname "$site/$page")"
    echo old >"$site/$page"
done

# The new pages: mirrored paths, and the mapped ones where the mapping says.
fill_new_site() {
    rm -rf "$work/new"/*
    for page in "${pages[@]}" neu/karte.htm neu/komma.htm woanders.htm; do
        mkdir -p "$(dirname "$work/new/$page")"
        echo "<p>neu</p>" >"$work/new/$page"
    done
}

relocate() { # MAPPING_TEXT
    printf '%b' "$1" >"$work/map.csv"
    rm -rf "$work/site_Moved"
    "$cli" --htaccess --map "$work/map.csv" --url "$new_url" "$site" >/dev/null
    chmod -R a+rX "$work"
}

failures=0
# Compares the class of every page with the expectation "PATH=CLASS ...".
expect_classes() { # OUTPUT EXPECTATIONS...
    local output=$1 path class line
    shift
    for expectation in "$@"; do
        path=${expectation%=*}
        class=${expectation##*=}
        line=$(grep -F "/$path"$'\t' <<<"$output" | head -n1 || true)
        if [[ ${line%%$'\t'*} != "$class" ]]; then
            echo "FAIL: $path should be $class, got: ${line:-nothing}"
            failures=$((failures + 1))
        fi
    done
}

mapping='alte Datei,neue URL\r\nalt/karte.htm,'$new_url'/neu/karte.htm\r\n"alt/mit, Komma.htm","'$new_url'/neu/komma.htm"\r\n'

# With faults.
fill_new_site
rm "$work/new/fehlt.htm"
relocate "$mapping"'tot.htm,http://127.0.0.1:'$dead_port'/tot.htm\r\n'
rm "$work/site_Moved/norules/weg.htm"
printf 'RewriteEngine Off\n' >"$work/site_Moved/norules/.htaccess"
sed -i "s|^RewriteEngine On\$|&\\
RewriteRule ^anders\\\\.htm\$ $new_url/woanders.htm [R=301,L]\\
RewriteRule ^kreis\\\\.htm\$ /kreis2.htm [R=302,L]\\
RewriteRule ^kreis2\\\\.htm\$ /kreis.htm [R=301,L]|" "$work/site_Moved/.htaccess"
old_port=$(start_apache "$work" old "$work/site_Moved" All)
status=0
output=$("$cli" --check "http://127.0.0.1:$old_port" --map "$work/map.csv" --url "$new_url" \
    --report "$work/check.csv" "$site") || status=$?
expect_classes "$output" "index.htm=ok" "x/b%20page.htm=ok" "%C3%9Cber%20uns/Team.htm=ok" \
    "norules/c.htm=nur-seite" "norules/weg.htm=alt-fehlt" "anders.htm=falsches-ziel" \
    "kreis.htm=schleife" "fehlt.htm=ziel-fehlt" "alt/karte.htm=ok" "alt/mit,%20Komma.htm=ok" \
    "tot.htm=fehler"
grep -q $'^fehler\t.*\tkeine Verbindung$' <<<"$output" || { echo "FAIL: no reason for fehler"; failures=$((failures + 1)); }
grep -qx 'Geprüft: 11, ok: 5, nur-seite: 1, falsches-ziel: 1, ziel-fehlt: 1, alt-fehlt: 1, schleife: 1, fehler: 1' <<<"$output" \
    || { echo "FAIL: summary: $(tail -n1 <<<"$output")"; failures=$((failures + 1)); }
[[ $status == 4 && $(head -n1 "$work/check.csv") == $'\xEF\xBB\xBFKlasse,Alte URL,Ziel-URL,Status\r' &&
    $(wc -l <"$work/check.csv") == 12 ]] ||
    { echo "FAIL: exit status $status (expected 4) or report"; cat "$work/check.csv"; failures=$((failures + 1)); }
stop_apache "$work" old

# Without faults.
fill_new_site
relocate "$mapping"'tot.htm,'$new_url'/tot.htm\r\n'
old_port=$(start_apache "$work" old "$work/site_Moved" All)
status=0
output=$("$cli" --check "http://127.0.0.1:$old_port/" --map "$work/map.csv" --url "$new_url" "$site") \
    || status=$?
if [[ $status != 0 ]] || ! grep -qx 'Geprüft: 11, ok: 11, nur-seite: 0, falsches-ziel: 0, ziel-fehlt: 0, alt-fehlt: 0, schleife: 0, fehler: 0' <<<"$output"; then
    echo "FAIL: without faults (exit $status):"
    echo "$output"
    failures=$((failures + 1))
fi

if ((failures)); then
    echo "--- output"; echo "$output"
    echo "--- .htaccess"; cat "$work/site_Moved/.htaccess"
    echo "--- error.log"; cat "$work/old-error.log"
    exit 1
fi
echo "every class came out as built; without the faults all 11 pages are ok"
