#!/usr/bin/env bash
# Pure-FTPd, unpacked from Debian's packages by bench/common.sh, on a free port of 127.0.0.1:
#     pureftpd.sh SERVERS WORKDIR ROOT USER PASSWORD [PEM]
# SERVERS is the folder the packages were unpacked into. One virtual account, USER with
# PASSWORD, chrooted into ROOT (which it writes as nobody); with PEM (certificate and key) it
# offers explicit TLS. Prints "port N" once it listens, then serves until its standard input
# closes.
set -euo pipefail
servers=$1 work=$2 root=$3 user=$4 password=$5 pem=${6:-}
source "$(dirname "$0")/../tests/kit/serve.sh"

port=$(free_port)
mkdir -p "$work"
chmod 777 "$root"
rm -f "$work/pureftpd.passwd" "$work/pureftpd.pdb"
printf '%s\n%s\n' "$password" "$password" | "$servers/usr/bin/pure-pw" useradd "$user" -u 65534 -g 65534 -d "$root" \
    -f "$work/pureftpd.passwd" -m -F "$work/pureftpd.pdb" >/dev/null
tls=()
[[ -n $pem ]] && tls=(-Y 1 -2 "$pem,$pem")

# -E: no anonymous logins; -A: everyone chrooted; -H: no DNS look-ups; -c/-C: enough sessions.
serve pureftpd "$servers/usr/sbin/pure-ftpd" -S "127.0.0.1,$port" -4 -l "puredb:$work/pureftpd.pdb" -E -A -H -c 100 -C 100 \
    "${tls[@]}"
