#!/usr/bin/env bash
# The version is written out by hand in files CMake does not generate; a
# release that bumps project() alone would ship a software centre entry or a
# Debian changelog that name the old one. scripts/new-version writes each of
# them; a version written anywhere else is one it would leave behind. (The
# Windows program's version details, the MSI and the downloads' names are
# made from project() itself.)
#
# Usage: check-versions.sh SOURCE-DIR VERSION
#        check-versions.sh --new-version SOURCE-DIR WORK-DIR
# The second runs scripts/new-version on a copy of SOURCE-DIR in WORK-DIR:
# it must refuse what is not a higher X.Y.Z, leaving the copy as it was,
# and after it the copy must pass this check at the next version, and CMake
# must configure the copy at that version.
set -euo pipefail
self=$(realpath "$0")

if [ "${1:-}" = --new-version ] && [ $# -eq 3 ]; then
    source=$2 work=$3
    current=$(sed -n '/^project(/,/)/s/^ *VERSION \([0-9.]*\).*/\1/p' "$source/CMakeLists.txt")
    IFS=. read -r major minor patch <<<"$current"
    next=$major.$minor.$((patch + 1))
    rm -rf "$work"
    mkdir -p "$work/source"
    if git -C "$source" rev-parse --is-inside-work-tree >/dev/null 2>&1; then
        "$source/scripts/lib/copy-work-tree" "$source" "$work/source"
    else
        tar -C "$source" --exclude='./build*' --exclude=./dist -c -f - . | tar -x -C "$work/source" -f -
    fi
    cd "$work/source"
    tree() { find . -type f -print0 | LC_ALL=C sort -z | xargs -0 sha256sum; }
    before=$(tree)
    bad_versions=("$current" 0.0.0 "$major.$minor" "v$next" "$major.$minor.0$((patch + 1))" "$next.0")
    for refused in "${bad_versions[@]}"; do
        if scripts/new-version "$refused" "A change." >/dev/null 2>&1; then
            echo "FAIL: new-version took $refused after $current" >&2
            exit 1
        fi
        [ "$(tree)" = "$before" ] || { echo "FAIL: new-version $refused, refused, changed the tree" >&2; exit 1; }
    done
    # What a maintainer writes: an ampersand, angle brackets, Cyrillic.
    scripts/new-version "$next" \
        "Fixes <one> thing & another, with a sentence long enough that the changelog must wrap it." \
        "Поправка на едно & друго."
    "$self" . "$next"
    appstreamcli validate --no-net resources/aminokiselini.metainfo.xml
    cmake -S . -B "$work/build" -DBUILD_TESTING=OFF >"$work/cmake.log" 2>&1 ||
        { cat "$work/cmake.log" >&2; echo "FAIL: CMake does not configure the tree at $next" >&2; exit 1; }
    built=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$work/build/CMakeCache.txt")
    [ "$built" = "$next" ] || { echo "FAIL: CMake builds $built after new-version $next" >&2; exit 1; }
    echo "new-version $next: refused ${#bad_versions[@]} versions, every version and CMake's at $next."
    rm -rf "$work"
    exit 0
fi
if [ $# -ne 2 ]; then
    echo "usage: $0 SOURCE-DIR VERSION, or $0 --new-version SOURCE-DIR WORK-DIR" >&2
    exit 2
fi
source=$1
version=$2
failures=0
expect() { # what found wanted
    if [ "$2" != "$3" ]; then
        echo "FAIL: $1 says '$2', not '$3'" >&2
        failures=$((failures + 1))
    fi
}

expect "CMakeLists.txt's project()" \
    "$(sed -n '/^project(/,/)/s/^ *VERSION \([0-9.]*\).*/\1/p' "$source/CMakeLists.txt")" "$version"

# The newest release comes first.
metainfo=$source/resources/aminokiselini.metainfo.xml
expect "the newest release in ${metainfo##*/}" \
    "$(sed -n 's/.*<release [^>]*version="\([^"]*\)".*/\1/p' "$metainfo" | head -n 1)" "$version"

expect "the newest entry of debian/changelog" \
    "$(dpkg-parsechangelog -l "$source/debian/changelog" -S Version)" "$version"

# A download named in an example names the version it gets. A version told
# as history ("1.1.0 was made by CPack") is not a file's name.
while IFS=: read -r file line named; do
    expect "$file:$line's $named" "$(grep -oE '[0-9]+\.[0-9]+\.[0-9]+' <<<"$named")" "$version"
done < <(cd "$source" && grep -noE 'aminokiselini[-_][0-9]+\.[0-9]+\.[0-9]+|[0-9]+\.[0-9]+\.[0-9]+\+deb[0-9]+' \
    README.md docs/*.md)

# The version anywhere else (as X.Y.Z, or as X,Y,Z in a resource script)
# is written by hand where new-version does not look. The files are git's
# (without what builds leave in the tree), or all but the build folders in
# a copy without git; npm's lock files name their packages' own versions.
sources() {
    if git -C "$source" rev-parse --is-inside-work-tree >/dev/null 2>&1; then
        git -C "$source" ls-files -z --cached --others --exclude-standard
    else
        (cd "$source" && find . \( -name .git -o -name 'build*' -o -name dist -o -name node_modules \) \
            -prune -o -type f -printf '%P\0')
    fi
}
pattern="(^|[^0-9.])(${version//./\\.}|${version//./, ?})([^0-9]|\$)"
while read -r place; do
    echo "FAIL: $place writes $version by hand, and scripts/new-version does not change it" >&2
    failures=$((failures + 1))
done < <(sources | grep -zv 'package-lock\.json$' | (cd "$source" && xargs -0r grep -snIHE "$pattern") |
    grep -vE '^(CMakeLists\.txt:[0-9]+: *VERSION |debian/changelog:|resources/aminokiselini\.metainfo\.xml:[0-9]+: *<release version=|README\.md:|docs/[^/]*\.md:)' ||
    true)

if [ "$failures" -ne 0 ]; then
    exit 1
fi
echo "Every hand-written version is $version."
