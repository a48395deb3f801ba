#!/usr/bin/env bash
# kelvane-cli --upload against real servers on loopback: OpenSSH's sshd for
# SFTP and vsftpd for FTP and FTP with explicit TLS. Every check looks at the
# server's disk: the remote tree must equal DIR_Moved byte for byte with no
# temporary file left, also after a kill -9 halfway and a rerun; a folder
# that refuses writes costs only its files; an unknown host key, a changed
# one and an unpinned self-signed certificate are refused.
#
#   upload_servers_test.sh KELVANE_CLI
set -uo pipefail

cli=$1
source "$(dirname "${BASH_SOURCE[0]}")/../lib/loopback_upload_servers.sh"
for tool in /usr/sbin/sshd /usr/sbin/vsftpd ssh-keygen ssh-agent ssh-add openssl python3; do
    command -v "$tool" >/dev/null ||
        { echo "FAIL: $tool is missing (scripts/install-deps.sh installs it)"; exit 1; }
done

work=$(mktemp -d /tmp/kelvane-upload.XXXXXX)
agent_pid=
upload_pid=
cleanup() {
    [[ -z $upload_pid ]] || kill -9 "$upload_pid" 2>/dev/null
    [[ -z $agent_pid ]] || kill "$agent_pid" 2>/dev/null
    stop_upload_servers
    rm -rf "$work"
}
trap cleanup EXIT
export HOME=$work/home
mkdir -p "$HOME/.ssh"
unset SSH_AUTH_SOCK KELVANE_PASSWORT
failures=0

fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

# The site: nested folders, hostile names and every rule file that lives in
# the output tree.
site=$work/site
for page in "index.htm" "Über uns/Team.htm" "a b/c/d, e.html" "x/y/z/tief.htm" "gesperrt/eins.htm" \
    "gesperrt/zwei.htm" "\$geld & 'zitat'.htm"; do
    mkdir -p "$(dirname "$site/$page")"
    echo "<p>alt</p>" >"$site/$page"
done
"$cli" --url https://neu.example --server apache,iis,netlify "$site" >/dev/null 2>&1 ||
    { echo "FAIL: the run did not write the pages"; exit 1; }
moved=${site}_Moved
for rule in .htaccess web.config _redirects; do
    [[ -f $moved/$rule ]] || fail "$rule is missing from the output tree"
done

# The remote tree equals the output tree, apart from the folders named.
same_tree() { # REMOTE LABEL [EXCLUDED_FOLDER]
    local excluded=()
    [[ -z ${3:-} ]] || excluded=(-x "$3")
    diff -r "${excluded[@]}" "$moved" "$1" >"$work/diff.txt" 2>&1 ||
        { fail "$2: the remote tree differs"; cat "$work/diff.txt"; }
    [[ -z $(find "$1" -name '.kelvane-upload.*') ]] ||
        fail "$2: a temporary file remained: $(find "$1" -name '.kelvane-upload.*')"
}

# Runs the upload; sets status, and out/err as the files of its output.
upload() { # ARGS...
    "$cli" --upload "$@" >"$work/out.txt" 2>"$work/err.txt"
    status=$?
}

expect() { # STATUS LABEL
    [[ $status -eq $1 ]] ||
        { fail "$2: status $status, expected $1"; cat "$work/out.txt" "$work/err.txt"; }
}

sent_count() { sed -n 's/^Hochgeladen: \([0-9]*\),.*/\1/p' "$work/out.txt"; }

# --- SFTP ------------------------------------------------------------------
remote=$work/sftp-remote
start_sshd "$work" "$remote" || exit 1
sftp_url="sftp://$sftp_user@127.0.0.1:$sshd_port$remote"
key=(--ssh-key "$client_key")
fingerprint=$(ssh-keygen -lf "$work/ssh_host_ed25519_key.pub" | awk '{print $2}')

upload "$sftp_url" "${key[@]}" "$site"
expect 1 "unknown host key"
grep -qF "$fingerprint" "$work/err.txt" || fail "the unknown key's fingerprint is not shown"
[[ -z $(ls -A "$remote") ]] || fail "something arrived over an unknown host key"

upload "$sftp_url" "${key[@]}" --host-key "$fingerprint" "$site"
expect 0 "first upload with the accepted key"
same_tree "$remote" "first SFTP upload"
grep -q '^Ziel,sftp://' "$moved.upload.csv" || fail "the manifest names no target"
grep -qF 'x/y/z/tief.htm' "$moved.upload.csv" || fail "the manifest lacks a nested page"

printf '[127.0.0.1]:%s %s\n' "$sshd_port" "$(cat "$work/ssh_host_ed25519_key.pub")" \
    >"$HOME/.ssh/known_hosts"
upload "$sftp_url" "${key[@]}" "$site"
expect 0 "rerun with the key in known_hosts"
[[ $(sent_count) == 0 ]] || fail "an unchanged rerun sent $(sent_count) files"

