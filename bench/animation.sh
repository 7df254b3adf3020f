#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Measures zelbrook-render on animations, on a release build. A generated
# 120-frame walk is rendered to GIF, APNG and WebP, and each time is set
# against 120 numbered PNG frames written with --output-dir in the same run
# (the shortest of three runs each). Then the animations (a nine-frame
# walk; 47 frames with holds of 8, 2 and 3 and a smooth ease; a walk with a
# long still run; the nine-frame walk on a transparent background) are
# rendered to each format, and each file's size is set
# against what independent optimisers make of it: gifsicle -O3 of our GIF,
# apngopt -z0 of our APNG, and img2webp -lossless of the numbered frames.
# Each shipped move's Lottie file is set beside its GIF. Last, MP4 and WebM
# are set against the numbered frames by SSIM.
# Usage: bench/animation.sh [path/to/zelbrook-render [folder to work in]]
set -eu

render=$(realpath "${1:-build/release/src/tools/zelbrook-render}")
[ -x "$render" ] || { echo "no program at $render; build the release preset first" >&2; exit 1; }
for tool in gifsicle apngopt img2webp; do
    command -v "$tool" >/dev/null || { echo "$tool is missing (scripts/install-deps)" >&2; exit 1; }
done
work=$(mktemp -d -p "${2:-${TMPDIR:-/tmp}}")
trap 'rm -rf "$work"' EXIT

pose=$("$render" --default --format zba - | sed -n '/"pose"/,/}/p' | tr -d '\n' | sed -e 's/^ *"pose": //' -e 's/, *$//')
key() { # lLegAngle1 rLegAngle1 lArmAngle1 rArmAngle1 hold tweens ease
    echo "$pose" | sed -e "s/\"lLegAngle1\": [^,]*/\"lLegAngle1\": $1/" -e "s/\"rLegAngle1\": [^,]*/\"rLegAngle1\": $2/" \
        -e "s/\"lArmAngle1\": [^,]*/\"lArmAngle1\": $3/" -e "s/\"rArmAngle1\": [^,]*/\"rArmAngle1\": $4/" \
        -e 's/^/{"pose": /' -e "s/\$/, \"hold\": $5, \"tweens\": $6, \"ease\": \"$7\"}/"
}
animation() { # name fps keys...
    name=$1 fps=$2
    shift 2
    keys=$(printf '%s, ' "$@" | sed 's/, $//')
    echo "{\"format\": \"zelbrook-animation\", \"version\": 1, \"fps\": $fps, \"loop\": true, \"keys\": [$keys]}" \
        > "$work/$name.zba"
}
# Four keys of a walk, each with 29 in-betweens to the next: 120 frames.
animation walk120 24 "$(key 4.2 5.2 2.0 -2.4 1 29 smooth)" "$(key 4.7 4.7 2.3 -2.3 1 29 smooth)" \
    "$(key 5.2 4.2 2.6 -2.0 1 29 smooth)" "$(key 4.7 4.7 2.3 -2.3 1 29 smooth)"
# Nine keys of a walk, one frame each.
animation walk9 12 "$(key 4.2 5.2 2.0 -2.4 1 0 linear)" "$(key 4.4 5.0 2.1 -2.4 1 0 linear)" \
    "$(key 4.6 4.8 2.2 -2.3 1 0 linear)" "$(key 4.8 4.6 2.4 -2.2 1 0 linear)" "$(key 5.0 4.4 2.5 -2.1 1 0 linear)" \
    "$(key 5.2 4.2 2.6 -2.0 1 0 linear)" "$(key 5.0 4.4 2.5 -2.1 1 0 linear)" "$(key 4.7 4.7 2.3 -2.2 1 0 linear)" \
    "$(key 4.4 5.0 2.1 -2.3 1 0 linear)"
# Holds of 8, 2 and 3 frames, each easing smoothly to the next: 47 frames.
animation hold47 12 "$(key 4.2 5.2 2.0 -2.4 8 12 smooth)" "$(key 5.2 4.2 2.6 -2.0 2 10 smooth)" \
    "$(key 4.7 4.7 1.2 -1.2 3 12 smooth)"
# A walk that stands still for five seconds in the middle: 90 frames.
animation still 12 "$(key 4.2 5.2 2.0 -2.4 1 9 smooth)" "$(key 5.2 4.2 2.6 -2.0 60 9 smooth)" \
    "$(key 4.7 4.7 2.3 -2.3 1 9 smooth)"

now() { date +%s.%N; }
fastest() {
    best=""
    for run in 1 2 3; do
        start=$(now)
        "$@" >/dev/null
        took=$(echo "$(now) - $start" | bc -l)
        if [ -z "$best" ] || [ "$(echo "$took < $best" | bc -l)" = 1 ]; then best=$took; fi
    done
    echo "$best"
}
size() { stat -c %s "$1"; }
ratio() { echo "scale=3; $1 / $2" | bc -l; }

