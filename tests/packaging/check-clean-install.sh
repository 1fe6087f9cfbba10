#!/usr/bin/env bash
# Installs the Debian package with apt on a fresh minimal Debian of the build
# machine's release, once with and once without recommended packages, starts
# the installed program there and expects its window to look exactly as the
# same program does on the build machine. A school's computer has none of the
# build machine's extras: whatever the window needs (its serif above all)
# must come with the package.
#
# Needs root and the Debian mirror this machine's apt uses; without them it
# reports itself skipped (status 77) and why, or fails with AMINO_NO_SKIP
# set. Where apt has the archive but no security archive, its roots have
# none either. The first run downloads the base system once (see
# scripts/debian-root). Inside scripts/in-release's root it makes its roots
# there, from that release's own mmdebstrap.
#
# Usage: check-clean-install.sh BUILD-DIR VERSION
set -euo pipefail

if [ $# -ne 2 ]; then
    echo "usage: $0 BUILD-DIR VERSION" >&2
    exit 2
fi
build=$(realpath -e "$1")
version=$2
source=$(cd "$(dirname "$0")/../.." && pwd)
debian_root=$source/scripts/debian-root
package=aminokiselini
# Фенилаланин: the longest name, selected so the focus leaves the text box
# and no blinking cursor is caught in the picture.
row=6

die() {
    echo "FAIL: $*" >&2
    exit 1
}
# Where the check must run (CI's Debian 13 leg), a reason to skip is a fault.
skip() {
    [ -z "${AMINO_NO_SKIP:-}" ] || die "AMINO_NO_SKIP is set, and the check cannot run: $*"
    echo "SKIP: $*"
    exit 77
}

[ "$(id -u)" -eq 0 ] || skip "making a Debian root needs root"
. /etc/os-release
[ "${ID:-}" = debian ] && [ -n "${VERSION_CODENAME:-}" ] ||
    skip "the build machine is not a Debian release (${PRETTY_NAME:-unknown})"
release=$VERSION_CODENAME
for tool in mmdebstrap cpack dpkg-deb xvfb-run xdotool /usr/bin/import /usr/bin/compare; do
    command -v "$tool" >/dev/null || die "$tool is missing; scripts/install-deps installs it"
done
# Why not: apt has no Debian archive, or it does not answer.
why=$("$debian_root" reachable "$release" 2>&1) || skip "${why:-the Debian archive is out of reach}"

work=$(mktemp -d "${TMPDIR:-/tmp}/aminokiselini-clean.XXXXXX")
root=
cleanup() {
    [ -z "$root" ] || "$debian_root" remove "$root" || true
    rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 130' INT TERM HUP
# The pictures stay for a look after a failure.
shots=$build/packaging/clean-install
rm -rf "$shots"
mkdir -p "$shots"

echo "--- cpack -G DEB"
cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work/out" >"$work/cpack.log" 2>&1 || {
    cat "$work/cpack.log" >&2
    die "cpack could not build the package"
}
deb=$work/out/${package}_${version}_$(dpkg --print-architecture).deb
[ -f "$deb" ] || die "cpack did not write ${deb##*/}"

# Both pictures are of the same program file, run with the same small
# environment; only the system around it differs.
dpkg-deb -x "$deb" "$work/host"
mkdir -p "$work/home"
mkdir -m 700 "$work/runtime"
cat >"$work/run-host" <<EOF
#!/bin/sh
exec env -i DISPLAY="\$DISPLAY" XAUTHORITY="\$XAUTHORITY" HOME="$work/home" \
    XDG_RUNTIME_DIR="$work/runtime" PATH=/usr/bin:/bin LANG=C.UTF-8 "$work/host/usr/bin/$package"
EOF
chmod +x "$work/run-host"
echo "--- the build machine's picture"
"$source/scripts/screenshot" "$shots/build-machine.png" "$work/run-host" "$row" >/dev/null ||
    die "no picture of the program on the build machine"

failures=0
for mode in without-recommends with-recommends; do
    echo "--- a fresh $release, apt install ./${deb##*/} $mode"
    SECONDS=0
    root=$(AMINO_ROOT_OWNER=$$ "$debian_root" new "$release")
    # The program inside talks to the X server outside.
    [ -d /tmp/.X11-unix ] || mkdir -m 1777 /tmp/.X11-unix
    mkdir -m 700 "$root/tmp/runtime"
    cp "$deb" "$root/tmp/"
    recommends=--no-install-recommends
    [ "$mode" = with-recommends ] && recommends=--install-recommends
    if ! "$debian_root" run "$root" sh -c "apt-get update -q &&
        apt-get install -y -q $recommends /tmp/${deb##*/}" >"$work/apt-$mode.log" 2>&1; then
        tail -n 30 "$work/apt-$mode.log" >&2
        die "apt could not install the package on a fresh $release ($mode)"
    fi
    sed -n 's/^\([0-9]* upgraded, [0-9]* newly installed\).*/\1/p' "$work/apt-$mode.log"

    cat >"$work/run-root" <<EOF
#!/bin/sh
cp "\$XAUTHORITY" "$root/tmp/.Xauthority"
exec "$debian_root" run "$root" --bind /tmp/.X11-unix DISPLAY="\$DISPLAY" XAUTHORITY=/tmp/.Xauthority \
    XDG_RUNTIME_DIR=/tmp/runtime /usr/bin/$package
EOF
    chmod +x "$work/run-root"
    shot=$shots/$mode.png
    if ! "$source/scripts/screenshot" "$shot" "$work/run-root" "$row" >/dev/null; then
        echo "FAIL: no picture of the installed program ($mode)" >&2
        failures=$((failures + 1))
    else
        # compare prints the count of differing pixels; exit 1 means they differ.
        differ=$(/usr/bin/compare -metric AE "$shots/build-machine.png" "$shot" \
            "$shots/$mode-difference.png" 2>&1) || true
        if [ "$differ" = 0 ]; then
            echo "ok: the window is pixel for pixel the build machine's"
            rm -f "$shots/$mode-difference.png"
        else
            echo "FAIL: $differ pixels differ from the build machine's window ($mode);" \
                "see $shots" >&2
            failures=$((failures + 1))
        fi
    fi
    "$debian_root" remove "$root"
    root=
    echo "($SECONDS s)"
done

[ "$failures" -eq 0 ] || exit 1
echo "On a fresh $release the installed program looks as on the build machine, with and without recommends."
