#!/usr/bin/env bash
# Kills kelvane-cli with SIGKILL halfway through 20,000 pages and runs it again:
# the output tree must then hold exactly the pages, the old site its bytes.
#   killed_run_test.sh KELVANE_CLI
set -euo pipefail
cli=$1
work=$(mktemp -d /tmp/kelvane-killed.XXXXXX)
child=
trap '[[ -z $child ]] || kill -KILL "$child" 2>/dev/null; rm -rf "$work"' EXIT
site=$work/site moved=$work/site_Moved
for ((folder = 0; folder < 200; folder++)); do
    mkdir -p "$site/f$folder" && (cd "$site/f$folder" && touch p{0..99}.htm)
done
echo old >"$site/f0/p0.htm"
fingerprint() { (cd "$site" && find . -printf '%p %y %s %T@\n' | sort | md5sum); }
before=$(fingerprint)
# As an earlier killed run leaves them, before and after where this one stops.
mkdir -p "$moved/f0" "$moved/f199"
echo partial | tee "$moved/f0/.kvtmp-0a1b2c3d" >"$moved/f199/.kvtmp-zz9yx8w7"

"$cli" --yes --url http://neu.example "$site" >/dev/null 2>&1 &
child=$!
for _ in $(seq 200); do # at most ten seconds
    [[ -d $moved/f100 ]] || ! kill -0 "$child" 2>/dev/null && break
    sleep 0.05
done
kill -KILL "$child" 2>/dev/null || true
wait "$child" 2>/dev/null || true
child=
echo "killed after $(find "$moved" -name 'p*.htm' | wc -l) pages"
timeout 120 "$cli" --yes --url http://neu.example "$site" >/dev/null

diff <(cd "$site" && find . | sort) <(cd "$moved" && find . | sort) ||
    { echo "FAIL: the output tree holds more or less than the pages"; exit 1; }
[[ $(fingerprint) == "$before" ]] || { echo "FAIL: the old site changed"; exit 1; }
grep -q 'neu.example/f199/p99.htm' "$moved/f199/p99.htm" || { echo "FAIL: wrong last page"; exit 1; }

# A run killed while writing its extra files leaves a temporary file beside
# the output root or in it; the next run removes exactly those.
echo partial | tee "$work/.site_Moved.nginx.conf.kvtmp-0a1b2c3d" \
    "$moved/..htaccess.kvtmp-0a1b2c3d" >"$work/.other.conf.kvtmp-0a1b2c3d"
timeout 120 "$cli" --yes --server nginx,apache --url http://neu.example "$site" >/dev/null 2>&1
left=$(cd "$work" && find . -name '*.kvtmp-*' | sort | tr '\n' ' ')
[[ $left == "./.other.conf.kvtmp-0a1b2c3d " ]] ||
    { echo "FAIL: temporary files left or removed wrongly: $left"; exit 1; }
[[ -f $work/site_Moved.nginx.conf && -f $moved/.htaccess ]] || { echo "FAIL: rules missing"; exit 1; }
[[ $(fingerprint) == "$before" ]] || { echo "FAIL: the old site changed"; exit 1; }
