#!/usr/bin/env bash
# SFTP upload benchmark: SftpClient beside OpenSSH's sftp -b and rclone copy (its sftp backend),
# to Debian's OpenSSH server on 127.0.0.1 (bench/sshd.sh, files in memory), directly and
# through bench/relay.py, which delays each direction by 25 ms (50 ms of round trip, a distant
# host). One 1 GiB file, then 500 files of 20 KiB in one connection; the median wall time of a
# few rounds (TESSALY_BENCH_ROUNDS, 3 by default), the rate, and the processor time and peak
# resident memory of the client's process as /usr/bin/time -v reports them (its last round). On
# loopback the clients' wall times swing by a fifth from run to run on this kind of machine: the
# processor time each spends tells their costs apart as well.
#
# rclone keeps its defaults (4 files at once) but checks no hashes: that would run md5sum on the
# server after each file. Its settings come from the environment alone, with no AWS_* variable.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
rounds=${TESSALY_BENCH_ROUNDS:-3}
source "$top/bench/common.sh"
build_bench sftpbench

home=$work/home
mkdir -p "$home/.ssh" "$work/root" "$work/small" "$work/sshd"
ssh-keygen -q -t ed25519 -N '' -C bench -f "$home/.ssh/id_ed25519"
start_server sshd "$top/bench/sshd.sh" "$work/sshd" "$home/.ssh/id_ed25519.pub"
start_server relay /usr/bin/python3 "$top/bench/relay.py" "$(port_of sshd)" 25
# Both ports know the server's key, so no client asks.
for port in $(port_of sshd) $(port_of relay); do
    echo "[127.0.0.1]:$port $(cut -d' ' -f1,2 "$work/sshd/ssh_host_ed25519_key.pub")"
done >"$work/known_hosts"
: >"$work/rclone.conf"

head -c $((1024 * 1024 * 1024)) /dev/urandom >"$work/big.bin"
for i in $(seq -w 1 500); do head -c 20480 /dev/urandom >"$work/small/f$i.bin"; done
small_files=("$work"/small/f*.bin)

# Each client sends its arguments (files) into $work/root on $port, timed: /usr/bin/time reports
# the largest of the process and the ones it waited for (OpenSSH's sftp runs ssh).
timed=(/usr/bin/time -v -o "$work/time")
tessaly() { "${timed[@]}" env HOME="$home" "$build/sftpbench" 127.0.0.1 "$port" root "$work/root" "$@"; }
openssh() {
    printf 'put %s\n' "$@" >"$work/batch"
    "${timed[@]}" sftp -q -F /dev/null -b "$work/batch" -i "$home/.ssh/id_ed25519" -o UserKnownHostsFile="$work/known_hosts" \
        -o StrictHostKeyChecking=yes -P "$port" "root@127.0.0.1:$work/root"
}
rclone_copy() {
    # One file, or the folder of the small ones.
    local source=$1
    [[ $# -gt 1 ]] && source=$work/small
    "${timed[@]}" env -i PATH="$PATH" HOME="$home" RCLONE_CONFIG="$work/rclone.conf" RCLONE_SFTP_HOST=127.0.0.1 \
        RCLONE_SFTP_PORT="$port" RCLONE_SFTP_USER=root RCLONE_SFTP_KEY_FILE="$home/.ssh/id_ed25519" \
        RCLONE_SFTP_KNOWN_HOSTS_FILE="$work/known_hosts" RCLONE_SFTP_DISABLE_HASHCHECK=true \
        RCLONE_SFTP_SHELL_TYPE=none rclone copy "$source" ":sftp:$work/root"
}

# row LINK PAYLOAD BYTES CLIENT FILE...: one line of the table, once the upload is checked.
row() {
    local link=$1 payload=$2 bytes=$3 client=$4
    shift 4
    local seconds
    seconds=$(median_time "$client" "$@")
    if [[ $# -eq 1 ]]; then
        cmp -s "$1" "$work/root/$(basename "$1")" || { echo "$client: $payload arrived damaged" >&2; exit 1; }
    else
        [[ $(ls "$work/root" | wc -l) -eq $# ]] || { echo "$client: files missing" >&2; exit 1; }
    fi
    awk -v link="$link" -v payload="$payload" -v client="$client" -v s="$seconds" -v bytes="$bytes" \
        '/Maximum resident set size/ {rss = $NF} /(User|System) time/ {cpu += $NF} END {
            printf "| %s | %s | %s | %.2f | %.2f | %.2f | %.1f |\n", link, payload, client, s, bytes / s / 1e6, cpu, rss / 1024
        }' "$work/time"
}

echo "median of $rounds rounds"
echo "| link | payload | client | seconds | MB/s | processor s | peak RSS (MiB) |"
echo "|---|---|---|---|---|---|---|"
for link in loopback "relay, 2 x 25 ms"; do
    if [[ $link == loopback ]]; then port=$(port_of sshd); else port=$(port_of relay); fi
    for client in tessaly openssh rclone_copy; do
        row "$link" "1 GiB" $((1024 * 1024 * 1024)) "$client" "$work/big.bin"
    done
    for client in tessaly openssh rclone_copy; do
        row "$link" "500 x 20 KiB" $((500 * 20480)) "$client" "${small_files[@]}"
    done
done
