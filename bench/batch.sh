#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Measures zelbrook-render on many poses, on a release build:
#   1. 500 generated poses to PNG, one process each in a shell loop, against
#      one --output-dir --jobs 1 run (wall time; the files must be equal);
#   2. that batch with --jobs 1 against --jobs N, N being the processor count;
#   3. the peak memory of a 5,000-pose batch against a 50-pose batch.
# Every output is synced before it is put in place, so on a disk the times
# include the disk's sync latency; a folder on tmpfs (/dev/shm) shows the
# program's own work.
# Usage: bench/batch.sh [path/to/zelbrook-render [folder to work in]]
set -eu

render=$(realpath "${1:-build/release/src/tools/zelbrook-render}")
[ -x "$render" ] || { echo "no program at $render; build the release preset first" >&2; exit 1; }
processors=$(nproc)
work=$(mktemp -d -p "${2:-${TMPDIR:-/tmp}}")
trap 'rm -rf "$work"' EXIT

# Pose files that differ from one another: the start-up pose with another
# body angle (item 3, radians) and head radius (item 16).
generate() {
    count=$1 folder=$2
    mkdir -p "$folder"
    "$render" --default --format zbk - | tr -d '\r' > "$work/start.zbk"
    awk -v count="$count" -v folder="$folder" -F, '{
        for (i = 0; i < count; i++) {
            $0 = $0; OFS = ","
            $3 = (i % 60) / 100; $16 = 5 + i % 96
            printf "%s\r\n", $0 > (folder "/pose" i ".zbk")
            close(folder "/pose" i ".zbk")
        }
    }' "$work/start.zbk"
}

now() { date +%s.%N; }
# The shortest wall time of three runs of a command, which other load on the
# machine lengthens least.
fastest() {
    best=""
    for run in 1 2 3; do
        start=$(now)
        "$@"
        took=$(elapsed "$start" "$(now)")
        best=$(awk -v a="$took" -v b="${best:-$took}" 'BEGIN { print (a < b ? a : b) }')
    done
    echo "$best"
}
elapsed() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.3f", b - a }'; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.1f", a / b }'; }
peak() { /usr/bin/time -v "$@" 2>&1 >/dev/null | awk -F': ' '/Maximum resident set size/ { print $2 }'; }

generate 500 "$work/poses"
mkdir -p "$work/single" "$work/batch1" "$work/batchN"

start=$(now)
for pose in "$work"/poses/*.zbk; do
    name=${pose##*/}
    "$render" "$pose" "$work/single/${name%.zbk}.png"
done
single=$(elapsed "$start" "$(now)")

batch1=$(fastest "$render" --output-dir "$work/batch1" --format png --jobs 1 --quiet "$work"/poses/*.zbk)
batchN=$(fastest "$render" --output-dir "$work/batchN" --format png --jobs "$processors" --quiet "$work"/poses/*.zbk)

diff -r "$work/single" "$work/batch1" >/dev/null || { echo "single and batch outputs differ" >&2; exit 1; }
diff -r "$work/batch1" "$work/batchN" >/dev/null || { echo "--jobs 1 and --jobs $processors outputs differ" >&2; exit 1; }

echo "500 poses to PNG in $work, wall time:"
echo "  500 single runs:                      ${single} s"
echo "  one --output-dir --jobs 1 run:        ${batch1} s  ($(ratio "$single" "$batch1")x faster; best of 3)"
echo "  one --output-dir --jobs $processors run:        ${batchN} s  ($(ratio "$batch1" "$batchN")x faster than --jobs 1; best of 3)"

generate 5000 "$work/many"
ls "$work"/many/*.zbk > "$work/many.list"
head -n 50 "$work/many.list" > "$work/few.list"
mkdir -p "$work/outMany" "$work/outFew"
few=$(peak "$render" --output-dir "$work/outFew" --format png --quiet --list "$work/few.list")
many=$(peak "$render" --output-dir "$work/outMany" --format png --quiet --list "$work/many.list")
echo "Peak memory (maximum resident set size, --jobs $processors):"
echo "  50 poses:    ${few} KiB"
echo "  5,000 poses: ${many} KiB  ($(awk -v a="$many" -v b="$few" 'BEGIN { printf "%+.1f", (a / b - 1) * 100 }') % against the 50-pose run)"
