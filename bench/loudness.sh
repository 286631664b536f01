#!/usr/bin/env bash
# Loudness benchmark: a one-hour 128 kbit/s stereo episode (pink noise made by sox, encoded by
# lame) measured as the upload measures it (libmpg123 and libebur128, the true peak of each
# channel on its own thread), beside ffmpeg's ebur128 filter with the true peak on the same file;
# the best of a few rounds of each, alternating. The target: no slower than ffmpeg.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
rounds=${TESSALY_BENCH_ROUNDS:-3}
seconds=${TESSALY_BENCH_SECONDS:-3600}
source "$top/bench/common.sh"
build_bench loudnessbench

sox -q -n -r 44100 -b 16 -c 2 -t wav - synth "$seconds" pinknoise vol 0.2 2>/dev/null |
    lame --quiet -b 128 - "$work/episode.mp3"

ffmpeg_best=
ours_best=
for ((round = 0; round < rounds; ++round)); do
    start=$(date +%s%N)
    ffmpeg -nostats -hide_banner -i "$work/episode.mp3" -af ebur128=peak=true -f null - 2>"$work/ffmpeg.log"
    ms=$((($(date +%s%N) - start) / 1000000))
    [[ -z "$ffmpeg_best" || $ms -lt $ffmpeg_best ]] && ffmpeg_best=$ms
    read -r ms _ lufs _ peak _ < <("$build/loudnessbench" "$work/episode.mp3" 1)
    [[ -z "$ours_best" || $ms -lt $ours_best ]] && ours_best=$ms
done
ffmpeg_lufs=$(grep -A1 'Integrated loudness:' "$work/ffmpeg.log" | sed -n 's/.*I: *\(-*[0-9.]*\) LUFS/\1/p')
ffmpeg_peak=$(grep -A1 'True peak:' "$work/ffmpeg.log" | sed -n 's/.*Peak: *\(-*[0-9.inf]*\) dBFS/\1/p')

printf '%s s stereo at 128 kbit/s (%s MB), best of %d rounds, %d cores\n' "$seconds" \
    $(($(stat -c %s "$work/episode.mp3") / 1000000)) "$rounds" "$(nproc)"
printf '  %-28s %8s %10s %10s\n' measure ms LUFS dBTP
printf '  %-28s %8d %10s %10s\n' "ffmpeg -af ebur128=peak=true" "$ffmpeg_best" "$ffmpeg_lufs" "$ffmpeg_peak"
printf '  %-28s %8d %10s %10s\n' "Tessaly (mpg123 + ebur128)" "$ours_best" "$lufs" "$peak"
printf '  ffmpeg / Tessaly: %s\n' "$(awk -v a="$ffmpeg_best" -v b="$ours_best" 'BEGIN { printf "%.2f", a / b }')"