# A changed page, a page deleted and one cut short on the server: exactly
# these three go up, and the preview names them without sending anything.
echo "<p>neu</p>" >"$moved/index.htm"
rm "$remote/x/y/z/tief.htm"
printf 'kurz' >"$remote/Über uns/Team.htm"
upload "$sftp_url" "${key[@]}" --preview "$site"
expect 0 "preview"
printf '%s\n' "index.htm" "x/y/z/tief.htm" "Über uns/Team.htm" | sort >"$work/expected.txt"
sort "$work/out.txt" | diff - "$work/expected.txt" >/dev/null ||
    { fail "the preview lists other files"; cat "$work/out.txt"; }
[[ ! -e $remote/x/y/z/tief.htm ]] || fail "the preview sent a file"
upload "$sftp_url" "${key[@]}" "$site"
expect 0 "upload of the changes"
[[ $(sent_count) == 3 ]] || fail "the changes took $(sent_count) files, not 3"
same_tree "$remote" "upload of the changes"

# The SSH agent instead of a key file.
eval "$(ssh-agent -a "$work/agent.sock" -s)" >/dev/null
agent_pid=$SSH_AGENT_PID
ssh-add -q "$client_key" 2>/dev/null
echo "<p>agent</p>" >"$moved/index.htm"
upload "$sftp_url" "$site"
expect 0 "upload through the SSH agent"
same_tree "$remote" "upload through the SSH agent"
kill "$agent_pid"; agent_pid=
unset SSH_AUTH_SOCK SSH_AGENT_PID

# A changed host key is refused, also when the new one is offered.
ssh-keygen -q -t ed25519 -N '' -f "$work/other_key"
printf '[127.0.0.1]:%s %s\n' "$sshd_port" "$(cat "$work/other_key.pub")" >"$HOME/.ssh/known_hosts"
echo "<p>verboten</p>" >"$moved/index.htm"
upload "$sftp_url" "${key[@]}" --host-key "$fingerprint" "$site"
expect 1 "changed host key"
grep -q "geändert" "$work/err.txt" || fail "the changed key is not named as changed"
grep -q verboten "$remote/index.htm" && fail "a file went up over a changed host key"
printf '[127.0.0.1]:%s %s\n' "$sshd_port" "$(cat "$work/ssh_host_ed25519_key.pub")" \
    >"$HOME/.ssh/known_hosts"

# A folder that refuses writes costs its own files, the rest arrives.
remote2=$work/sftp-locked
mkdir -p "$remote2/gesperrt"
[[ $(id -u) -ne 0 ]] || chown "$sftp_user" "$remote2"
chmod 555 "$remote2/gesperrt"
upload "sftp://$sftp_user@127.0.0.1:$sshd_port$remote2" "${key[@]}" "$site"
expect 3 "a folder refusing writes"
grep -q "fehlgeschlagen: 2" "$work/out.txt" || fail "the refused files are not counted"
grep -q "gesperrt/eins.htm: " "$work/out.txt" || fail "the refused file is not named"
same_tree "$remote2" "a folder refusing writes" gesperrt
chmod 755 "$remote2/gesperrt"

# kill -9 halfway, then a rerun sends only the rest.
big=$work/gross
for i in $(seq 400); do
    mkdir -p "$big/teil$((i % 8))"
    echo "<p>$i</p>" >"$big/teil$((i % 8))/seite$i.htm"
done
"$cli" --url https://neu.example "$big" >/dev/null
moved_big=${big}_Moved
remote3=$work/sftp-big
mkdir -p "$remote3"
[[ $(id -u) -ne 0 ]] || chown "$sftp_user" "$remote3"
"$cli" --upload "sftp://$sftp_user@127.0.0.1:$sshd_port$remote3" "${key[@]}" "$big" \
    >/dev/null 2>&1 &
upload_pid=$!
# The journal's records: its lines but the first, which names the target.
journal_lines() { if [[ -f $moved_big.upload.journal ]]; then echo $(($(wc -l <"$moved_big.upload.journal") - 1)); else echo 0; fi; }
for _ in $(seq 600); do
    [[ $(journal_lines) -ge 80 ]] && break
    sleep 0.05
done
kill -9 "$upload_pid"
wait "$upload_pid" 2>/dev/null
upload_pid=
arrived=$(journal_lines)
[[ $arrived -ge 80 && $arrived -lt 400 ]] ||
    fail "the killed upload had $arrived of 400 files, not a part (too fast or too slow)"
upload "sftp://$sftp_user@127.0.0.1:$sshd_port$remote3" "${key[@]}" "$big"
expect 0 "rerun after kill -9"
# Up to one file per connection may have arrived without its record.
rest=$(sent_count)
[[ -n $rest && $rest -le $((400 - arrived + 8)) && $rest -ge $((400 - arrived)) ]] ||
    fail "the rerun sent $rest files, not the rest of $((400 - arrived))"
