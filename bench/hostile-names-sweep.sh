#!/bin/sh
# Runs the hostile-name test of ./test.sh over many seeds: each seed makes a
# new site of random hostile names, relocates it with every server format and
# asks the real Apache, nginx and Caddy for every old address.
#
#   bench/hostile-names-sweep.sh [KELVANE_CLI [FIRST_SEED [SEEDS [PAGES]]]]
set -eu
here=$(cd "$(dirname "$0")" && pwd)
cli=${1:-$here/../build-test/bin/kelvane-cli}
first=${2:-1}
seeds=${3:-20}
pages=${4:-600}
failed=0
seed=$first
while [ "$seed" -lt $((first + seeds)) ]; do
    status=0
    output=$(python3 "$here/../tests/cli/hostile_names_test.py" "$cli" "$seed" "$pages" 2>&1) ||
        status=$?
    printf '%s\n' "$output" | grep -v '^{"level"' || true
    if [ "$status" -ne 0 ]; then
        echo "seed $seed FAILED"
        failed=$((failed + 1))
    fi
    seed=$((seed + 1))
done
echo "$seeds seeds, $failed failed"
[ "$failed" -eq 0 ]
