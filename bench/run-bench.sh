#!/usr/bin/env bash
# Relocates a synthetic site of 100,000 pages (in 1,000 nested folders, beside
# 20,000 files of other types) with kelvane-cli, and compares its time and
# peak memory with a baseline that writes the same pages with no walking and
# no checks. With the GUI built, the same run through the main window too.
#
#   bench/run-bench.sh [WORK_DIRECTORY]     (default: a fresh folder in /tmp)
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh time bc
build=build-bench
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF -DKELVANE_BUILD_BENCH=ON -DKELVANE_BUILD_GUI="${BENCH_GUI:-ON}" >/dev/null
cmake --build "$build" -j "$(nproc)" >/dev/null
bin=$build/bin

work=${1:-$(mktemp -d /tmp/kelvane-bench.XXXXXX)}
site=$work/site
url=http://neu.example/home
rounds=${ROUNDS:-3}
pages=100000

[[ -d $site ]] || "$bin/kelvane-bench-site" make "$site"

# Runs a command $rounds times on an empty output tree; prints the best
# wall time in seconds and the largest peak memory in KiB.
measure() {
    local best="" peak=0 stats seconds kib
    for ((round = 0; round < rounds; round++)); do
        rm -rf "${site}_Moved"
        sync
        /usr/bin/time -o "$work/time.txt" -f '%e %M' "$@" >/dev/null 2>&1
        read -r seconds kib <"$work/time.txt"
        [[ -z $best ]] || (($(echo "$seconds < $best" | bc -l))) && best=$seconds
        ((kib > peak)) && peak=$kib
    done
    echo "$best $peak"
}

report() {
    local name=$1 seconds=$2 kib=$3
    printf '%-22s %7.2f s  %9.0f pages/s  %6.1f MB peak' "$name" "$seconds" \
        "$(echo "$pages / $seconds" | bc -l)" "$(echo "$kib / 1024" | bc -l)"
    [[ -z ${4:-} ]] || printf '  %.2fx %s' "$(echo "$seconds / $4" | bc -l)" "$5"
    echo
}

read -r base_s base_kib < <(measure "$bin/kelvane-bench-site" baseline "$site" "$url" templates/default.htm)
read -r cli_s cli_kib < <(measure "$bin/kelvane-cli" --yes --url "$url" "$site")
report baseline "$base_s" "$base_kib"
report kelvane-cli "$cli_s" "$cli_kib" "$base_s" "of baseline (target 1.5x, peak under 50 MB)"

if [[ -x $bin/kelvane-gui-bench ]]; then
    export QT_QPA_PLATFORM=offscreen
    read -r gui_s gui_kib < <(measure "$bin/kelvane-gui-bench" "$site" "$url")
    report "main window" "$gui_s" "$gui_kib" "$cli_s" "of kelvane-cli (target 1.3x)"
fi
rm -rf "${site}_Moved"
