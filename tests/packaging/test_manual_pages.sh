#!/bin/bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Reads the manual pages as man shows them: no formatting warnings, the
# sections a reader looks for, and every option that --help lists.
# Usage: test_manual_pages.sh ZELBROOK_RENDER EDITOR_PAGE [RENDER_PAGE], the
# last missing where help2man was missing when the build was set up.
set -u
# shellcheck source=tests/packaging/require_tool.sh
source "$(dirname "${BASH_SOURCE[0]}")/require_tool.sh"
render=$1
editor_page=$2
render_page=${3:-}
[ -n "$render_page" ] || missing_tool help2man "makes the zelbrook-render page"
require_tool man "shows the pages"
failures=0

fail()
{
    echo "FAIL: $*"
    failures=$((failures + 1))
}

shown()
{
    MANWIDTH=200 man --warnings -l "$1" 2>"$scratch/warnings"
}

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

for page in "$render_page" "$editor_page"; do
    shown "$page" >"$scratch/page" || fail "man cannot show $page"
    [ -s "$scratch/warnings" ] && fail "$page: $(cat "$scratch/warnings")"
done

shown "$render_page" >"$scratch/render"
for section in NAME SYNOPSIS DESCRIPTION OPTIONS FORMATS "EXIT STATUS" DIAGNOSTICS EXAMPLES "SEE ALSO"; do
    grep -qx "$section" "$scratch/render" || fail "the zelbrook-render page has no $section section"
done
# Each option --help explains stands as an entry of the page's options,
# with the same words.
"$render" --help >"$scratch/help" || fail "zelbrook-render --help failed"
grep -E '^  --' "$scratch/help" | while read -r option rest; do
    words=$(echo "$rest" | sed -E 's/^[A-Z]+ +//' | tr -s ' ')
    tr -s ' ' <"$scratch/render" | grep -qF -- "$words" || echo "$option"
done >"$scratch/missing"
[ -s "$scratch/missing" ] && fail "options whose help is not on the page: $(tr '\n' ' ' <"$scratch/missing")"
# Every usage line of --help is a line of the synopsis.
usages=$(grep -cE '^(Usage:)? +zelbrook-render ' "$scratch/help")
synopsis=$(sed -n '/^SYNOPSIS$/,/^DESCRIPTION$/p' "$scratch/render" | grep -cE '^ +zelbrook-render ')
[ "$usages" -eq "$synopsis" ] || fail "--help has $usages usage lines, the synopsis $synopsis"
grep -q 'zelbrook-render --default --zoom 4 --pen 4 figure.png' "$scratch/render" || fail "the README's examples are missing"

shown "$editor_page" >"$scratch/editor"
for section in NAME SYNOPSIS DESCRIPTION FILES "SEE ALSO"; do
    grep -qx "$section" "$scratch/editor" || fail "the zelbrook page has no $section section"
done

echo "$failures failures"
[ "$failures" -eq 0 ]
