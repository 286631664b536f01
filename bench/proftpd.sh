#!/usr/bin/env bash
# ProFTPD, unpacked from Debian's packages by bench/common.sh, on a free port of 127.0.0.1:
#     proftpd.sh SERVERS WORKDIR ROOT USER PASSWORD [PEM]
# SERVERS is the folder the packages were unpacked into. One account, USER with PASSWORD, whose
# home is ROOT; with PEM (certificate and key) it offers explicit TLS and, as by default,
# requires the data connections to resume the control connection's TLS session. Prints
# "port N" once it listens, then serves until its standard input closes.
set -euo pipefail
servers=$1 work=$2 root=$3 user=$4 password=$5 pem=${6:-}
source "$(dirname "$0")/../tests/kit/serve.sh"

port=$(free_port)
mkdir -p "$work"
# Its own account files, which it refuses to read when others can.
(umask 077 && echo "$user:$(openssl passwd -6 "$password"):0:0::$root:/bin/sh" >"$work/passwd" && echo "root:x:0:" >"$work/group")
config=$work/proftpd.conf
cat >"$config" <<CONF
ServerType standalone
ServerName "bench"
Port $port
DefaultAddress 127.0.0.1
SocketBindTight on
UseIPv6 off
User root
Group root
PidFile $work/proftpd.pid
ScoreboardFile $work/proftpd.scoreboard
DelayEngine off
WtmpLog off
UseReverseDNS off
AuthOrder mod_auth_file.c
AuthUserFile $work/passwd
AuthGroupFile $work/group
RequireValidShell off
RootLogin on
DefaultRoot ~
AllowOverwrite on
MaxInstances 100
CONF
if [[ -n $pem ]]; then
    cat >>"$config" <<CONF
ModulePath $servers/usr/lib/proftpd
LoadModule mod_tls.c
TLSEngine on
TLSProtocol TLSv1.2 TLSv1.3
TLSECCertificateFile $pem
TLSECCertificateKeyFile $pem
TLSRequired off
TLSVerifyClient off
CONF
fi

serve proftpd env LD_LIBRARY_PATH="$servers/usr/lib/x86_64-linux-gnu" "$servers/usr/sbin/proftpd" -n -q -c "$config"
