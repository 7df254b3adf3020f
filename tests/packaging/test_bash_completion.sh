#!/bin/bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Asks the bash completion of zelbrook-render for the words it offers, as
# bash does when Tab is pressed at the end of a command line.
# Usage: test_bash_completion.sh COMPLETION_FILE [ZELBROOK_RENDER]
set -u

# shellcheck source=tests/packaging/require_tool.sh
source "$(dirname "${BASH_SOURCE[0]}")/require_tool.sh"
helpers=/usr/share/bash-completion/bash_completion
[ -r "$helpers" ] || missing_tool bash-completion "gives the completion its helpers ($helpers)"
# shellcheck source=/dev/null
source "$helpers"
# shellcheck source=/dev/null
source "$1"
render=${2:+$(realpath "$2")}

failures=0

# The words offered for LINE (completing its last word; a line that ends in a
# blank completes an empty word), sorted, on one line.
offered()
{
    local line=$1 token
    COMP_WORDS=()
    for token in $line; do
        # Bash breaks words at '=' too, and keeps it as a word of its own.
        while [[ $token == *=* ]]; do
            COMP_WORDS+=("${token%%=*}" "=")
            token=${token#*=}
        done
        [[ -n $token ]] && COMP_WORDS+=("$token")
    done
    [[ $line == *' ' || $line == *= ]] && COMP_WORDS+=("")
    COMP_LINE=$line
    COMP_POINT=${#line}
    COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
    COMPREPLY=()
    _zelbrook_render zelbrook-render "${COMP_WORDS[COMP_CWORD]}" "${COMP_WORDS[COMP_CWORD - 1]}" 2>/dev/null
    printf '%s\n' "${COMPREPLY[@]}" | LC_ALL=C sort -u | tr '\n' ' ' | sed 's/ $//'
}

expect()
{
    local line=$1 wanted=$2 got
    got=$(offered "$line")
    if [[ $got != "$wanted" ]]; then
        echo "FAIL: '$line' offers '$got', not '$wanted'"
        failures=$((failures + 1))
    else
        echo "ok:   '$line' -> '$got'"
    fi
}

all="--atlas --columns --default --extrude --figure --format --fps --help --jobs --key --list --list-poses --loop --once --output-dir --padding --pen --quiet --rotate --scale --size --transparent --trim --version --zoom"

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
cd "$scratch" || exit 1
mkdir poses out
touch walk.zbk jump.ZBK run.zba notes.txt figure.png

expect "zelbrook-render --fo" "--format"
expect "zelbrook-render --z" "--zoom"
expect "zelbrook-render -" "$all"
expect "zelbrook-render --format " "apng bmp gif json lottie mp4 png sheet svg webm webp zba zbk"
expect "zelbrook-render --format p" "png"
expect "zelbrook-render --fps 2" "24 25"
expect "zelbrook-render --key 2 " "jump.ZBK out poses run.zba walk.zbk"
expect "zelbrook-render --format=" "apng bmp gif json lottie mp4 png sheet svg webm webp zba zbk"
expect "zelbrook-render --format=s" "sheet svg"
expect "zelbrook-render --pen " "1 2 3 4 5 6 7"
expect "zelbrook-render --zoom " "1 2 3 4 5 6 7 8"
expect "zelbrook-render --extrude " "0 1 2 4 8"
expect "zelbrook-render --padding 2 --key 2 " "jump.ZBK out poses run.zba walk.zbk"
expect "zelbrook-render --scale " ""
expect "zelbrook-render --size 1" "1024 128 16"
expect "zelbrook-render --size 128 " "jump.ZBK out poses run.zba walk.zbk"
# The pose: pose files and folders only.
expect "zelbrook-render " "jump.ZBK out poses run.zba walk.zbk"
expect "zelbrook-render --zoom 2 " "jump.ZBK out poses run.zba walk.zbk"
expect "zelbrook-render --pen=3 w" "walk.zbk"
expect "zelbrook-render -- " "jump.ZBK out poses run.zba walk.zbk"
# The output: any file.
expect "zelbrook-render walk.zbk " "figure.png jump.ZBK notes.txt out poses run.zba walk.zbk"
expect "zelbrook-render --default " "figure.png jump.ZBK notes.txt out poses run.zba walk.zbk"
expect "zelbrook-render --format png walk.zbk " "figure.png jump.ZBK notes.txt out poses run.zba walk.zbk"
expect "zelbrook-render -- walk.zbk " "figure.png jump.ZBK notes.txt out poses run.zba walk.zbk"
# Many poses into a folder.
expect "zelbrook-render --output-dir " "out poses"
expect "zelbrook-render --output-dir out walk.zbk " "jump.ZBK out poses run.zba walk.zbk"
expect "zelbrook-render --list " "figure.png jump.ZBK notes.txt out poses run.zba walk.zbk"

# Every option the program itself lists is offered.
if [[ -n $render ]]; then
    for option in $("$render" --help | grep -o -- '--[a-z][a-z-]*' | sort -u); do
        [[ " $all " == *" $option "* ]] || { echo "FAIL: $option is not offered"; failures=$((failures + 1)); }
    done
fi

echo "$failures failures"
[ "$failures" -eq 0 ]
