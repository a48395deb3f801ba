#!/usr/bin/env bash
# Serves an output tree written by kelvane-cli --htaccess through a real Apache
# httpd on loopback, once at the server root and once under a user folder
# alias, and checks that every old address answers 301 with its page's URL.
#
#   htaccess_apache_test.sh KELVANE_CLI
set -euo pipefail

cli=$1
new_url=http://neu.example/home
source "$(dirname "${BASH_SOURCE[0]}")/../lib/loopback_apache.sh"
require_apache_tools || exit 1

work=$(mktemp -d /tmp/kelvane-apache.XXXXXX)
trap 'stop_apache "$work" httpd; rm -rf "$work"' EXIT

pages=("index.htm" "x/y/b page.html" "Über uns/Team.html" "a+b (1).htm" "x/50%.htm" "x/Größe&Preis.php")
site=$work/site
for page in "${pages[@]}"; do
    mkdir -p "$(dirname "$site/$page")"
    echo old >"$site/$page"
done
"$cli" --htaccess --url "$new_url" "$site" >/dev/null
moved=$work/site_Moved
[[ -f $moved/.htaccess ]] || { echo "FAIL: no .htaccess written"; exit 1; }
# Apache serves as an unprivileged user when started as root.
chmod -R a+rX "$work"

# Percent-encodes every byte but the unreserved ones and "/", as a browser
# would request the old page.
request_path() {
    local LC_ALL=C text=$1 out="" c i
    for ((i = 0; i < ${#text}; i++)); do
        c=${text:i:1}
        case $c in
            [A-Za-z0-9._~/-]) out+=$c ;;
            *) out+=$(printf '%%%02X' "'$c") ;;
        esac
    done
    printf '%s' "$out"
}

# The Location the redirect must carry: characters a URL path may hold stay
# as they are, all others are percent-encoded; so are "?", "#" and "&", which
# in a name would change what the address means.
location_path() {
    local LC_ALL=C text=$1 out="" c i
    for ((i = 0; i < ${#text}; i++)); do
        c=${text:i:1}
        case $c in
            [A-Za-z0-9._~/:@\!\$\'\(\)*+,\;=\[\]-]) out+=$c ;;
            *) out+=$(printf '%%%02X' "'$c") ;;
        esac
    done
    printf '%s' "$out"
}

port=$(start_apache "$work" httpd "$moved" All "LoadModule alias_module $apache_modules/mod_alias.so
Alias /~anna \"$moved\"")
failures=0
checked=0
for prefix in "" "/~anna"; do
    for page in "${pages[@]}"; do
        url="http://127.0.0.1:$port$prefix/$(request_path "$page")"
        # %c3 and %C3 are the same byte; mod_rewrite writes lower case.
        answer=$(curl -s -o /dev/null --max-time 5 -w '%{http_code} %header{location}' "$url" |
            sed -E 's/%([0-9A-Fa-f]{2})/%\U\1/g')
        expected="301 $new_url/$(location_path "$page")"
        checked=$((checked + 1))
        if [[ $answer != "$expected" ]]; then
            echo "FAIL: $url"
            echo "  expected: $expected"
            echo "  answered: $answer"
            failures=$((failures + 1))
        fi
    done
done
answer=$(curl -s -o /dev/null --max-time 5 -w '%{http_code}' "http://127.0.0.1:$port/unknown.htm")
[[ $answer == 404 ]] || { echo "FAIL: an address that was no page answered $answer"; failures=$((failures + 1)); }

if ((failures)); then
    echo "--- .htaccess"; cat "$moved/.htaccess"
    echo "--- error.log"; cat "$work/httpd-error.log"
    exit 1
fi
echo "$checked addresses answered 301 with the right Location"
