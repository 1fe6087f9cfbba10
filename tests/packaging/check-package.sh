#!/usr/bin/env bash
# Checks the Debian package that build-package.sh made from the source
# package, as apt would install it: lintian on the source package and the
# .deb, the installed files, the hardening of the program and that the
# installed program opens its window and quits cleanly when that window is
# closed.
#
# Usage: check-package.sh PACKAGE-DIR VERSION
set -euo pipefail

if [ $# -ne 2 ]; then
    echo "usage: $0 PACKAGE-DIR VERSION" >&2
    exit 2
fi
packages=$1
version=$2
here=$(cd "$(dirname "$0")" && pwd)
package=aminokiselini

failures=0
fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}
die() {
    echo "FAIL: $*" >&2
    exit 1
}

for tool in dpkg-deb dpkg-parsechangelog lintian readelf file gzip \
    desktop-file-validate appstreamcli xvfb-run xdotool; do
    command -v "$tool" >/dev/null || die "$tool is missing; scripts/install-deps installs it"
done
# /usr/bin/python3 by name: another python3 earlier on PATH lacks Debian's modules.
/usr/bin/python3 -c 'import Xlib' 2>/dev/null ||
    die "python3-xlib is missing; scripts/install-deps installs it"

arch=$(dpkg --print-architecture)
deb=$packages/${package}_${version}_${arch}.deb
changes=$packages/${package}_${version}_${arch}.changes
for file in "$deb" "$changes" "$packages/${package}_${version}.dsc"; do
    [ -f "$file" ] || die "no ${file##*/} in $packages: build-package.sh makes it"
done

work=$(mktemp -d "${TMPDIR:-/tmp}/aminokiselini-package.XXXXXX")
trap 'rm -rf "$work"' EXIT

# --- the package --------------------------------------------------------------

field() { dpkg-deb -f "$deb" "$1"; }
[ "$(field Package)" = "$package" ] || fail "Package is '$(field Package)'"
[ "$(field Version)" = "$version" ] || fail "Version is '$(field Version)', not $version"
[ "$(field Architecture)" = "$arch" ] || fail "Architecture is '$(field Architecture)'"
case $(field Section) in
    education | science) ;;
    *) fail "Section is '$(field Section)', not education or science" ;;
esac
[ -n "$(field Maintainer)" ] || fail "the package has no Maintainer"
# Without these apt would not pull Qt in, and the program would not start on
# a machine that has no Qt yet.
depends=$(field Depends)
for library in libqt6widgets6 libqt6gui6 libqt6core6 libc6; do
    # (t64: Debian 13 renamed some of them for 64-bit time_t.)
    [[ ", $depends," =~ ,\ $library(t64)?[\ ,] ]] ||
        fail "Depends lacks $library (dpkg-shlibdeps did not run?): $depends"
done
# The window is laid out for Times New Roman's metrics; a machine without
# Liberation Serif draws it in a wider serif and cuts the captions.
font_dependency=
IFS=, read -ra depends_groups <<<"$depends"
for group in "${depends_groups[@]}"; do
    [[ " $group " =~ [[:space:]]fonts-liberation2?[[:space:]] ]] && font_dependency=$group
done
[ -n "$font_dependency" ] || fail "Depends lacks fonts-liberation2 | fonts-liberation: $depends"

echo "--- lintian"
# On the source package and every .deb the upload holds. Errors and warnings
# are what Debian's archive and its reviewers object to: none may stay, not
# even overridden. Pedantic and informational tags are shown; those that stay
# are overridden in debian/, each with its reason.
lintian_status=0
lintian --pedantic --display-info --show-overrides --fail-on error,warning \
    "$changes" >"$work/lintian.log" 2>&1 || lintian_status=$?
grep -v '^running with root privileges' "$work/lintian.log" || true
[ "$lintian_status" -eq 0 ] || fail "lintian reports errors or warnings (status $lintian_status)"
# An override hides a tag from the count above: only pedantic and
# informational ones may be overridden, each under a comment saying why.
tar -xJf "$packages/${package}_${version}.tar.xz" -C "$work" --wildcards '*/debian/*lintian-overrides' 2>/dev/null || true
for overrides in "$work"/*/debian/*lintian-overrides "$work"/*/debian/source/lintian-overrides; do
    [ -f "$overrides" ] || continue
    name=${overrides#"$work"/*/}
    awk '/^#/ { reason = 1; next } /^[[:space:]]*$/ { reason = 0; next }
        !reason { print "FAIL: " FILENAME ":" FNR ": an override with no comment above it" }' \
        "$overrides" | sed "s|$work/[^/]*/||" >"$work/unexplained"
    if [ -s "$work/unexplained" ]; then
        cat "$work/unexplained" >&2
        fail "$name has overrides without a reason"
    fi
    # [package[ [arch...]][ type]: ]tag[ context]
    sed -nE '/^[a-z0-9]/s/^([a-z0-9][a-z0-9.+-]*( \[[^]]*\])?( (source|binary|udeb))?: *)?([a-z0-9][a-z0-9.+-]*).*/\5/p' \
        "$overrides" >"$work/overridden"
    while read -r tag; do
        severity=$( (lintian-explain-tags "$tag" 2>/dev/null || true) | sed -n "s/^\([A-Z]\): $tag\$/\1/p")
        case $severity in
            I | P) ;;
            '') fail "$name overrides $tag, a tag this lintian does not know" ;;
            *) fail "$name overrides $tag, which is not pedantic or informational ($severity)" ;;
        esac
    done <"$work/overridden"