diff -r "$moved_big" "$remote3" >/dev/null || fail "after kill -9 and rerun the trees differ"
[[ -z $(find "$remote3" -name '.kelvane-upload.*') ]] || fail "a temporary file remained after kill -9"
[[ ! -e $moved_big.upload.journal ]] || fail "the journal remained after a complete upload"

# The server goes away halfway: three more tries, then a stop with exit 3,
# and what arrived is in the manifest.
remote4=$work/sftp-lost
mkdir -p "$remote4"
[[ $(id -u) -ne 0 ]] || chown "$sftp_user" "$remote4"
rm -f "$moved_big.upload.csv"
"$cli" --upload "sftp://$sftp_user@127.0.0.1:$sshd_port$remote4" "${key[@]}" "$big" \
    >"$work/out.txt" 2>"$work/err.txt" &
upload_pid=$!
for _ in $(seq 600); do
    [[ $(journal_lines) -ge 40 ]] && break
    sleep 0.05
done
# The listener and every connection it serves: all started by this test.
sshd_pid=${upload_server_pids[0]}
kill $(pgrep -P "$sshd_pid") "$sshd_pid" 2>/dev/null
status=1
for _ in $(seq 600); do
    kill -0 "$upload_pid" 2>/dev/null || { wait "$upload_pid"; status=$?; break; }
    sleep 0.1
done
kill -9 "$upload_pid" 2>/dev/null
upload_pid=
expect 3 "connection lost halfway"
grep -q "Verbindung ist abgebrochen" "$work/err.txt" || fail "the lost connection is not named"
recorded=$(($(wc -l <"$moved_big.upload.csv" 2>/dev/null || echo 2) - 2))
[[ $recorded -ge 40 && $recorded -lt 400 ]] ||
    fail "the manifest holds $recorded files after the lost connection"
# A rename the server made just before it went may not have been answered:
# at most one such file per connection arrived without its record.
arrived=$(find "$remote4" -type f ! -name '.kelvane-upload.*' | wc -l)
[[ $arrived -ge $recorded && $arrived -le $((recorded + 8)) ]] ||
    fail "the manifest holds $recorded files, but $arrived arrived before the connection was lost"
echo "SFTP password login not tested: it would need a system account's password set."

# --- FTP -------------------------------------------------------------------
echo "<p>ftp</p>" >"$moved/index.htm"
start_vsftpd "$work" "$work/ftp" no || exit 1
ftp_url="ftp://127.0.0.1:$ftp_port/site"
KELVANE_PASSWORT=gast@example.com upload "$ftp_url" "$site"
expect 0 "plain FTP"
grep -q "unverschlüsselt" "$work/err.txt" || fail "plain FTP gives no warning"
same_tree "$work/ftp/site" "plain FTP"
upload "$ftp_url" "$site"
expect 0 "plain FTP rerun"
[[ $(sent_count) == 0 ]] || fail "an unchanged FTP rerun sent $(sent_count) files"
echo "<p>ftp neu</p>" >"$moved/index.htm"
upload "$ftp_url" "$site"
[[ $(sent_count) == 1 ]] || fail "a changed page went up over FTP as $(sent_count) files"
same_tree "$work/ftp/site" "plain FTP replacing a file"

mkdir -p "$work/ftp/locked/gesperrt"
chown "$ftp_account" "$work/ftp/locked"
upload "ftp://127.0.0.1:$ftp_port/locked" "$site"
expect 3 "FTP folder refusing writes"
grep -q "gesperrt/zwei.htm: " "$work/out.txt" || fail "the refused FTP file is not named"
same_tree "$work/ftp/locked" "FTP folder refusing writes" gesperrt

# --- FTP with explicit TLS -------------------------------------------------
start_vsftpd "$work" "$work/ftps" yes || exit 1
ftps_url="ftps://127.0.0.1:$ftp_port/site"
certificate=$(openssl x509 -in "$work/ftp.pem" -noout -fingerprint -sha256 | sed 's/.*=//')
upload "$ftps_url" "$site"
expect 1 "unpinned self-signed certificate"
grep -qF "$certificate" "$work/err.txt" || fail "the certificate's fingerprint is not shown"
[[ -z $(ls -A "$work/ftps/site") ]] || fail "something arrived over an untrusted certificate"
upload "$ftps_url" --pin-cert "SHA256:$(printf '%064d' 0)" "$site"
expect 1 "certificate with another pin"
# The pin as openssl shows it, in lower case and without colons alike.
upload "$ftps_url" --pin-cert "SHA256:$(tr -d : <<<"${certificate,,}")" "$site"
expect 0 "pinned certificate"
same_tree "$work/ftps/site" "FTPS"

((failures == 0)) || { echo "$failures failures"; exit 1; }
echo "upload tests passed"
