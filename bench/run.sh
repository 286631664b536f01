#!/usr/bin/env bash
# Upload benchmark: FtpClient beside curl and lftp, to pyftpdlib and to Debian's vsftpd on
# loopback, in plain FTP and over explicit TLS (self-signed certificate). One 1 GiB file, then
# 500 files of 20 KiB in one connection; the median of a few rounds of each, and the ratio of
# each other client's time to FtpClient's (above 1: FtpClient is faster). Then the time taken to
# read listings and replies of growing size fed in small segments.
#
# curl is left out over TLS on pyftpdlib: it starts the data connection's handshake before
# sending STOR, and pyftpdlib drops such connections. It is left out of the small files too: it
# pauses after each file (from 20 to 200 ms here), so lftp is the one to match there.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
rounds=${TESSALY_BENCH_ROUNDS:-5}
source "$top/bench/common.sh"
build_bench ftpbench parsebench

mkdir -p "$work/root" "$work/small"
openssl req -x509 -newkey ec -pkeyopt ec_paramgen_curve:prime256v1 -nodes -days 2 -subj /CN=bench \
    -keyout "$work/key.pem" -out "$work/cert.pem" 2>/dev/null
cat "$work/cert.pem" "$work/key.pem" >"$work/server.pem"

pyftpdlib=(/usr/bin/python3 "$top/tests/kit/ftpserver.py" --root "$work/root" --user bench --password bench-pass)
start_server pyftpdlib-plain "${pyftpdlib[@]}"
start_server pyftpdlib-tls "${pyftpdlib[@]}" --certificate "$work/server.pem"
mkdir -p "$work/vsftpd-plain" "$work/vsftpd-tls"
start_server vsftpd-plain "$top/tests/kit/vsftpd.sh" "$work/vsftpd-plain" "$work/root"
start_server vsftpd-tls "$top/tests/kit/vsftpd.sh" "$work/vsftpd-tls" "$work/root" "$work/server.pem"

head -c $((1024 * 1024 * 1024)) /dev/urandom >"$work/big.bin"
for i in $(seq -w 1 500); do head -c 20480 /dev/urandom >"$work/small/f$i.bin"; done
small_files=("$work"/small/f*.bin)

# Each round starts from an empty server folder.
before_round() { rm -rf "${work:?}/root/"*; }

ours() { "$build/ftpbench" 127.0.0.1 "$port" "$user" "$password" "$@"; }
curl_put() {
    local tls=()
    [[ $encryption == yes ]] && tls=(--ssl-reqd --insecure)
    curl -sS "${tls[@]}" --user "$user:$password" -T "$1" "ftp://127.0.0.1:$port/"
}
lftp_put() {
    local tls="set ftp:ssl-allow false"
    [[ $encryption == yes ]] && tls="set ftp:ssl-force true; set ftp:ssl-protect-data true; set ssl:verify-certificate false"
    lftp -u "$user,$password" -e "$tls; $1; bye" "ftp://127.0.0.1:$port"
}

# measure LABEL PORT USER PASSWORD ENCRYPTED(yes|no) WITH_CURL(yes|no)
measure() {
    local label=$1 with_curl=$6
    port=$2 user=$3 password=$4 encryption=$5
    local ours_big curl_big=0 lftp_big ours_small lftp_small rss_big rss_small
    ours_big=$(median_time ours "$work/big.bin")
    rss_big=$(awk '/peak-rss-kib/ {print $2}' "$work/out")
    grep -q "encrypted $encryption" "$work/out" || { echo "$label: not the expected encryption" >&2; exit 1; }
    cmp -s "$work/big.bin" "$work/root/big.bin" || { echo "$label: 1 GiB file arrived damaged" >&2; exit 1; }
    [[ $with_curl == yes ]] && curl_big=$(median_time curl_put "$work/big.bin")
    lftp_big=$(median_time lftp_put "put $work/big.bin")

    ours_small=$(median_time ours "${small_files[@]}")
    rss_small=$(awk '/peak-rss-kib/ {print $2}' "$work/out")
    [[ $(ls "$work/root" | wc -l) -eq 500 ]] || { echo "$label: small files missing" >&2; exit 1; }
    lftp_small=$(median_time lftp_put "mput $work/small/*.bin")

    awk -v label="$label" -v ob="$ours_big" -v cb="$curl_big" -v lb="$lftp_big" -v os="$ours_small" \
        -v ls="$lftp_small" -v rb="$rss_big" -v rs="$rss_small" 'BEGIN {
        printf "%s\n", label
        printf "  1 GiB file:    FtpClient %7.1f MiB/s", 1024 / ob
        if (cb > 0) printf "   curl %7.1f MiB/s (ratio %.2f)", 1024 / cb, cb / ob
        printf "   lftp %7.1f MiB/s (ratio %.2f)\n", 1024 / lb, lb / ob
        printf "  500 x 20 KiB:  FtpClient %7.1f files/s   lftp %7.1f files/s (ratio %.2f)\n", 500 / os, 500 / ls, ls / os
        printf "  peak resident memory of FtpClient: %.1f MiB (1 GiB file), %.1f MiB (500 files)\n", rb / 1024, rs / 1024
    }'
}

port_of() { awk '{print $2}' "$work/$1.port"; }
echo "median of $rounds rounds; ratio: the other client's time over FtpClient's"
measure "pyftpdlib, plain FTP" "$(port_of pyftpdlib-plain)" bench bench-pass no yes
measure "pyftpdlib, explicit TLS" "$(port_of pyftpdlib-tls)" bench bench-pass yes no
measure "vsftpd, plain FTP" "$(port_of vsftpd-plain)" anonymous bench@example.org no yes
measure "vsftpd, explicit TLS" "$(port_of vsftpd-tls)" anonymous bench@example.org yes yes

echo "reading listings and replies"
"$build/parsebench"