done

# --- the installed files ------------------------------------------------------

echo "--- installed files"
root=$work/root
dpkg-deb -x "$deb" "$root"
exe=$root/usr/bin/$package
desktop=$root/usr/share/applications/$package.desktop
docs=$root/usr/share/doc/$package

[ -x "$exe" ] || fail "usr/bin/$package is missing or not executable"
[ -f "$desktop" ] || fail "usr/share/applications/$package.desktop is missing"
for size in 32 48 64 128 256; do
    png=$root/usr/share/icons/hicolor/${size}x${size}/apps/$package.png
    if [ ! -f "$png" ]; then
        fail "the ${size}x${size} icon is missing"
    elif [[ $(file -b "$png") != "PNG image data, $size x $size,"* ]]; then
        fail "the ${size}x${size} icon is $(file -b "$png")"
    fi
done
svg=$root/usr/share/icons/hicolor/scalable/apps/$package.svg
[ -f "$svg" ] || fail "the scalable icon is missing"
metainfo=$(find "$root/usr/share/metainfo" -name '*.metainfo.xml' 2>/dev/null) || true
[ -n "$metainfo" ] || fail "usr/share/metainfo holds no metainfo file"
[ -f "$docs/copyright" ] || fail "usr/share/doc/$package/copyright is missing"
if ! grep -q '^Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/' \
    "$docs/copyright" 2>/dev/null; then
    fail "the copyright file is not in the machine-readable format"
fi
if ! gzip -t "$docs/changelog.gz" 2>/dev/null; then
    fail "usr/share/doc/$package/changelog.gz is missing or broken"
else
    gzip -dc "$docs/changelog.gz" >"$work/changelog"
    changelog_version=$(dpkg-parsechangelog -l "$work/changelog" -S Version) || true
    [ "$changelog_version" = "$version" ] ||
        fail "the changelog's latest entry is $changelog_version, the package is $version"
fi

if [ -f "$desktop" ]; then
    desktop-file-validate "$desktop" >"$work/desktop.log" 2>&1 || true
    if [ -s "$work/desktop.log" ] && grep -Eq 'error:|warning:' "$work/desktop.log"; then
        cat "$work/desktop.log" >&2
        fail "desktop-file-validate finds faults in the installed desktop entry"
    fi
    # The menu must be able to start the program and find its icon.
    exec_line=$(sed -n 's/^Exec=//p' "$desktop")
    exec_program=$root/usr/bin/${exec_line%% *}
    if [ -z "$exec_line" ] || [ ! -f "$exec_program" ] || [ ! -x "$exec_program" ]; then
        fail "Exec=$exec_line is not a program the package installs"
    fi
    icon=$(sed -n 's/^Icon=//p' "$desktop")
    [ -f "$root/usr/share/icons/hicolor/scalable/apps/$icon.svg" ] ||
        fail "Icon=$icon is not an icon the package installs"
fi
# Also checks the metainfo file is named after its id and its launchable
# desktop entry is installed: software centres match them up that way.
if ! appstreamcli validate-tree --no-net "$root" >"$work/appstream.log" 2>&1; then
    cat "$work/appstream.log" >&2
    fail "appstreamcli validate-tree finds faults in the installed tree"
fi

# --- the program ---------------------------------------------------------------

if [ -x "$exe" ]; then
    echo "--- hardening"
    # Into files first: grep -q stops reading early, and under pipefail the
    # writer's SIGPIPE would fail the check.
    readelf -hW "$exe" >"$work/header"
    readelf -dW "$exe" >"$work/dynamic"
    readelf -lW "$exe" >"$work/segments"
    readelf --dyn-syms -W "$exe" >"$work/symbols"
    grep -q 'Type:[[:space:]]*DYN' "$work/header" ||
        fail "the program is not a position-independent executable"
    grep -Eq 'FLAGS_1\).*\bPIE\b' "$work/dynamic" || fail "the program lacks the PIE flag"
    grep -Eq '\(FLAGS\).*\bBIND_NOW\b|FLAGS_1\).*\bNOW\b' "$work/dynamic" ||
        fail "the program is not linked with -z now (no BIND_NOW)"
    if grep -Eq '\((RPATH|RUNPATH)\)' "$work/dynamic"; then
        fail "the program carries a library search path: $(grep -E '\((RPATH|RUNPATH)\)' "$work/dynamic")"
    fi
    grep -q 'GNU_RELRO' "$work/segments" || fail "the program has no RELRO segment"
    grep -q '__stack_chk_fail' "$work/symbols" ||
        fail "the program is not built with the stack protector"
    [[ $(file -b "$exe") == *", stripped"* ]] || fail "the program in the package is not stripped"

    echo "--- start, then close the window"
    # Under a real X server, since only there can something outside the
    # program close its window the way a user does.
    close_status=0
    xvfb-run -a -s '-screen 0 1280x1024x24 -nolisten local' \
        "$here/run-and-close.sh" "$exe" "$here/close_window.py" || close_status=$?
    [ "$close_status" -eq 0 ] || fail "the installed program did not start and quit cleanly"
fi

if [ "$failures" -ne 0 ]; then
    echo "$failures check(s) failed" >&2
    exit 1
fi
echo "The package ${deb##*/} passed every check."
