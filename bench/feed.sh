#!/usr/bin/env bash
# Feed benchmark: feed.xml for a folder of 1,000 episodes (lame-made MP3s with tags and ID3
# chapters, each with a WebVTT transcript), built as an upload builds it; the best of a few
# rounds. The target is under 1 s.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
rounds=${TESSALY_BENCH_ROUNDS:-5}
count=${TESSALY_BENCH_EPISODES:-1000}
source "$top/bench/common.sh"
build_bench feedbench

mkdir "$work/episodes"
# Thirty seconds of silence at 64 kbit/s (about 240 KB), tagged as a podcaster's tool would.
head -c $((30 * 44100 * 2)) /dev/zero |
    lame --quiet -r -s 44.1 --bitwidth 16 -m m -b 64 --tt "Un épisode" --tc "Ce qu'on y dit" \
        --tn 12 --tv TPOS=3 --tv TDRC=2024-03-01 - "$work/template.mp3"
/usr/bin/python3 "$top/tests/feed/writechapters.py" "$work/template.mp3" '{"toc": ["c1", "c2", "c3"], "chapters": [
    {"id": "c1", "start": 0, "end": 10000, "title": "Ouverture"},
    {"id": "c2", "start": 10000, "end": 20000, "title": "Le sujet", "url": "https://example.com/sujet"},
    {"id": "c3", "start": 20000, "end": 30000, "title": "Fin"}]}'
{
    echo WEBVTT
    for ((s = 0; s < 30; s += 2)); do printf '\n00:%02d.000 --> 00:%02d.000\nPhrase %d du texte.\n' $s $((s + 2)) $s; done
} >"$work/template.vtt"
"$build/feedbench" "$work/template.mp3" "$work/template.vtt" "$work/episodes" "$count" "$rounds"
