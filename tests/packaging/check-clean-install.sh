#!/usr/bin/env bash
# Installs the Debian package (build-package.sh's) with apt on a fresh
# minimal Debian of the build machine's release, once without recommended
# packages and once with them over 1.1.0's package, starts the installed
# program there and expects its window to look exactly as the same program
# does on the build machine. A school's computer has none of the build
# machine's extras: whatever the window needs (its serif above all) must
# come with the package.
#
# Needs root and the Debian mirror this machine's apt uses; without them it
# reports itself skipped (status 77) and why, or fails with AMINO_NO_SKIP
# set. Where apt has the archive but no security archive, its roots have
# none either. The first run downloads the base system once (see
# scripts/lib/debian-root). Inside scripts/in-release's root it makes its roots
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
. "$(dirname "$0")/../../scripts/lib/common.sh"

[ "$(id -u)" -eq 0 ] || skip "making a Debian root needs root"
. /etc/os-release
[ "${ID:-}" = debian ] && [ -n "${VERSION_CODENAME:-}" ] ||
    skip "the build machine is not a Debian release (${PRETTY_NAME:-unknown})"
release=$VERSION_CODENAME
for tool in mmdebstrap dpkg-deb xvfb-run xdotool /usr/bin/import /usr/bin/compare; do
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

# The package build-package.sh made from the source package (packaging.deb_build).
deb=$build/packaging/debian-package/${package}_${version}_$(dpkg --print-architecture).deb
[ -f "$deb" ] || die "no ${deb##*/}: build-package.sh makes it"

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
"$here/scripts/screenshot" "$shots/build-machine.png" "$work/run-host" "$row" >/dev/null ||
    die "no picture of the program on the build machine"

# Schools that installed 1.1.0, the last package CPack made, upgrade with
# apt install ./new.deb: in the run with recommends that package, built
# from its commit, is installed first. It needs the project's history.
previous_commit=d10acfc
previous=
if git -C "$here" cat-file -e "$previous_commit^{commit}" 2>/dev/null; then
    echo "--- 1.1.0's package, made by CPack from $previous_commit"
    mkdir "$work/previous"
    git -C "$here" archive "$previous_commit" | tar -x -C "$work/previous" -f -
    if ! { cmake -S "$work/previous" -B "$work/previous/build" -DBUILD_TESTING=OFF &&
        cmake --build "$work/previous/build" --parallel "$(nproc)" &&
        (cd "$work/previous/build" && cpack -G DEB); } >"$work/previous.log" 2>&1; then
        tail -n 30 "$work/previous.log" >&2
        die "could not build 1.1.0's package"
    fi
    previous=$(echo "$work"/previous/build/${package}_1.1.0_*.deb)
    [ -f "$previous" ] || die "cpack did not write 1.1.0's package"
else
    echo "note: no git history here ($previous_commit): the upgrade from 1.1.0 is not tried"
fi

failures=0
for mode in without-recommends with-recommends; do
    upgrade=
    [ "$mode" = with-recommends ] && upgrade=$previous
    echo "--- a fresh $release${upgrade:+ with ${upgrade##*/}}, apt install ./${deb##*/} $mode"
    SECONDS=0
    root=$(AMINO_ROOT_OWNER=$$ "$debian_root" new "$release")
    # The program inside talks to the X server outside.
    [ -d /tmp/.X11-unix ] || mkdir -m 1777 /tmp/.X11-unix
    mkdir -m 700 "$root/tmp/runtime"
    cp "$deb" ${upgrade:+"$upgrade"} "$root/tmp/"
    recommends=--no-install-recommends
    [ "$mode" = with-recommends ] && recommends=--install-recommends
    first=true
    [ -z "$upgrade" ] || first="apt-get install -y -q $recommends /tmp/${upgrade##*/}"
    if ! "$debian_root" run "$root" sh -c "apt-get update -q && $first &&
        apt-get install -y -q $recommends /tmp/${deb##*/}" >"$work/apt-$mode.log" 2>&1; then
        tail -n 30 "$work/apt-$mode.log" >&2
        die "apt could not install the package on a fresh $release ($mode)"
    fi
    sed -n 's/^\([0-9]* upgraded, [0-9]* newly installed\).*/\1/p' "$work/apt-$mode.log"
    if [ -n "$upgrade" ]; then
        installed=$(dpkg-query --admindir="$root/var/lib/dpkg" -W -f='${Version}' "$package")
        [ "$installed" = "$version" ] || die "after the upgrade from 1.1.0 dpkg has $package $installed"
        # The menu entry and its icons, which the pupils start the program from.
        gone=0
        for file in applications/$package.desktop icons/hicolor/scalable/apps/$package.svg \
            icons/hicolor/{32x32,48x48,64x64,128x128,256x256}/apps/$package.png; do
            if [ ! -s "$root/usr/share/$file" ]; then
                echo "FAIL: /usr/share/$file is gone after the upgrade from 1.1.0" >&2
                gone=$((gone + 1))
            fi
        done
        [ "$gone" -gt 0 ] || echo "ok: upgraded from 1.1.0, the menu entry and its icons in place"
        failures=$((failures + gone))
    fi

    cat >"$work/run-root" <<EOF
#!/bin/sh
cp "\$XAUTHORITY" "$root/tmp/.Xauthority"
exec "$debian_root" run "$root" --bind /tmp/.X11-unix DISPLAY="\$DISPLAY" XAUTHORITY=/tmp/.Xauthority \
    XDG_RUNTIME_DIR=/tmp/runtime /usr/bin/$package
EOF
    chmod +x "$work/run-root"
    shot=$shots/$mode.png
    if ! "$here/scripts/screenshot" "$shot" "$work/run-root" "$row" >/dev/null; then
        echo "FAIL: no picture of the installed program ($mode)" >&2
        failures=$((failures + 1))
    else
        if differ=$(same_pixels "$shots/build-machine.png" "$shot" "$shots/$mode-difference.png"); then
            echo "ok: the window is pixel for pixel the build machine's"
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
echo "On a fresh $release the installed program looks as on the build machine, with and without" \
    "recommends${previous:+, and after an upgrade from 1.1.0}."
