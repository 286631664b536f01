#!/usr/bin/env bash
# Upload benchmark: FtpClient against curl, to a pyftpdlib server on loopback, in plain FTP and
# over explicit TLS (self-signed certificate). One 1 GiB file, then 500 files of 20 KiB in one
# connection; the best of a few rounds of each. curl is left out over TLS: it starts the data
# connection's handshake before sending STOR, and pyftpdlib drops such connections.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=${TESSALY_BENCH_BUILD_DIR:-$top/build-bench}
rounds=${TESSALY_BENCH_ROUNDS:-5}

cmake -S "$top/bench" -B "$build" >/dev/null
cmake --build "$build" --target ftpbench --parallel 2 >/dev/null

# In memory where the machine allows: the server writes every upload, and a disk's pace would
# drown the clients' own.
if [[ -d /dev/shm && -w /dev/shm ]]; then work=$(mktemp -d -p /dev/shm); else work=$(mktemp -d); fi
pids=()
cleanup() {
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null; done
    rm -rf "$work"
}
trap cleanup EXIT

mkdir -p "$work/root" "$work/small"
user=bench
password=bench-pass
openssl req -x509 -newkey ec -pkeyopt ec_paramgen_curve:prime256v1 -nodes -days 2 -subj /CN=bench \
    -keyout "$work/key.pem" -out "$work/cert.pem" 2>/dev/null
cat "$work/cert.pem" "$work/key.pem" >"$work/server.pem"

# start_server NAME [OPTION...]: prints the port. The server leaves when its input closes: a
# descriptor of this shell keeps that pipe open for the run.
start_server() {
    local name=$1
    shift
    mkfifo "$work/$name.in"
    PYTHONDONTWRITEBYTECODE=1 /usr/bin/python3 "$top/tests/kit/ftpserver.py" --root "$work/root" \
        --user "$user" --password "$password" "$@" <"$work/$name.in" >"$work/$name.port" &
    pids+=($!)
    exec {keep}>"$work/$name.in"
    until [[ -s "$work/$name.port" ]]; do sleep 0.1; done
}
start_server plain
start_server tls --certificate "$work/server.pem"
read -r _ plain_port <"$work/plain.port"
read -r _ tls_port <"$work/tls.port"

head -c $((1024 * 1024 * 1024)) /dev/urandom >"$work/big.bin"
for i in $(seq -w 1 500); do head -c 20480 /dev/urandom >"$work/small/f$i.bin"; done
small_files=("$work"/small/f*.bin)

now() { date +%s.%N; }
# Best (shortest) wall time of a command over the rounds, in seconds.
best_time() {
    local best=
    for ((r = 0; r < rounds; r++)); do
        rm -rf "${work:?}/root/"*
        local start end
        start=$(now)
        "$@" >"$work/out" || { cat "$work/out" >&2; exit 1; }
        end=$(now)
        best=$(echo "$start $end ${best:-1e9}" | awk '{t = $2 - $1; print (t < $3 ? t : $3)}')
    done
    echo "$best"
}

# measure LABEL PORT ENCRYPTED(yes|no) WITH_CURL(yes|no)
measure() {
    local label=$1 port=$2 encryption=$3 with_curl=$4
    local ours_big rss_big curl_big=0 ours_small rss_small curl_small=0
    ours_big=$(best_time "$build/ftpbench" 127.0.0.1 "$port" "$user" "$password" "$work/big.bin")
    rss_big=$(awk '/peak-rss-kib/ {print $2}' "$work/out")
    grep -q "encrypted $encryption" "$work/out" || { echo "$label: not the expected encryption" >&2; exit 1; }
    cmp -s "$work/big.bin" "$work/root/big.bin" || { echo "$label: 1 GiB file arrived damaged" >&2; exit 1; }
    [[ $with_curl == yes ]] && curl_big=$(best_time curl -sS --user "$user:$password" -T "$work/big.bin" "ftp://127.0.0.1:$port/")

    ours_small=$(best_time "$build/ftpbench" 127.0.0.1 "$port" "$user" "$password" "${small_files[@]}")
    rss_small=$(awk '/peak-rss-kib/ {print $2}' "$work/out")
    [[ $(ls "$work/root" | wc -l) -eq 500 ]] || { echo "$label: small files missing" >&2; exit 1; }
    [[ $with_curl == yes ]] && curl_small=$(best_time curl -sS --user "$user:$password" -T "$work/small/f[001-500].bin" "ftp://127.0.0.1:$port/")

    awk -v label="$label" -v ob="$ours_big" -v cb="$curl_big" -v os="$ours_small" -v cs="$curl_small" \
        -v rb="$rss_big" -v rs="$rss_small" 'BEGIN {
        printf "%s\n", label
        if (cb > 0) {
            printf "  1 GiB file:      FtpClient %7.1f MiB/s   curl %7.1f MiB/s   ratio %.2f\n", 1024 / ob, 1024 / cb, cb / ob
            printf "  500 x 20 KiB:    FtpClient %7.1f files/s curl %7.1f files/s ratio %.2f\n", 500 / os, 500 / cs, cs / os
        } else {
            printf "  1 GiB file:      FtpClient %7.1f MiB/s\n", 1024 / ob
            printf "  500 x 20 KiB:    FtpClient %7.1f files/s\n", 500 / os
        }
        printf "  peak resident memory of FtpClient: %.1f MiB (1 GiB file), %.1f MiB (500 files)\n", rb / 1024, rs / 1024
    }'
}

echo "best of $rounds rounds"
measure "plain FTP" "$plain_port" no yes
measure "explicit TLS" "$tls_port" yes no
