#!/usr/bin/env bash
# The version is written out by hand in files CMake does not generate; a
# release that bumps project() alone would ship a software centre entry or a
# Debian changelog that name the old one. (The Windows program's version
# details are made from project() itself.)
#
# Usage: check-versions.sh SOURCE-DIR VERSION
set -euo pipefail

if [ $# -ne 2 ]; then
    echo "usage: $0 SOURCE-DIR VERSION" >&2
    exit 2
fi
resources=$1/resources
version=$2
failures=0
expect() { # what found wanted
    if [ "$2" != "$3" ]; then
        echo "FAIL: $1 says '$2', project() says '$3'" >&2
        failures=$((failures + 1))
    fi
}

# The newest release comes first.
metainfo=$resources/aminokiselini.metainfo.xml
expect "the newest release in ${metainfo##*/}" \
    "$(sed -n 's/.*<release [^>]*version="\([^"]*\)".*/\1/p' "$metainfo" | head -n 1)" "$version"

expect "the newest entry of debian/changelog" \
    "$(dpkg-parsechangelog -l "$1/debian/changelog" -S Version)" "$version"

if [ "$failures" -ne 0 ]; then
    exit 1
fi
echo "Every hand-written version is $version."
