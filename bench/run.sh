#!/usr/bin/env bash
# Upload benchmark: FtpClient against curl, to a pyftpdlib server on loopback.
# One 1 GiB file, then 500 files of 20 KiB in one connection; the best of a few rounds of each.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=${TESSALY_BENCH_BUILD_DIR:-$top/build-bench}
rounds=${TESSALY_BENCH_ROUNDS:-3}

cmake -S "$top/bench" -B "$build" >/dev/null
cmake --build "$build" --parallel 2 >/dev/null

work=$(mktemp -d)
server_pid=
cleanup() {
    [[ -n "$server_pid" ]] && kill "$server_pid" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT

mkdir -p "$work/root" "$work/small"
user=bench
password=bench-pass
# The server leaves when its input closes: keep a pipe open to it for the run.
coproc SERVER { PYTHONDONTWRITEBYTECODE=1 exec /usr/bin/python3 "$top/tests/kit/ftpserver.py" \
    --root "$work/root" --user "$user" --password "$password"; }
server_pid=$SERVER_PID
read -r _ port <&"${SERVER[0]}"

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

ours_big=$(best_time "$build/ftpbench" 127.0.0.1 "$port" "$user" "$password" "$work/big.bin")
rss_big=$(awk '/peak-rss-kib/ {print $2}' "$work/out")
cmp -s "$work/big.bin" "$work/root/big.bin" || { echo "1 GiB file arrived damaged" >&2; exit 1; }
curl_big=$(best_time curl -sS --user "$user:$password" -T "$work/big.bin" "ftp://127.0.0.1:$port/")

ours_small=$(best_time "$build/ftpbench" 127.0.0.1 "$port" "$user" "$password" "${small_files[@]}")
rss_small=$(awk '/peak-rss-kib/ {print $2}' "$work/out")
[[ $(ls "$work/root" | wc -l) -eq 500 ]] || { echo "small files missing" >&2; exit 1; }
curl_small=$(best_time curl -sS --user "$user:$password" -T "$work/small/f[001-500].bin" "ftp://127.0.0.1:$port/")

awk -v ob="$ours_big" -v cb="$curl_big" -v os="$ours_small" -v cs="$curl_small" \
    -v rb="$rss_big" -v rs="$rss_small" -v rounds="$rounds" 'BEGIN {
    printf "best of %d rounds\n", rounds
    printf "1 GiB file:      FtpClient %7.1f MiB/s   curl %7.1f MiB/s   ratio %.2f\n", 1024 / ob, 1024 / cb, cb / ob
    printf "500 x 20 KiB:    FtpClient %7.1f files/s curl %7.1f files/s ratio %.2f\n", 500 / os, 500 / cs, cs / os
    printf "peak resident memory of FtpClient: %.1f MiB (1 GiB file), %.1f MiB (500 files)\n", rb / 1024, rs / 1024
}'
