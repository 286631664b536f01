#!/usr/bin/env bash
# Upload benchmark to a local S3 store (s3rver on loopback, path-style): S3Client beside
# `rclone copy` (Debian's rclone, s3 backend, provider Other), in the same run. One 1 GiB file
# (multipart), then 500 files of 20 KiB; the median of a few rounds, the ratio of rclone's time
# to S3Client's (above 1: S3Client is faster) and each client's peak resident memory. The tools
# get an environment without AWS_* variables.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
rounds=${TESSALY_BENCH_ROUNDS:-3}
source "$top/bench/common.sh"
build_bench ftpbench
for name in $(compgen -e | grep '^AWS_' || true); do unset "$name"; done

mkdir -p "$work/store" "$work/small"
NODE_OPTIONS=--openssl-legacy-provider "$top/build-tools/node_modules/.bin/s3rver" -d "$work/store" -a 127.0.0.1 -p 0 \
    --no-vhost-buckets --silent --configure-bucket bench >"$work/s3rver.out" &
pids+=($!)
until grep -q 'listening on' "$work/s3rver.out" 2>/dev/null; do sleep 0.1; done
port=$(sed -n 's/.*listening on [^:]*:\([0-9]*\).*/\1/p' "$work/s3rver.out")

head -c $((1024 * 1024 * 1024)) /dev/urandom >"$work/big.bin"
for i in $(seq -w 1 500); do head -c 20480 /dev/urandom >"$work/small/f$i.bin"; done
small_files=("$work"/small/f*.bin)

export RCLONE_CONFIG_BENCH_TYPE=s3 RCLONE_CONFIG_BENCH_PROVIDER=Other RCLONE_CONFIG_BENCH_ACCESS_KEY_ID=S3RVER \
    RCLONE_CONFIG_BENCH_SECRET_ACCESS_KEY=S3RVER RCLONE_CONFIG_BENCH_ENDPOINT="http://127.0.0.1:$port" \
    RCLONE_CONFIG_BENCH_FORCE_PATH_STYLE=true

before_round() { rm -rf "${work:?}/store/bench/"*; }
# The peak resident memory (KiB) of the last round, which ran under /usr/bin/time.
timed=(/usr/bin/time -f 'rss %M' -o "$work/rss")
rss() { awk '/^rss/ {print $2}' "$work/rss"; }
ours=("${timed[@]}" "$build/ftpbench" s3://127.0.0.1 "$port" S3RVER S3RVER --cd bench/run)
rclone_copy=("${timed[@]}" rclone copy --config /dev/null)

ours_big=$(median_time "${ours[@]}" "$work/big.bin"); rss_ours_big=$(rss)
cmp -s "$work/big.bin" "$work/store/bench/run/big.bin._S3rver_object" || { echo "1 GiB file arrived damaged" >&2; exit 1; }
rclone_big=$(median_time "${rclone_copy[@]}" "$work/big.bin" bench:bench/run); rss_rclone_big=$(rss)
ours_small=$(median_time "${ours[@]}" "${small_files[@]}"); rss_ours_small=$(rss)
[[ $(ls "$work/store/bench/run" | grep -c '_S3rver_object$') -eq 500 ]] || { echo "small files missing" >&2; exit 1; }
rclone_small=$(median_time "${rclone_copy[@]}" "$work/small" bench:bench/run); rss_rclone_small=$(rss)

awk -v ob="$ours_big" -v rb="$rclone_big" -v os="$ours_small" -v rs="$rclone_small" \
    -v mob="$rss_ours_big" -v mrb="$rss_rclone_big" -v mos="$rss_ours_small" -v mrs="$rss_rclone_small" 'BEGIN {
    printf "| upload to s3rver | S3Client | rclone copy | rclone time / S3Client time |\n"
    printf "|---|---|---|---|\n"
    printf "| 1 GiB file | %.1f s (%.0f MiB/s), RSS %d MiB | %.1f s (%.0f MiB/s), RSS %d MiB | %.2f |\n", ob, 1024 / ob, mob / 1024, rb, 1024 / rb, mrb / 1024, rb / ob
    printf "| 500 x 20 KiB | %.1f s, RSS %d MiB | %.1f s, RSS %d MiB | %.2f |\n", os, mos / 1024, rs, mrs / 1024, rs / os
}'
