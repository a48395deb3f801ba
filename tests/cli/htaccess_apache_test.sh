#!/usr/bin/env bash
# Serves an output tree written by kelvane-cli --htaccess through a real Apache
# httpd on loopback, once at the server root and once under a user folder
# alias, and checks that every old address answers 301 with its page's URL.
#
#   htaccess_apache_test.sh KELVANE_CLI
set -euo pipefail

cli=$1
apache=/usr/sbin/apache2
modules=/usr/lib/apache2/modules
new_url=http://neu.example/home
[[ -x $apache ]] || { echo "FAIL: $apache is missing (scripts/install-deps.sh installs apache2)"; exit 1; }
command -v curl >/dev/null || { echo "FAIL: curl is missing"; exit 1; }

work=$(mktemp -d /tmp/kelvane-apache.XXXXXX)
stop_apache() {
    [[ -s $work/httpd.pid ]] && kill "$(cat "$work/httpd.pid")" 2>/dev/null || true
}
trap 'stop_apache; rm -rf "$work"' EXIT

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

start_apache() {
    local port
    for _ in 1 2 3 4 5 6 7 8; do
        port=$((20000 + RANDOM % 20000))
        cat >"$work/httpd.conf" <<CONF
ServerRoot "$work"
ServerName 127.0.0.1
Listen 127.0.0.1:$port
PidFile "$work/httpd.pid"
ErrorLog "$work/error.log"
LogLevel warn
DefaultRuntimeDir "$work"
LoadModule mpm_event_module $modules/mod_mpm_event.so
LoadModule authz_core_module $modules/mod_authz_core.so
LoadModule alias_module $modules/mod_alias.so
LoadModule rewrite_module $modules/mod_rewrite.so
<IfDefine !NotRoot>
User nobody
Group nogroup
</IfDefine>
DocumentRoot "$moved"
Alias /~anna "$moved"
<Directory "$moved">
    AllowOverride All
    Require all granted
</Directory>
CONF
        rm -f "$work/httpd.pid"
        if "$apache" -f "$work/httpd.conf" -k start 2>>"$work/error.log"; then
            for _ in $(seq 50); do
                if curl -s -o /dev/null --max-time 1 "http://127.0.0.1:$port/"; then
                    echo "$port"
                    return 0
                fi
                sleep 0.1
            done
        fi
        stop_apache
    done
    echo "FAIL: Apache did not start" >&2
    cat "$work/error.log" >&2
    return 1
}

port=$(start_apache)
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
    echo "--- error.log"; cat "$work/error.log"
    exit 1
fi
echo "$checked addresses answered 301 with the right Location"