mkdir "$work/frames"
frames=$(fastest "$render" --quiet --format png --output-dir "$work/frames" "$work/walk120.zba")
count=$(ls "$work/frames" | wc -l)
[ "$count" -eq 120 ] || { echo "expected 120 frames, got $count" >&2; exit 1; }
printf '%-6s %10s %12s\n' format seconds "vs frames"
printf '%-6s %10.3f %12s\n' png "$frames" 1.00
for format in gif apng webp; do
    took=$(fastest "$render" "$work/walk120.zba" "$work/walk120.$format")
    printf '%-6s %10.3f %12s\n' "$format" "$took" "$(ratio "$took" "$frames")"
done

echo
printf '%-8s %-6s %7s %10s %-22s %10s %8s\n' animation format frames bytes optimiser "its bytes" ratio
cp "$work/walk9.zba" "$work/clear9.zba"
for name in walk120 walk9 hold47 still clear9; do
    style=""
    [ "$name" = clear9 ] && style=--transparent
    rm -rf "$work/frames" && mkdir "$work/frames"
    "$render" --quiet $style --format png --output-dir "$work/frames" "$work/$name.zba" >/dev/null
    count=$(ls "$work/frames" | wc -l)
    fps=$(sed -e 's/.*"fps": \([0-9]*\).*/\1/' "$work/$name.zba")
    for format in gif apng webp; do
        "$render" $style "$work/$name.zba" "$work/$name.$format" >/dev/null
        case $format in
            gif) tool="gifsicle -O3"; gifsicle -O3 "$work/$name.gif" -o "$work/other.gif"; other=$(size "$work/other.gif") ;;
            apng) tool="apngopt -z0" # takes a name starting with / for an option: run it in the folder
                  (cd "$work" && apngopt -z0 "$name.apng" other.png >/dev/null 2>&1)
                  other=$(size "$work/other.png") ;;
            webp) tool="img2webp -lossless"
                  img2webp -lossless -d "$(echo "1000 / $fps" | bc)" "$work"/frames/*.png -o "$work/other.webp" \
                      >/dev/null 2>&1
                  other=$(size "$work/other.webp") ;;
        esac
        bytes=$(size "$work/$name.$format")
        printf '%-8s %-6s %7s %10s %-22s %10s %8s\n' "$name" "$format" "$count" "$bytes" "$tool" "$other" \
            "$(ratio "$bytes" "$other")"
    done
done

# Each shipped move as a Lottie file beside its GIF: the Lottie file holds
# the keys, the GIF every frame's pixels.
echo
printf '%-12s %10s %12s %8s\n' move "gif bytes" "lottie bytes" ratio
for move in "$(dirname "$(realpath "$0")")"/../data/moves/*.zba; do
    name=$(basename "$move" .zba)
    "$render" "$move" "$work/move.gif" >/dev/null
    "$render" "$move" "$work/move.lottie.json" >/dev/null
    gif=$(size "$work/move.gif")
    lottie=$(size "$work/move.lottie.json")
    printf '%-12s %10s %12s %8s\n' "$name" "$gif" "$lottie" "$(ratio "$lottie" "$gif")"
done

# The videos against the numbered frames they were made of: the lowest SSIM
# of any frame, and the time of each, WebM against MP4.
command -v ffmpeg >/dev/null || { echo "ffmpeg is missing: no video figures" >&2; exit 0; }
echo
printf '%-8s %-6s %10s %12s %10s\n' animation format seconds "vs mp4" "least SSIM"
for name in walk9 hold47; do
    rm -rf "$work/frames" && mkdir "$work/frames"
    "$render" --quiet --format png --output-dir "$work/frames" "$work/$name.zba" >/dev/null
    fps=$(sed -e 's/.*"fps": \([0-9]*\).*/\1/' "$work/$name.zba")
    mp4=""
    for format in mp4 webm; do
        took=$(fastest "$render" "$work/$name.zba" "$work/$name.$format")
        [ -n "$mp4" ] || mp4=$took
        ffmpeg -nostdin -loglevel error -i "$work/$name.$format" -framerate "$fps" -i "$work/frames/$name-%04d.png" \
            -lavfi "[0:v]format=yuv444p,crop=493:397:0:0[a];[1:v]format=yuv444p[b];[a][b]ssim=stats_file=$work/ssim.log" \
            -f null - >/dev/null
        least=$(sed -e 's/.*All:\([0-9.]*\).*/\1/' "$work/ssim.log" | sort -n | head -1)
        printf '%-8s %-6s %10.3f %12s %10s\n' "$name" "$format" "$took" "$(ratio "$took" "$mp4")" "$least"
    done
done
