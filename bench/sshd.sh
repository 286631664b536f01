#!/usr/bin/env bash
# Debian's OpenSSH server on a free port of 127.0.0.1, for the benchmarks:
#     sshd.sh WORKDIR AUTHORIZED_KEYS
# Its configuration (tests/kit/sshd_config.in, as the tests have it), its log (sshd.log) and its
# ed25519 host key (ssh_host_ed25519_key) are in WORKDIR. Only root logs in, only with a key of
# AUTHORIZED_KEYS (the benchmarks run as root); SFTP is served in-process, from root's home.
# Prints "port N" once it listens, then serves until its standard input closes, so it never
# outlives its caller.
set -euo pipefail
work=$1
keys=$2
kit=$(dirname "$0")/../tests/kit
source "$kit/serve.sh"

ssh-keygen -q -t ed25519 -N '' -C tessaly-test-host -f "$work/ssh_host_ed25519_key"
port=$(free_port)
# Quoted replacements: taken as they are, "&" included.
config=$(<"$kit/sshd_config.in")
config=${config//@PORT@/"$port"}
config=${config//@HOST_KEY@/"$work/ssh_host_ed25519_key"}
config=${config//@AUTHORIZED_KEYS@/"$keys"}
config=${config//@START_FOLDER@/%d}
printf '%s\n' "$config" >"$work/sshd_config"
# sshd refuses to start without its privilege separation folder, which the system's service
# would have made.
mkdir -p /run/sshd

serve sshd /usr/sbin/sshd -D -e -f "$work/sshd_config"
