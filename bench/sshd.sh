#!/usr/bin/env bash
# Debian's OpenSSH server on a free port of 127.0.0.1, for the benchmarks:
#     sshd.sh WORKDIR AUTHORIZED_KEYS
# Its configuration, its log (sshd.log) and its ed25519 host key (ssh_host_ed25519_key) are in
# WORKDIR. Only root logs in, only with a key of AUTHORIZED_KEYS (the benchmarks run as root);
# SFTP is served in-process. Prints "port N" once it listens, then serves until its standard input
# closes, so it never outlives its caller.
set -euo pipefail
work=$1
keys=$2

ssh-keygen -q -t ed25519 -N '' -C tessaly-test-host -f "$work/ssh_host_ed25519_key"
port=$(/usr/bin/python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
config=$work/sshd_config
cat >"$config" <<CONF
ListenAddress 127.0.0.1
Port $port
HostKey $work/ssh_host_ed25519_key
PidFile none
UsePAM no
StrictModes no
PermitRootLogin prohibit-password
AuthorizedKeysFile $keys
PasswordAuthentication no
KbdInteractiveAuthentication no
AllowAgentForwarding no
AllowTcpForwarding no
X11Forwarding no
Subsystem sftp internal-sftp
CONF
# sshd refuses to start without its privilege separation folder, which the system's service
# would have made.
mkdir -p /run/sshd

log=$work/sshd.log
: >"$log"
/usr/sbin/sshd -D -E "$log" -f "$config" </dev/null &
server=$!
trap 'kill $server 2>/dev/null' EXIT
until grep -q "^Server listening on 127.0.0.1 port $port" "$log"; do
    kill -0 $server 2>/dev/null || { echo "sshd did not start" >&2; exit 1; }
    sleep 0.05
done
echo "port $port"
cat >/dev/null
