# What the scripts and the packaging checks share, sourced by them (which
# then answer -h and --help).

here=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
debian_root=$here/scripts/lib/debian-root
package=aminokiselini
# Фенилаланин: the longest name, selected so the focus leaves the text box
# and no blinking cursor is caught in the picture.
row=6

# The script's leading comment block is its usage: on stdout with status 0,
# else on stderr.
usage() { # [STATUS]
    local status=${1:-2}
    awk 'NR > 1 && !/^#/ { exit } NR > 1 { sub(/^# ?/, ""); print }' "$0" >&"$((status ? 2 : 1))"
    exit "$status"
}
case ${1:-} in -h | --help) usage 0 ;; esac

fail() { echo "${0##*/}: $*" >&2; exit 1; }

# Runs the script again through sudo where not root, with the settings it
# and what it runs read (sudo clears the environment).
as_root() { # ARG...
    [ "$(id -u)" -ne 0 ] || return 0
    local keep=() name
    for name in SOURCE_DATE_EPOCH DEB_BUILD_PROFILES ${!AMINO_*}; do
        [ -z "${!name:-}" ] || keep+=("$name=${!name}")
    done
    exec sudo env "${keep[@]}" "$0" "$@"
}

# A fresh root of RELEASE in root, deleted by remove_root or when the script
# ends (where it set no exit trap of its own); AMINO_KEEP_ROOT=1 keeps it.
# An archive that does not answer ends the script (debian-root says why).
fresh_root() { # RELEASE
    made_root new "$1"
}
# As fresh_root, after SETUP has installed what a build needs; the same
# NAME-HASH in a day unpacks what the first one installed (debian-root
# prepared).
prepared_root() { # RELEASE NAME-HASH [--bind ...] SETUP...
    made_root prepared "$@"
}
made_root() { # new|prepared RELEASE ...
    "$debian_root" reachable "$2" || exit 1
    [ -n "$(trap -p EXIT)" ] || trap remove_root EXIT
    trap 'exit 130' INT TERM HUP
    root=$(AMINO_ROOT_OWNER=$$ "$debian_root" "$@")
}
# A fresh root of RELEASE made from the archive alone, with the ARM ARCHes
# added and the cross compilers and DSC's cross build dependencies for them
# installed (once a day; see prepared_root).
arm_build_root() { # RELEASE DSC ARCH...
    local release=$1 dsc=$2 arch options=() tools=(dpkg-dev)
    shift 2
    for arch in "$@"; do options+=(--arch "$arch") && tools+=("crossbuild-essential-$arch"); done
    AMINO_ROOT_ARCHIVE_ONLY=1 prepared_root "$release" \
        "arm-$(hash_of <(sed -n '/^Build-Depends/,/^[^ ]/p' "$dsc") -- "$@")" "${options[@]}" \
        --bind "${dsc%/*}:/prepare" sh -c 'apt-get update -qq &&
            apt-get install -y -qq --no-install-recommends $2 >/dev/null &&
            for arch in $3; do
                apt-get build-dep -y -qq --no-install-recommends -a "$arch" -P cross,nocheck "/prepare/$1" >/dev/null || exit
            done' sh "${dsc##*/}" "${tools[*]}" "$*"
    rmdir "$root/prepare"
}
# The version project() in DIR's CMakeLists.txt names.
project_version() { # DIR
    sed -n '/^project(/,/)/s/^ *VERSION \([0-9.]*\).*/\1/p' "$1/CMakeLists.txt"
}
# A short name for what FILES hold and ARGs say, for prepared_root.
hash_of() { # FILE... [-- ARG...]
    local files=()
    while [ $# -gt 0 ] && [ "$1" != -- ]; do files+=("$1") && shift; done
    { cat "${files[@]}" && printf '%s\n' "${@:2}"; } | sha256sum | cut -c1-16
}
# PACKAGE... installed with apt in root, fresh_root's; apt's words only if
# it fails.
install_in_root() { # PACKAGE...
    "$debian_root" run "$root" sh -c \
        'apt-get update -qq && { apt-get install -y -qq --no-install-recommends "$@" >/tmp/install.log 2>&1 ||
            { cat /tmp/install.log >&2; exit 1; }; }' sh "$@"
}
remove_root() {
    if [ -n "${root:-}" ] && [ -n "${AMINO_KEEP_ROOT:-}" ]; then
        echo "${0##*/}: the root is kept in $root (scripts/lib/debian-root remove deletes it)"
    elif [ -n "${root:-}" ]; then
        "$debian_root" remove "$root"
    fi
    root=
}

die() { echo "FAIL: $*" >&2; exit 1; }
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
