# SPDX-License-Identifier: GPL-3.0-or-later
# Sourced by the packaging tests. require_tool PROGRAM USE ends the test when
# PROGRAM is not on the PATH: skipped (exit 77) with the reason, or failed
# under continuous integration (CI=true), where scripts/install-deps has
# installed every program the tests use. missing_tool PROGRAM USE ends it
# the same way for a program known to be missing.
missing_tool()
{
    echo "$1, which $2, is not installed"
    [ "${CI:-}" = true ] && exit 1
    exit 77
}

require_tool()
{
    command -v "$1" >/dev/null || missing_tool "$1" "$2"
}
