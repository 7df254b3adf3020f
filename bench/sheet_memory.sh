#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Measures the largest sprite sheet's memory on a release build: 1,353
# frames in 33 columns, 16,269 x 16,277 pixels. Its maximum resident memory
# is set against a one-frame sheet's plus one row of cells at 4 bytes a
# pixel, which is what a sheet written a row of cells at a time should need.
# Usage: bench/sheet_memory.sh [path/to/zelbrook-render [folder to work in]]
set -eu

render=$(realpath "${1:-build/release/src/tools/zelbrook-render}")
[ -x "$render" ] || { echo "no program at $render; build the release preset first" >&2; exit 1; }
command -v python3 >/dev/null || { echo "python3 is missing" >&2; exit 1; }
work=$(mktemp -d -p "${2:-${TMPDIR:-/tmp}}")
trap 'rm -rf "$work"' EXIT

# Three keys, each shown once with 450 in-betweens to the next: 1,353 frames.
pose=$("$render" --default --format zba - | sed -n '/"pose"/,/}/p' | tr -d '\n' | sed -e 's/^ *"pose": //' -e 's/, *$//')
key() { # lLegAngle1 rArmAngle1
    echo "$pose" | sed -e "s/\"lLegAngle1\": [^,]*/\"lLegAngle1\": $1/" -e "s/\"rArmAngle1\": [^,]*/\"rArmAngle1\": $2/" \
        -e 's/^/{"pose": /' -e 's/$/, "hold": 1, "tweens": 450, "ease": "smooth"}/'
}
cat > "$work/long.zba" <<JSON
{"format": "zelbrook-animation", "version": 1, "fps": 24, "loop": true, "keys": [
$(key 4.2 -2.4), $(key 5.2 -1.0), $(key 4.7 -2.0)]}
JSON

# The largest resident memory of the command, in KiB, as the kernel counts it.
peak() {
    python3 -c 'import resource, subprocess, sys
subprocess.run(sys.argv[1:], check=True, stdout=subprocess.DEVNULL)
print(resource.getrusage(resource.RUSAGE_CHILDREN).ru_maxrss)' "$@"
}

one=$(peak "$render" --default --format sheet "$work/one.png")
large=$(peak "$render" --format sheet --columns 33 "$work/long.zba" "$work/large.png")
size=$(python3 -c 'import struct, sys; f = open(sys.argv[1], "rb"); f.seek(16); print("%d x %d" % struct.unpack(">II", f.read(8)))' "$work/large.png")
row=$((33 * 493 * 397 * 4 / 1024))
printf '%-28s %12s\n' sheet "max RSS KiB"
printf '%-28s %12s\n' "one frame" "$one"
printf '%-28s %12s\n' "one row of cells (4 B/px)" "$row"
printf '%-28s %12s\n' "1,353 frames, $size" "$large"
printf 'ratio to one frame + one row: %s\n' "$(echo "scale=3; $large / ($one + $row)" | bc -l)"
