#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Measures zelbrook-render on animations, on a release build. A generated
# 120-frame animation is rendered to GIF, APNG and WebP, and each time is
# set against 120 numbered PNG frames written with --output-dir in the same
# run (the shortest of three runs each). Each file's size is set against what
# independent encoders make of the same frames: gifsicle -O3 of the same GIF,
# and img2webp -lossless of the numbered frames.
# Usage: bench/animation.sh [path/to/zelbrook-render [folder to work in]]
set -eu

render=$(realpath "${1:-build/release/src/tools/zelbrook-render}")
[ -x "$render" ] || { echo "no program at $render; build the release preset first" >&2; exit 1; }
for tool in gifsicle img2webp; do
    command -v "$tool" >/dev/null || { echo "$tool is missing (scripts/install-deps)" >&2; exit 1; }
done
work=$(mktemp -d -p "${2:-${TMPDIR:-/tmp}}")
trap 'rm -rf "$work"' EXIT

# Four keys of a walk, each with 29 in-betweens to the next: 120 frames.
pose=$("$render" --default --format zba - | sed -n '/"pose"/,/}/p' | tr -d '\n' | sed -e 's/^ *"pose": //' -e 's/, *$//')
key() { # lLegAngle1 rLegAngle1 lArmAngle1 rArmAngle1
    echo "$pose" | sed -e "s/\"lLegAngle1\": [^,]*/\"lLegAngle1\": $1/" -e "s/\"rLegAngle1\": [^,]*/\"rLegAngle1\": $2/" \
        -e "s/\"lArmAngle1\": [^,]*/\"lArmAngle1\": $3/" -e "s/\"rArmAngle1\": [^,]*/\"rArmAngle1\": $4/" \
        -e 's/^/{"pose": /' -e 's/$/, "hold": 1, "tweens": 29, "ease": "smooth"}/'
}
cat > "$work/walk.zba" <<JSON
{"format": "zelbrook-animation", "version": 1, "fps": 24, "loop": true, "keys": [
$(key 4.2 5.2 2.0 -2.4), $(key 4.7 4.7 2.3 -2.3), $(key 5.2 4.2 2.6 -2.0), $(key 4.7 4.7 2.3 -2.3)]}
JSON

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
ratio() { echo "scale=2; $1 / $2" | bc -l; }

mkdir "$work/frames"
frames=$(fastest "$render" --quiet --format png --output-dir "$work/frames" "$work/walk.zba")
count=$(ls "$work/frames" | wc -l)
[ "$count" -eq 120 ] || { echo "expected 120 frames, got $count" >&2; exit 1; }

printf '%-6s %10s %12s %10s %14s %10s\n' format seconds "vs frames" bytes "independent" "vs them"
printf '%-6s %10.3f %12s %10s %14s %10s\n' png "$frames" 1.00 - - -
for format in gif apng webp; do
    took=$(fastest "$render" "$work/walk.zba" "$work/walk.$format")
    bytes=$(size "$work/walk.$format")
    case $format in
        gif) gifsicle -O3 "$work/walk.gif" -o "$work/other.gif"; other=$(size "$work/other.gif") ;;
        webp) img2webp -lossless -d 42 "$work"/frames/walk-*.png -o "$work/other.webp" >/dev/null 2>&1
              other=$(size "$work/other.webp") ;;
        *) other="" ;;
    esac
    printf '%-6s %10.3f %12s %10s %14s %10s\n' "$format" "$took" "$(ratio "$took" "$frames")" "$bytes" \
        "${other:--}" "$([ -n "$other" ] && ratio "$bytes" "$other" || echo -)"
done
