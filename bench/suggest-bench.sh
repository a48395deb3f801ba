#!/usr/bin/env bash
# Times kelvane-cli --suggest-map: 10,000 old pages against 10,000 new ones
# from local folders (targets: under 30 s and under 500 MB), then the new
# site from Apache on loopback through robots.txt and a sitemap (target: at
# least 200 pages per second). The pages are synthetic: a topic of words
# from a large vocabulary each, a shared frame per site, new names and
# folders in the new site.
#
#   bench/suggest-bench.sh [BUILD_DIRECTORY]     (default: build-bench, built here)
set -euo pipefail
cd "$(dirname "$0")/.."

build=${1:-build-bench}
if [[ -z ${1:-} ]]; then
    scripts/install-deps.sh
    cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF -DKELVANE_BUILD_GUI=OFF >/dev/null
    cmake --build "$build" --target kelvane-cli -j "$(nproc)" >/dev/null
fi
cli=$(realpath "$build/bin/kelvane-cli")
source tests/lib/loopback_apache.sh
require_apache_tools || exit 1
[[ -x /usr/bin/time ]] || { echo "FAIL: /usr/bin/time is missing (apt-get install time)"; exit 1; }

work=$(mktemp -d /tmp/kelvane-suggest-bench.XXXXXX)
trap 'stop_apache "$work" new; rm -rf "$work"' EXIT

make_sites() { # FOLDER PAGES
    python3 - "$1" "$2" <<'PY'
import os, random, sys
out, count = sys.argv[1], int(sys.argv[2])
rng = random.Random(5)
vocabulary = [f"wort{i}" for i in range(60000)]
common = vocabulary[:300]
old_nav = " ".join(f"<a href=/n{i}.htm>Rubrik {i}</a>" for i in range(25))
new_nav = " ".join(f"<li><a href=/r{i}/>Bereich {i}</a></li>" for i in range(30))
with open(os.path.join(out, "truth.txt"), "w") as truth:
    for page in range(count):
        words = rng.sample(vocabulary[300:], 40)
        text = " ".join(rng.choice(words + common) for _ in range(350))
        title = " ".join(words[:4])
        old = f"{out}/old/teil{page % 100}/seite{page}.htm"
        new = f"{out}/new/thema{page % 37}/{'-'.join(words[:4])}/index.html"
        for path in (old, new):
            os.makedirs(os.path.dirname(path), exist_ok=True)
        with open(old, "w") as f:
            f.write(f"<html><head><title>{title} - Alte Site</title></head><body>"
                    f"<div class=menu>{old_nav}</div><h1>{title}</h1><p>{text}</p>"
                    f"<p>Letzte Änderung 2009, Webmaster</p></body></html>")
        with open(new, "w") as f:
            f.write(f"<!DOCTYPE html><html><head><meta charset=utf-8><title>{title} | Neu</title>"
                    f"</head><body><header><ul>{new_nav}</ul></header><main><h1>{title}</h1>"
                    f"<p>{text}</p></main><footer>Impressum Datenschutz</footer></body></html>")
        truth.write(f"teil{page % 100}/seite{page}.htm,/thema{page % 37}/{'-'.join(words[:4])}/\n")
PY
}

accuracy() { # CSV TRUTH
    python3 - "$1" "$2" <<'PY'
import csv, sys
rows = {r[0]: r for r in csv.reader(open(sys.argv[1], encoding="utf-8"))}
truth = dict(line.strip().split(",") for line in open(sys.argv[2]))
right = sum(rows[p][1].endswith(t) for p, t in truth.items())
sure = [p for p in truth if rows[p][2] == "sicher"]
print(f"richtig zuerst: {right}/{len(truth)}, sicher: {len(sure)}")
PY
}

mkdir -p "$work/local"
make_sites "$work/local" 10000
/usr/bin/time -f "%e %M" -o "$work/time.txt" "$cli" --suggest-map "$work/local/new" \
    --output "$work/local.csv" --url http://neu.example --types "htm;html" "$work/local/old" >/dev/null
read -r seconds kilobytes <"$work/time.txt"
echo "10.000 gegen 10.000 Seiten aus Ordnern: $seconds s, höchstens $((kilobytes / 1024)) MB (Ziel: unter 30 s, unter 500 MB)"
accuracy "$work/local.csv" "$work/local/truth.txt"

mkdir -p "$work/web"
make_sites "$work/web" 2000
chmod -R a+rX "$work"
port=$(start_apache "$work" new "$work/web/new" None "MaxRequestWorkers 50
KeepAliveTimeout 15
MaxKeepAliveRequests 0")
python3 - "$work/web/new" "$port" <<'PY'
import os, sys
root, port = sys.argv[1], sys.argv[2]
pages = sorted(os.path.relpath(os.path.join(d, f), root) for d, _, fs in os.walk(root) for f in fs)
with open(os.path.join(root, "sitemap.xml"), "w") as f:
    # The loopback Apache has no mod_dir: the sitemap names the index files.
    f.write("<urlset>" + "".join(f"<url><loc>http://127.0.0.1:{port}/{p}</loc></url>"
                                 for p in pages if p.endswith("index.html")) + "</urlset>")
with open(os.path.join(root, "robots.txt"), "w") as f:
    f.write(f"Sitemap: http://127.0.0.1:{port}/sitemap.xml\n")
PY
chmod -R a+rX "$work"
# The same pages from the folder, to tell the loading from the reading and
# comparing that both runs share.
timed() { # NEW OUTPUT
    local start end
    start=$(date +%s.%N)
    "$cli" --suggest-map "$1" --output "$2" --url http://neu.example --types "htm;html" "$work/web/old" \
        >/dev/null
    end=$(date +%s.%N)
    python3 -c "import sys; print(float(sys.argv[2]) - float(sys.argv[1]))" "$start" "$end"
}
web=$(timed "http://127.0.0.1:$port/" "$work/web.csv")
folder=$(timed "$work/web/new" "$work/folder.csv")
python3 - "$web" "$folder" <<'PY'
import sys
web, folder = float(sys.argv[1]), float(sys.argv[2])
print(f"2.000 neue Seiten von Apache auf Loopback (4 zugleich): {web:.1f} s in allem, "
      f"{2000 / web:.0f} Seiten/s; aus dem Ordner {folder:.1f} s; das Laden allein "
      f"{2000 / max(web - folder, 0.001):.0f} Seiten/s (Ziel: 200 Seiten/s)")
PY
