#!/bin/bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs the thumbnailer's Exec line as a file manager's thumbnail factory does:
# under bwrap with /usr read-only, a private /tmp that receives the thumbnail,
# no home folder, no /etc and a bare environment. The thumbnail must have the
# size asked for, and nothing may be printed or left beside it.
# Usage: test_thumbnailer.sh THUMBNAILER_FILE ZELBROOK_RENDER ANIMATION_FILE
set -u
entry=$1
render=$(realpath "$2")
animation=$3
# shellcheck source=tests/packaging/require_tool.sh
source "$(dirname "${BASH_SOURCE[0]}")/require_tool.sh"

sandbox=(bwrap --ro-bind /usr /usr --symlink usr/lib /lib --symlink usr/lib64 /lib64 --symlink usr/bin /bin
    --proc /proc --dev /dev --unshare-all --die-with-parent)
require_tool bwrap "makes the thumbnail factory's sandbox"
# A system that lets no user make namespaces (a container, say) has bwrap but
# no sandbox: there the test is skipped even under continuous integration.
"${sandbox[@]}" true 2>/dev/null || { echo "bwrap cannot make a sandbox here"; exit 77; }

failures=0
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
mkdir "$scratch/poses"
"$render" --default "$scratch/poses/pose.zbk" || exit 1
cp "$animation" "$scratch/poses/walk.zba" || exit 1

read -ra exec_words <<<"$(sed -n 's/^Exec=//p' "$entry")"
# The picture's width and height, from the PNG header.
png_size() { od -An -tu1 -j16 -N8 "$1" | awk '{ print $3 * 256 + $4 "x" $7 * 256 + $8 }'; }

# An animation of several keys shows its first.
for size_wanted in "128 128x103 pose.zbk" "1024 1024x825 pose.zbk" "128 128x103 walk.zba"; do
    read -r size wanted input <<<"$size_wanted"
    words=()
    for word in "${exec_words[@]}"; do
        word=${word//%s/$size}
        word=${word//%i//poses/$input}
        words+=("${word//%o//tmp/thumbnail.png}")
    done
    private_tmp="$scratch/tmp$size$input"
    mkdir "$private_tmp"
    # The program's folder is shown at a place of its own, so that a build
    # under /tmp is not hidden by the private /tmp.
    said=$(env -i PATH="/zelbrook:/usr/bin" ${ASAN_OPTIONS:+ASAN_OPTIONS=$ASAN_OPTIONS} "${sandbox[@]}" \
        --ro-bind "$(dirname "$render")" /zelbrook --ro-bind "$scratch/poses" /poses \
        --bind "$private_tmp" /tmp "${words[@]}" 2>&1)
    got="exit $?, said '$said', left $(ls -A "$private_tmp"), $(png_size "$private_tmp/thumbnail.png")"
    if [[ $got != "exit 0, said '', left thumbnail.png, $wanted" ]]; then
        echo "FAIL: $input at size $size: $got"
        failures=$((failures + 1))
    fi
done

echo "$failures failures"
[ "$failures" -eq 0 ]
