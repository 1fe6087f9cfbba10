# What the packaging checks and the scripts share, sourced by them:
# where the project and its roots are made, how a check fails or says it
# cannot run here, which row the pictures show, how ARM programs are
# started, and how two pictures of the window are compared.

source=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
debian_root=$source/scripts/lib/debian-root
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

# Sets emulator, the qemu-user program that runs ARCH's programs by name
# (nothing registered with binfmt_misc), and loader, ARCH's dynamic loader,
# which the emulator can start by itself to show whether it runs here.
qemu_for() { # ARCH
    case $1 in
        arm64) emulator=/usr/bin/qemu-aarch64 loader=/lib/ld-linux-aarch64.so.1 ;;
        armhf) emulator=/usr/bin/qemu-arm loader=/lib/ld-linux-armhf.so.3 ;;
        *) return 1 ;;
    esac
}

# Succeeds when two pictures are the same pixel for pixel; else prints how
# many pixels differ and leaves a picture of where in DIFFERENCE.
same_pixels() { # EXPECTED ACTUAL DIFFERENCE
    local differ
    # compare prints the count of differing pixels; exit 1 means they differ.
    differ=$(/usr/bin/compare -metric AE "$1" "$2" "$3" 2>&1) || true
    if [ "$differ" = 0 ]; then
        rm -f "$3"
        return 0
    fi
    echo "$differ"
    return 1
}
