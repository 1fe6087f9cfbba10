#!/usr/bin/env bash
# Every script in scripts/ and scripts/lib/ answers -h and --help with its
# usage: status 0, on stdout, nothing on stderr, and a line that calls the
# script by its path (scripts/NAME ...), so that a usage gone empty, stale
# or another script's fails. A script that shows no way of answering them
# (sourcing scripts/lib/common.sh, or a case of its own) is not run: it
# would do its work instead. And no script reaches into the tests for shell
# of theirs.
#
# Usage: check-usage.sh SOURCE-DIR
set -euo pipefail

if [ $# -ne 1 ]; then
    echo "usage: $0 SOURCE-DIR" >&2
    exit 2
fi
source=$(cd "$1" && pwd)
err=$(mktemp)
trap 'rm -f "$err"' EXIT
failures=0
fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}

checked=0
for script in "$source"/scripts/* "$source"/scripts/lib/*; do
    [ -f "$script" ] && [ -x "$script" ] || continue
    name=scripts/${script#"$source"/scripts/}
    if ! grep -qE '^\. .*/common\.sh"$|-h \| --help\)' "$script"; then
        fail "$name does not answer --help"
        continue
    fi
    for flag in --help -h; do
        status=0
        out=$(cd / && timeout 20 "$script" "$flag" 2>"$err" </dev/null) || status=$?
        [ "$status" -eq 0 ] || fail "$name $flag exits with $status"
        [ ! -s "$err" ] || fail "$name $flag writes on stderr: $(head -n 3 "$err")"
        grep -qE "^ *(usage: )?$name( |$)" <<<"$out" ||
            fail "$name $flag prints no line calling $name:"$'\n'"${out:-(nothing)}"
    done
    checked=$((checked + 1))
done
[ "$checked" -gt 0 ] || fail "no scripts in $source/scripts"

if grep -nE '^\s*(\.|source) .*tests/' "$source"/scripts/* "$source"/scripts/lib/* 2>/dev/null; then
    fail "a script sources a file of the tests (shared shell belongs in scripts/lib/)"
fi

[ "$failures" -eq 0 ] || exit 1
echo "ok: $checked scripts print their usage for --help and -h"
