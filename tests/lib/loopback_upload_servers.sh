# OpenSSH's sshd (SFTP only) and vsftpd (FTP, optionally with explicit TLS)
# on loopback for the upload tests and benchmarks. Every server listens on
# 127.0.0.1 on a free port, keeps its keys, certificate and configuration in
# WORK, and every wait is bounded; stop_upload_servers ends what was started
# (call it from an EXIT trap).
#
#   source tests/lib/loopback_upload_servers.sh
#   start_sshd WORK REMOTE_FOLDER     # sets sshd_port, sftp_user, client_key
#   start_vsftpd WORK ANON_ROOT TLS   # sets ftp_port; TLS: yes or no
#   stop_upload_servers

upload_server_pids=()
created_privsep_dir=

free_port() {
    python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])'
}

wait_for_port() { # PORT
    for _ in $(seq 100); do
        python3 -c "import socket,sys; socket.create_connection(('127.0.0.1', $1), 0.2)" 2>/dev/null &&
            return 0
        sleep 0.1
    done
    return 1
}

server_listening() { # PID PORT
    # A server just started is kept when it answers on its port; one that
    # does not (the port was taken meanwhile) is stopped for another try.
    if wait_for_port "$2" && kill -0 "$1" 2>/dev/null; then
        upload_server_pids+=("$1")
        return 0
    fi
    kill "$1" 2>/dev/null || true
    wait "$1" 2>/dev/null || true
    return 1
}

# The account the SFTP client logs in as: the own one, or, under root, the
# unprivileged "nobody", so that a folder without write permission refuses.
sftp_account() {
    if [[ $(id -u) -eq 0 ]]; then echo nobody; else id -un; fi
}

start_sshd() { # WORK REMOTE_FOLDER
    local work=$1 remote=$2
    sftp_user=$(sftp_account)
    client_key=$work/client_key
    ssh-keygen -q -t ed25519 -N '' -C kelvane-host -f "$work/ssh_host_ed25519_key"
    ssh-keygen -q -t ed25519 -N '' -C kelvane-client -f "$client_key"
    cp "$client_key.pub" "$work/authorized_keys"
    chmod 755 "$work"
    chmod 644 "$work/authorized_keys"
    mkdir -p "$remote"
    [[ $(id -u) -ne 0 ]] || chown "$sftp_user" "$remote"
    # sshd run as root wants its privilege separation folder, which the
    # system makes only when it starts its own service.
    if [[ $(id -u) -eq 0 && ! -d /run/sshd ]]; then
        mkdir -m 755 /run/sshd
        created_privsep_dir=/run/sshd
    fi
    for _ in 1 2 3 4 5; do
        sshd_port=$(free_port)
        cat >"$work/sshd_config" <<CONF
Port $sshd_port
ListenAddress 127.0.0.1
HostKey $work/ssh_host_ed25519_key
PidFile $work/sshd.pid
AuthorizedKeysFile $work/authorized_keys
StrictModes no
UsePAM no
PasswordAuthentication no
KbdInteractiveAuthentication no
PubkeyAuthentication yes
PermitRootLogin prohibit-password
AllowUsers $sftp_user
Subsystem sftp internal-sftp
ForceCommand internal-sftp
LogLevel ERROR
CONF
        /usr/sbin/sshd -f "$work/sshd_config" -D -e 2>>"$work/sshd.log" &
        server_listening $! "$sshd_port" && return 0
    done
    echo "FAIL: sshd did not start"; cat "$work/sshd.log"
    return 1
}

# Anonymous FTP with write permission into ANON_ROOT/site; ANON_ROOT itself
# must not be writable for the FTP user, as vsftpd demands.
start_vsftpd() { # WORK ANON_ROOT TLS
    # vsftpd changes into the FTP account's home before its anon_root: one that exists.
    ftp_account=daemon
    local work=$1 root=$2 tls=$3 name=vsftpd-$3
    mkdir -p "$root/site" "$work/$name-empty"
    chmod 755 "$root" "$work"
    chown "$ftp_account" "$root/site" 2>/dev/null || chmod 777 "$root/site"
    if [[ $tls == yes && ! -f $work/ftp.pem ]]; then
        openssl req -x509 -newkey rsa:2048 -nodes -days 2 -subj /CN=127.0.0.1 \
            -addext subjectAltName=IP:127.0.0.1 -keyout "$work/ftp.key" -out "$work/ftp.pem" \
            2>/dev/null
    fi
    for _ in 1 2 3 4 5; do
        ftp_port=$(free_port)
        local pasv=$(( (ftp_port % 20000) + 40000 ))
        cat >"$work/$name.conf" <<CONF
listen=YES
listen_ipv6=NO
listen_address=127.0.0.1
listen_port=$ftp_port
background=NO
anonymous_enable=YES
local_enable=NO
no_anon_password=YES
anon_root=$root
ftp_username=$ftp_account
write_enable=YES
anon_upload_enable=YES
anon_mkdir_write_enable=YES
anon_other_write_enable=YES
anon_umask=022
pasv_enable=YES
pasv_address=127.0.0.1
pasv_min_port=$pasv
pasv_max_port=$((pasv + 50))
secure_chroot_dir=$work/$name-empty
seccomp_sandbox=NO
isolate=NO
isolate_network=NO
xferlog_enable=NO
vsftpd_log_file=$work/$name.log
CONF
        if [[ $tls == yes ]]; then
            cat >>"$work/$name.conf" <<CONF
ssl_enable=YES
allow_anon_ssl=YES
force_anon_logins_ssl=YES
force_anon_data_ssl=YES
require_ssl_reuse=NO
rsa_cert_file=$work/ftp.pem
rsa_private_key_file=$work/ftp.key
CONF
        fi
        /usr/sbin/vsftpd "$work/$name.conf" 2>>"$work/$name.err" &
        server_listening $! "$ftp_port" && return 0
    done
    echo "FAIL: vsftpd did not start"; cat "$work/$name.err"
    return 1
}

# Safe under set -e: the servers' own exit statuses are of no interest here.
stop_upload_servers() {
    local pid
    for pid in "${upload_server_pids[@]}"; do
        kill "$pid" 2>/dev/null || true
        for _ in $(seq 50); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
        kill -9 "$pid" 2>/dev/null || true
        wait "$pid" 2>/dev/null || true
    done
    upload_server_pids=()
    [[ -z $created_privsep_dir ]] || rmdir "$created_privsep_dir" 2>/dev/null || true
    created_privsep_dir=
}
