#!/usr/bin/env bash
# The upload's figures: 10,000 pages of a relocated site to SFTP on loopback
# (target under 60 s), then the same upload again with nothing changed
# (target under 5 s). It shows the machine's load and the program's CPU
# time, since a busy machine slows the upload more than the program's own
# work does. Uses the release kelvane-cli of build-release, built here when
# missing, and starts its own sshd as the upload tests do.
#
#   bench/upload-bench.sh [KELVANE_CLI] [PAGES]
set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cli=${1:-$here/build-release/bin/kelvane-cli}
pages=${2:-10000}
if [[ ! -x $cli ]]; then
    cmake -S "$here" -B "$here/build-release" -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF \
        -DKELVANE_BUILD_GUI=OFF >/dev/null
    cmake --build "$here/build-release" --target kelvane-cli -j2 >/dev/null
fi
source "$here/tests/lib/loopback_upload_servers.sh"

work=$(mktemp -d /tmp/kelvane-upload-bench.XXXXXX)
trap 'stop_upload_servers; rm -rf "$work"' EXIT
export HOME=$work/home
mkdir -p "$HOME/.ssh"
unset SSH_AUTH_SOCK

# 100 folders of 100 pages each, relocated by the program itself.
python3 - "$work/site" "$pages" <<'PY'
import os, sys
root, pages = sys.argv[1], int(sys.argv[2])
for i in range(pages):
    folder = os.path.join(root, "bereich%03d" % (i // 100))
    os.makedirs(folder, exist_ok=True)
    with open(os.path.join(folder, "seite%05d.htm" % i), "w") as page:
        page.write("<html><body>alte Seite %d</body></html>\n" % i)
PY
"$cli" --url https://neu.example --server apache "$work/site" >/dev/null 2>&1

start_sshd "$work" "$work/remote"
printf '[127.0.0.1]:%s %s\n' "$sshd_port" "$(cat "$work/ssh_host_ed25519_key.pub")" \
    >"$HOME/.ssh/known_hosts"
url="sftp://$sftp_user@127.0.0.1:$sshd_port$work/remote"

timed() { # LABEL TARGET_SECONDS
    local started ended
    started=$(date +%s.%N)
    /usr/bin/time -f '%U %S' -o "$work/client-cpu.txt" \
        "$cli" --upload "$url" --ssh-key "$client_key" "$work/site" >"$work/out.txt" 2>"$work/err.txt" ||
        { cat "$work/out.txt" "$work/err.txt"; exit 1; }
    ended=$(date +%s.%N)
    read -r client_user client_system <"$work/client-cpu.txt"
    python3 -c "import sys; t = $ended - $started; print('%-34s %7.1f s  (Ziel < %s s) %s; CPU des Programms %.1f s' % (sys.argv[1], t, sys.argv[2], 'ok' if t < float(sys.argv[2]) else 'VERFEHLT', $client_user + $client_system))" "$1" "$2"
    head -1 "$work/out.txt"
}

echo "Hochladen von $pages Seiten über SFTP auf loopback ($(nproc) Kerne, Last: $(cut -d' ' -f1-3 /proc/loadavg)):"
timed "erstes Hochladen" 60
timed "zweites Hochladen, nichts geändert" 5
diff -r "$work/site_Moved" "$work/remote" >/dev/null && echo "Server-Baum gleich DIR_Moved."
