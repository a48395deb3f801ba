#!/usr/bin/env bash
# kelvane-cli --check against real servers on loopback: Apache serves the
# relocated tree as the old host, a second Apache the new site. First with
# one deliberate fault for every class and every note, then with the faults
# removed, when every address must be "ok" without a note. The old host is
# called alt.test and www.alt.test, both led to the old server on loopback.
#
#   move_check_servers_test.sh KELVANE_CLI
set -euo pipefail

cli=$1
source "$(dirname "${BASH_SOURCE[0]}")/../lib/loopback_apache.sh"
require_apache_tools || exit 1

work=$(mktemp -d /tmp/kelvane-check.XXXXXX)
trap 'stop_apache "$work" old new; rm -rf "$work"' EXIT

# The new site: every page at its new address, with types, index pages and
# headers set per folder.
mkdir -p "$work/new"
chmod a+rx "$work"
new_port=$(start_apache "$work" new "$work/new" All "LoadModule headers_module $apache_modules/mod_headers.so
LoadModule dir_module $apache_modules/mod_dir.so
LoadModule mime_module $apache_modules/mod_mime.so
TypesConfig /etc/mime.types
DirectoryIndex index.htm")
new_url=http://127.0.0.1:$new_port
dead_port=$(free_port)

pages=("index.htm" "x/b page.htm" "Über uns/Team.htm" "norules/c.htm" "norules/weg.htm"
       "anders.htm" "kreis.htm" "fehlt.htm" "alt/karte.htm" "alt/mit, Komma.htm" "tot.htm"
       "kette.htm" "gesperrt/seite.htm" "privat/p.htm" "noindex.htm" "kopf.htm" "kanon.htm")
site=$work/site
for page in "${pages[@]}"; do
    mkdir -p "$(dirname "$site/$page")"
    echo old >"$site/$page"
done

# The new pages: mirrored paths, and the mapped ones where the mapping says.
fill_new_site() {
    rm -rf "$work/new"/* "$work/new/.htaccess"
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

# Asks the old host under its name; both of its names lead to the old server.
check() { # OLD_PORT ARGUMENTS...
    local port=$1
    shift
    KELVANE_CHECK_CONNECT_TO="alt.test:$port:127.0.0.1:$port www.alt.test:$port:127.0.0.1:$port" \
        "$cli" --check "http://alt.test:$port" --map "$work/map.csv" --url "$new_url" "$@" "$site"
}

failures=0
# Compares the class of every page with the expectation "PATH=CLASS ...".
expect_classes() { # OUTPUT EXPECTATIONS...
    local output=$1 path class line
    shift
    for expectation in "$@"; do
        path=${expectation%=*}
        class=${expectation##*=}
        line=$(grep -F "$path"$'\t' <<<"$output" | head -n1 || true)
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
printf '<meta name="robots" content="noindex"><p>neu</p>\n' >"$work/new/noindex.htm"
printf '<link rel="canonical" href="/anderswo.htm"><p>neu</p>\n' >"$work/new/kanon.htm"
printf '<Files "kopf.htm">\nHeader set X-Robots-Tag "noindex, nofollow"\n</Files>\n' >"$work/new/.htaccess"
printf 'User-agent: *\nDisallow: /privat/\n' >"$work/new/robots.txt"
relocate "$mapping"'tot.htm,http://127.0.0.1:'$dead_port'/tot.htm\r\n'
rm "$work/site_Moved/norules/weg.htm"
printf 'RewriteEngine Off\n' >"$work/site_Moved/norules/.htaccess"
printf 'User-agent: *\nDisallow: /gesperrt/\n' >"$work/site_Moved/robots.txt"
sed -i "s|^RewriteEngine On\$|&\\
RewriteCond %{HTTP_HOST} ^www\\\\.\\
RewriteRule ^\$ $new_url/woanders.htm [R=301,L]\\
RewriteRule ^anders\\\\.htm\$ $new_url/woanders.htm [R=301,L]\\
RewriteRule ^kette\\\\.htm\$ /kette2.htm [R=302,L]\\
RewriteRule ^kette2\\\\.htm\$ $new_url/kette.htm [R=301,L]\\
RewriteRule ^kreis\\\\.htm\$ /kreis2.htm [R=302,L]\\
RewriteRule ^kreis2\\\\.htm\$ /kreis.htm [R=301,L]|" "$work/site_Moved/.htaccess"
chmod -R a+rX "$work"
old_port=$(start_apache "$work" old "$work/site_Moved" All)
status=0
output=$(check "$old_port" --report "$work/check.csv") || status=$?
expect_classes "$output" "/index.htm=ok" "/x/b%20page.htm=ok" "/%C3%9Cber%20uns/Team.htm=ok" \
    "/norules/c.htm=nur-seite" "/norules/weg.htm=alt-fehlt" "/anders.htm=falsches-ziel" \
    "/kreis.htm=schleife" "/fehlt.htm=ziel-fehlt" "/alt/karte.htm=ok" "/alt/mit,%20Komma.htm=ok" \
    "/tot.htm=fehler" "//alt.test:$old_port/=ok" "//www.alt.test:$old_port/=falsches-ziel"
# Hops and notes: the fifth and sixth field.
expect_notes() { # OUTPUT PATH=HOPS=NOTES...
    local output=$1 line
    shift
    for expectation in "$@"; do
        IFS== read -r path hops notes <<<"$expectation"
        line=$(grep -F "$path"$'\t' <<<"$output" | head -n1 || true)
        if [[ $(cut -f5,6 <<<"$line") != "$hops"$'\t'"$notes" ]]; then
            echo "FAIL: $path should have $hops hops and notes '$notes', got: ${line:-nothing}"
            failures=$((failures + 1))
        fi
    done
}
expect_notes "$output" "/index.htm=1=" "/kette.htm=2=kette" "/gesperrt/seite.htm=1=robots-alt" \
    "/privat/p.htm=1=robots-neu" "/noindex.htm=1=noindex" "/kopf.htm=1=noindex" \
    "/kanon.htm=1=canonical-anders" "//www.alt.test:$old_port/=1=hostvariante" \
    "/norules/c.htm=1="
grep -q $'^fehler\t.*\tkeine Verbindung\t1\t$' <<<"$output" || { echo "FAIL: no reason for fehler"; failures=$((failures + 1)); }
grep -qx 'Geprüft: 19, ok: 12, nur-seite: 1, falsches-ziel: 2, ziel-fehlt: 1, alt-fehlt: 1, schleife: 1, fehler: 1; Hinweise: kette: 1, noindex: 2, canonical-anders: 1, robots-alt: 1, robots-neu: 1, hostvariante: 1' <<<"$output" \
    || { echo "FAIL: summary: $(tail -n1 <<<"$output")"; failures=$((failures + 1)); }
[[ $status == 4 && $(head -n1 "$work/check.csv") == $'\xEF\xBB\xBFKlasse,Alte URL,Ziel-URL,Status,Sprünge,Hinweise\r' &&
    $(wc -l <"$work/check.csv") == 20 ]] ||
    { echo "FAIL: exit status $status (expected 4) or report"; cat "$work/check.csv"; failures=$((failures + 1)); }
stop_apache "$work" old

# Without faults.
fill_new_site
relocate "$mapping"'tot.htm,'$new_url'/tot.htm\r\n'
old_port=$(start_apache "$work" old "$work/site_Moved" All)
status=0
output=$(check "$old_port") || status=$?
if [[ $status != 0 ]] || ! grep -qx 'Geprüft: 19, ok: 19, nur-seite: 0, falsches-ziel: 0, ziel-fehlt: 0, alt-fehlt: 0, schleife: 0, fehler: 0' <<<"$output" ||
    [[ -n $(cut -s -f6 <<<"$output" | tr -d "\n") ]]; then
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
echo "every class and note came out as built; without the faults all 19 addresses are ok"
