#!/usr/bin/env bash
# Kills kelvane-cli with SIGKILL in the middle of a 20,000-page run, runs it
# again, and checks that the output tree then holds exactly the pages (no
# temporary file of the killed run stays behind) and that the old site kept
# its bytes.
#
#   killed_run_test.sh KELVANE_CLI
set -euo pipefail

cli=$1
work=$(mktemp -d /tmp/kelvane-killed.XXXXXX)
child=
cleanup() {
    [[ -n $child ]] && kill -KILL "$child" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

site=$work/site
moved=$work/site_Moved
for ((folder = 0; folder < 200; folder++)); do
    mkdir -p "$site/f$folder"
    (cd "$site/f$folder" && touch p{0..99}.htm)
done
echo old >"$site/f0/p0.htm"
fingerprint() { (cd "$site" && find . -printf '%p %y %s %T@\n' | sort | md5sum); }
site_before=$(fingerprint)

# Left by an earlier killed run, in folders written before and after the kill.
mkdir -p "$moved/f0" "$moved/f199"
echo partial >"$moved/f0/.kvtmp-0a1b2c3d"
echo partial >"$moved/f199/.kvtmp-zz9yx8w7"

"$cli" --yes --url http://neu.example "$site" >/dev/null 2>&1 &
child=$!
# Killed once about half of the folders are written, or after ten seconds.
for _ in $(seq 200); do
    [[ -d $moved/f100 ]] && break
    kill -0 "$child" 2>/dev/null || break
    sleep 0.05
done
kill -KILL "$child" 2>/dev/null || true
wait "$child" 2>/dev/null || true
child=
written=$(find "$moved" -type f -name 'p*.htm' | wc -l)
echo "killed after $written of 20000 pages"

timeout 120 "$cli" --yes --url http://neu.example "$site" >/dev/null

expected=$(cd "$site" && find . -mindepth 1 | sort)
actual=$(cd "$moved" && find . -mindepth 1 | sort)
if [[ $expected != "$actual" ]]; then
    echo "FAIL: the output tree holds other entries than the pages:"
    diff <(echo "$expected") <(echo "$actual") | head -20
    exit 1
fi
if [[ $(fingerprint) != "$site_before" ]]; then
    echo "FAIL: the old site changed"
    exit 1
fi
grep -q 'http://neu.example/f199/p99.htm' "$moved/f199/p99.htm" || { echo "FAIL: last page wrong"; exit 1; }
echo "the rerun left exactly the 20000 pages"
