#!/usr/bin/env bash
# Installs an ARM package with apt on a fresh minimal Debian release, as a
# Raspberry Pi gets it, starts the installed program there under qemu-user,
# then installs the amd64 package in its place and expects the two windows to
# be the same pixel for pixel: texts, colours, geometry and font.
#
# The root is amd64 with the package's architecture added, made from the
# Debian archive alone; apt must pull whatever the program needs (without
# recommended packages). qemu-user comes from the root's own release and is
# run by name: nothing is registered with the kernel's binfmt_misc. The X
# server and the tools that take the pictures are this machine's.
#
# Usage: check-arm-install.sh PACKAGE.deb AMD64-PACKAGE.deb RELEASE PICTURES-DIR
set -euo pipefail

if [ $# -ne 4 ]; then
    sed -n '13s/^# *//p' "$0" >&2
    exit 2
fi
deb=$(realpath -e "$1")
reference=$(realpath -e "$2")
release=$3
mkdir -p "$4"
shots=$(realpath -e "$4")
. "$(dirname "$0")/../../scripts/lib/common.sh"

arch=$(dpkg-deb -f "$deb" Architecture)
qemu_for "$arch" || die "${deb##*/} is for $arch, not an ARM architecture"
[ "$(dpkg-deb -f "$reference" Architecture)" = amd64 ] || die "${reference##*/} is not the amd64 package"
name=$release-$arch

work=$(mktemp -d "${TMPDIR:-/tmp}/aminokiselini-arm.XXXXXX")
root=
cleanup() {
    [ -z "$root" ] || "$debian_root" remove "$root" || true
    rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 130' INT TERM HUP

SECONDS=0
root=$(AMINO_ROOT_ARCHIVE_ONLY=1 AMINO_ROOT_OWNER=$$ "$debian_root" new "$release")
"$debian_root" run "$root" dpkg --add-architecture "$arch"
mkdir -m 700 "$root/tmp/runtime"
cp "$deb" "$reference" "$root/tmp/"

# apt in the root; its log is shown when it fails.
apt_in_root() { # WHAT COMMAND...
    local what=$1
    shift
    if ! "$debian_root" run "$root" "$@" >"$work/apt.log" 2>&1; then
        tail -n 30 "$work/apt.log" >&2
        die "$what on a fresh $release"
    fi
    sed -n 's/^\([0-9]* upgraded, [0-9]* newly installed\).*/\1/p' "$work/apt.log"
}

echo "--- a fresh $release with $arch, apt install ./${deb##*/}"
apt_in_root "apt could not install ${deb##*/}" sh -c \
    "apt-get update -q && apt-get install -y -q --no-install-recommends /tmp/${deb##*/}"
# The emulator after the package, so that nothing it brings can stand in
# for what the package failed to pull (its libraries are amd64's anyway).
apt_in_root "apt could not install qemu-user" \
    apt-get install -y -q --no-install-recommends qemu-user

# Some machines' kernels leave qemu-user no room for an ARM program (a 32-bit
# one needs most of 4 GiB of address space): what could be checked is, and
# the rest is reported as skipped (status 77), with qemu's reason.
if ! why=$("$debian_root" run "$root" "$emulator" "$loader" --version 2>&1); then
    echo "SKIP: $emulator cannot run $arch programs on this machine; the package installs," \
        "its window went unseen: $(tail -n 1 <<<"$why")"
    exit 77
fi

# The program inside talks to the X server outside (scripts/screenshot's).
[ -d /tmp/.X11-unix ] || mkdir -m 1777 /tmp/.X11-unix
picture() { # PNG COMMAND...
    local png=$1
    shift
    cat >"$work/run" <<EOF
#!/bin/sh
exec "$debian_root" run "$root" --bind /tmp/.X11-unix --bind "\$XAUTHORITY:/tmp/.Xauthority" \
    DISPLAY="\$DISPLAY" XAUTHORITY=/tmp/.Xauthority XDG_RUNTIME_DIR=/tmp/runtime $*
EOF
    chmod +x "$work/run"
    "$here/scripts/screenshot" "$png" "$work/run" "$row" >/dev/null
}

echo "--- the $arch program under $emulator"
picture "$shots/$name.png" "$emulator" /usr/bin/$package ||
    die "no picture of the $arch program on $release"

echo "--- the amd64 package in its place"
apt_in_root "apt could not install ${reference##*/}" \
    apt-get install -y -q --no-install-recommends "/tmp/${reference##*/}"
picture "$shots/$release-amd64.png" /usr/bin/$package ||
    die "no picture of the amd64 program on $release"

differ=$(same_pixels "$shots/$release-amd64.png" "$shots/$name.png" "$shots/$name-difference.png") ||
    die "$differ pixels of the $arch window differ from the amd64 one on $release; see $shots"
echo "ok: on $release the $arch window is pixel for pixel the amd64 one ($SECONDS s)"
