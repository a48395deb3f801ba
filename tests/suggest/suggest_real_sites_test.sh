#!/usr/bin/env bash
# Suggestions on restructured real sites: Debian's Python documentation and
# its Debian Reference, each rebuilt as a new site (restructure_site.py).
# The Python pair is read from folders; the Debian Reference pair from a
# web server on loopback through robots.txt, a sitemap index and a packed
# sitemap, and from a text file of its addresses. Then the whole way: the
# suggested file as --map for a run with .htaccess, Apache serving the
# result as the old host, and --check, when every page must arrive.
#
#   suggest_real_sites_test.sh KELVANE_CLI
set -euo pipefail

cli=$1
here=$(dirname "${BASH_SOURCE[0]}")
source "$here/../lib/loopback_apache.sh"
require_apache_tools || exit 1

python_docs=
for candidate in /usr/share/doc/python3/html /usr/share/doc/python3.11/html /usr/share/doc/python3-doc/html; do
    [[ -f $candidate/library/os.html ]] && { python_docs=$candidate; break; }
done
debian_reference=/usr/share/debian-reference
[[ -n $python_docs ]] || { echo "FAIL: python3-doc is missing (scripts/install-deps.sh)"; exit 1; }
[[ -f $debian_reference/ch02.en.html ]] ||
    { echo "FAIL: debian-reference-en is missing (scripts/install-deps.sh)"; exit 1; }

work=$(mktemp -d /tmp/kelvane-suggest.XXXXXX)
new_pid=
trap 'stop_apache "$work" old; [[ -z $new_pid ]] || kill "$new_pid" 2>/dev/null; rm -rf "$work"' EXIT
failures=0

suggest() { # PAIR NEW BASE NAME
    local status=0
    "$cli" --suggest-map "$2" --output "$work/$1.$4.csv" --url "$3" --types html "$work/$1/old" \
        >"$work/$1.$4.out" 2>"$work/$1.$4.err" || status=$?
    if [[ $status -ne 0 ]]; then
        echo "FAIL: $4 ended with $status"; cat "$work/$1.$4.err"; failures=$((failures + 1))
        return 0
    fi
    python3 "$here/evaluate_suggestions.py" "$work/$1/truth.json" "$work/$1.$4.csv" "$3" "$1 ($4)" ||
        failures=$((failures + 1))
}

python3 "$here/restructure_site.py" python "$python_docs" "$work/python"
suggest python "$work/python/new" http://neu.example ordner

new_port=$(free_port)
new_url=http://127.0.0.1:$new_port
python3 "$here/restructure_site.py" debref "$debian_reference" "$work/debref" "$new_url"
python3 -m http.server --bind 127.0.0.1 --directory "$work/debref/new" "$new_port" \
    >"$work/new.log" 2>&1 &
new_pid=$!
wait_for_url "$new_url/" || { echo "FAIL: the new host did not start"; cat "$work/new.log"; exit 1; }
suggest debref "$new_url/" "$new_url" sitemap
python3 - "$work/debref/truth.json" "$new_url" >"$work/adressen.txt" <<'PY'
import json, sys
print("# die Adressen der neuen Site")
for path in sorted(set(v for v in json.load(open(sys.argv[1])).values() if v)):
    print(sys.argv[2] + "/" + path.replace("index.html", ""))
PY
suggest debref "$work/adressen.txt" "$new_url" liste

# The suggested file goes to --map unchanged; the relocated pages and their
# rules, served as the old host, must bring every page to its new address.
"$cli" --htaccess --map "$work/debref.sitemap.csv" --url "$new_url" "$work/debref/old" >/dev/null
chmod -R a+rX "$work"
old_port=$(start_apache "$work" old "$work/debref/old_Moved" All)
if ! "$cli" --check "http://127.0.0.1:$old_port" --map "$work/debref.sitemap.csv" \
    --url "$new_url" --types html "$work/debref/old" >"$work/check.out" 2>&1; then
    echo "FAIL: not every page arrives"; cat "$work/check.out"; failures=$((failures + 1))
fi
tail -n1 "$work/check.out"

# An output file inside the old site could replace a page: refused.
if "$cli" --suggest-map "$work/debref/new" --output "$work/debref/old/x.csv" --url "$new_url" \
    "$work/debref/old" 2>/dev/null; then
    echo "FAIL: an output file inside the site was taken"; failures=$((failures + 1))
fi
[[ ! -e $work/debref/old/x.csv ]] || { echo "FAIL: x.csv was written"; failures=$((failures + 1)); }

[[ $failures -eq 0 ]] && echo "PASS" || { echo "FAIL: $failures"; exit 1; }
