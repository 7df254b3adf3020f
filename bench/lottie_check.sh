#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Plays zelbrook-render's Lottie files in lottie-web (its SVG renderer, in
# headless Chromium) and sets every joint the player shows, at every frame,
# against that frame's joint in zelbrook-render --format json: the shipped
# moves, and a scene of two figures (one entering and leaving, turning
# across 0, growing, eased smoothly) at zoom 1 and 3. Prints the largest
# difference of each, in canvas units; all must be below 0.05.
# Needs Debian's chromium and npm; lottie-web is installed into
# bench/browser/node_modules, which git ignores.
# Usage: bench/lottie_check.sh [path/to/zelbrook-render]
set -eu

here=$(dirname "$(realpath "$0")")
render=$(realpath "${1:-build/release/src/tools/zelbrook-render}")
[ -x "$render" ] || { echo "no program at $render; build it first" >&2; exit 1; }
browser=$(command -v chromium || command -v chromium-browser) || { echo "chromium is missing (apt-get install chromium)" >&2; exit 1; }
[ -d "$here/browser/node_modules/lottie-web" ] || (cd "$here/browser" && npm install --no-audit --no-fund >&2)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp "$here/browser/lottie_joints.html" "$work/"
ln -s "$here/browser/node_modules" "$work/node_modules"

# Two figures: the second enters at key 2 and leaves after key 3, turns
# across 0 and grows to twice its size, which the file writes each frame.
pose=$(QT_QPA_PLATFORM=offscreen "$render" --default --format zba - | sed -n '/"pose"/,/}/p' | tr -d '\n' \
    | sed -e 's/^ *"pose": //' -e 's/, *$//')
posed() { # hipX bodyAngle rotation scale
    echo "$pose" | sed -e "s/\"hipX\": [^,]*/\"hipX\": $1/" -e "s/\"bodyAngle\": [^,]*/\"bodyAngle\": $2/" \
        -e "s/\"rotation\": [^,]*/\"rotation\": $3/" -e "s/\"scale\": [^,}]*/\"scale\": $4/"
}
cat > "$work/two figures.zba" <<SCENE
{"format": "zelbrook-animation", "version": 2, "fps": 12, "loop": true,
 "figures": [{"id": 1, "name": "Walker"}, {"id": 2, "name": "Thrower", "color": "#c03020"}],
 "keys": [{"figures": [{"id": 1, "pose": $(posed 150 1.5 0 1), "penWidth": 2}], "hold": 2, "tweens": 5, "ease": "smooth"},
          {"figures": [{"id": 1, "pose": $(posed 170 1.7 0.2 1), "penWidth": 2},
                       {"id": 2, "pose": $(posed 330 1.6 0.3 1), "penWidth": 4}], "hold": 1, "tweens": 7, "ease": "smooth"},
          {"figures": [{"id": 1, "pose": $(posed 190 1.4 -0.2 1), "penWidth": 3},
                       {"id": 2, "pose": $(posed 310 1.2 -0.4 2), "penWidth": 4}], "hold": 3, "tweens": 4, "ease": "linear"}]}
SCENE

check() { # animation zoom
    QT_QPA_PLATFORM=offscreen "$render" --format lottie --zoom "$2" "$1" "$work/out.lottie.json"
    QT_QPA_PLATFORM=offscreen "$render" --format json "$1" "$work/frames.json"
    {
        printf 'const ZOOM = %s;\nconst LOTTIE = ' "$2"
        cat "$work/out.lottie.json"
        printf ';\nconst FRAMES = ('
        cat "$work/frames.json"
        printf ').frames;\n'
    } > "$work/data.js"
    result=$("$browser" --headless --no-sandbox --disable-gpu --allow-file-access-from-files \
        --virtual-time-budget=60000 --dump-dom "file://$work/lottie_joints.html" 2>/dev/null \
        | grep -o 'largest[^<]*\|failed[^<]*' || echo "no result")
    printf '%-28s zoom %s  %s\n' "$(basename "$1" .zba)" "$2" "$result"
}

for move in "$here"/../data/moves/*.zba; do
    check "$move" 1
done
check "$work/two figures.zba" 1
check "$work/two figures.zba" 3
