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

# Deleting a tree of 100,000 files makes ext4 slow to create files for a
# minute or more afterwards (it scans the recently freed inodes), which would
# skew whatever runs next. So earlier output trees are moved aside, and only
# deleted when every measurement is done.
retired=0
retire_output() {
    if [[ -d ${site}_Moved ]]; then
        mkdir -p "$work/retired"
        mv "${site}_Moved" "$work/retired/$((retired++))"
    fi
}
trap 'rm -rf "$work/retired" "${site}_Moved"' EXIT

# Runs one program once on an empty output tree; records its wall time in
# seconds and its peak memory in KiB under its name, keeping the best time and
# the largest peak over the rounds.
declare -A best_seconds peak_kib
measure() {
    local name=$1 seconds kib
    shift
    retire_output
    sync
    /usr/bin/time -o "$work/time.txt" -f '%e %M' "$@" >/dev/null 2>&1
    read -r seconds kib <"$work/time.txt"
    if [[ -z ${best_seconds[$name]:-} ]] || (($(echo "$seconds < ${best_seconds[$name]}" | bc -l))); then
        best_seconds[$name]=$seconds
    fi
    ((kib > ${peak_kib[$name]:-0})) && peak_kib[$name]=$kib
    return 0
}

report() {
    local name=$1 seconds=${best_seconds[$1]} kib=${peak_kib[$1]}
    printf '%-22s %7.2f s  %9.0f pages/s  %6.1f MB peak' "$name" "$seconds" \
        "$(echo "$pages / $seconds" | bc -l)" "$(echo "$kib / 1024" | bc -l)"
    [[ -z ${2:-} ]] || printf '  %.2fx %s' "$(echo "$seconds / ${best_seconds[$2]}" | bc -l)" "$3"
    echo
}

gui=false
[[ -x $bin/kelvane-gui-bench ]] && gui=true
export QT_QPA_PLATFORM=offscreen

# The programs take turns, so that each meets the same state of the disk.
for ((round = 0; round < rounds; round++)); do
    measure baseline "$bin/kelvane-bench-site" baseline "$site" "$url" templates/default.htm
    measure kelvane-cli "$bin/kelvane-cli" --yes --url "$url" "$site"
    ! $gui || measure "main window" "$bin/kelvane-gui-bench" "$site" "$url"
done

report baseline
report kelvane-cli baseline "of baseline (target 1.5x, peak under 50 MB)"
! $gui || report "main window" kelvane-cli "of kelvane-cli (target 1.3x)"

# The server rules of the same site: Apache answering its old addresses.
bench/apache-median.sh "$bin/kelvane-cli" "$site"
