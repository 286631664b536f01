#!/usr/bin/env bash
# Debian's vsftpd on a free port of 127.0.0.1, for the tests and the benchmark:
#     vsftpd.sh WORKDIR ROOT [PEM]
# Anonymous login ("anonymous", any password) with uploads into ROOT. With PEM (certificate and
# key) it offers explicit TLS and, like hosting companies set it up, requires the data
# connections to resume the control connection's TLS session. Prints "port N" once it listens,
# then serves until its standard input closes, so it never outlives its caller.
set -euo pipefail
work=$1
root=$2
pem=${3:-}
source "$(dirname "$0")/serve.sh"

port=$(free_port)
mkdir -p "$work/empty"
config=$work/vsftpd.conf
cat >"$config" <<CONF
listen=YES
listen_ipv6=NO
listen_address=127.0.0.1
listen_port=$port
background=NO
run_as_launching_user=YES
secure_chroot_dir=$work/empty
seccomp_sandbox=NO
local_enable=NO
anonymous_enable=YES
no_anon_password=YES
anon_root=$root
write_enable=YES
anon_upload_enable=YES
anon_mkdir_write_enable=YES
anon_other_write_enable=YES
anon_world_readable_only=NO
anon_umask=022
pasv_enable=YES
max_per_ip=0
max_clients=0
xferlog_enable=NO
CONF
if [[ -n $pem ]]; then
    cat >>"$config" <<CONF
ssl_enable=YES
allow_anon_ssl=YES
rsa_cert_file=$pem
rsa_private_key_file=$pem
force_anon_logins_ssl=NO
force_anon_data_ssl=NO
require_ssl_reuse=YES
CONF
fi

serve vsftpd /usr/sbin/vsftpd "$config"
