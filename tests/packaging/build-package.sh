#!/usr/bin/env bash
# Builds the source package and the .deb from the work tree as git sees it,
# as a packager builds them: dpkg-buildpackage, unsigned, with this
# machine's build dependencies (scripts/install-deps installs them). The
# other packaging checks read what it writes into OUT-DIR.
#
# Usage: build-package.sh SOURCE-DIR OUT-DIR
set -euo pipefail

if [ $# -ne 2 ]; then
    echo "usage: $0 SOURCE-DIR OUT-DIR" >&2
    exit 2
fi
source=$(realpath -e "$1")
out=$2
command -v dpkg-buildpackage >/dev/null && command -v dh >/dev/null || {
    echo "FAIL: dpkg-buildpackage or debhelper is missing; scripts/install-deps installs them" >&2
    exit 1
}
version=$(dpkg-parsechangelog -l "$source/debian/changelog" -S Version)
tree=$out/aminokiselini-$version
rm -rf "$out"
mkdir -p "$tree"
# Without build folders and ignored files; without git (a copy made by
# scripts/in-release), the same minus build folders.
if git -C "$source" rev-parse --is-inside-work-tree >/dev/null 2>&1; then
    "$source/scripts/lib/copy-work-tree" "$source" "$tree"
else
    tar -C "$source" --exclude='./build*' --exclude=./dist -c -f - . | tar -x -C "$tree" -f -
fi

echo "--- dpkg-buildpackage -us -uc"
if ! (cd "$tree" && dpkg-buildpackage -us -uc -Jauto) >"$out/build.log" 2>&1; then
    tail -n 40 "$out/build.log" >&2
    echo "FAIL: dpkg-buildpackage could not build the package (log: $out/build.log)" >&2
    exit 1
fi
rm -rf "$tree"
ls "$out"
