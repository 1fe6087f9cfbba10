#!/usr/bin/env bash
# The fresh Debian roots (scripts/lib/debian-root): the clean-up deletes a
# root and nothing else, on a tiny stand-in root (a shell and an apt-get that
# does nothing) so that it takes a second:
#
#   kept_while_mounted  a mount left in a root (an unmount that failed) keeps
#                       the root, and what it shows, from remove and from the
#                       next new's sweep of abandoned roots; both name it
#   paths_with_spaces   with spaces in the roots folder, the cache and a
#                       --bind, a run sees the bound folder and writes through
#                       it, leaves no mount behind, and remove deletes the root
#                       and nothing else
#   only_new_made       remove and the sweep leave a folder new did not make
#                       (one in a folder merely named like the roots folder,
#                       one in it with an owner file written by hand) and a
#                       root kept on purpose (AMINO_KEEP_ROOT), which remove
#                       by name deletes
#
# and, on real roots of this machine's release from the cached base system:
#
#   apt_at_once         two roots' apt-get update at the same moment, on the
#                       package cache they share, both succeed
#   in_plain_chroot     in a plain chroot, whose / is no mount point, making
#                       or entering a root says why not in one sentence and
#                       mounts nothing
#
# Needs root and mount namespaces, the real roots the Debian archive too;
# without them it reports itself skipped (status 77) and why, or fails with
# AMINO_NO_SKIP set. Its own mounts are made in a mount namespace of its own,
# and vanish with it.
#
# Usage: check-debian-root.sh CASE
set -euo pipefail

case=${1:-}
case $case in
    kept_while_mounted | paths_with_spaces | only_new_made | apt_at_once | in_plain_chroot) ;;
    *)
        echo "usage: $0 kept_while_mounted|paths_with_spaces|only_new_made|apt_at_once|in_plain_chroot" >&2
        exit 2
        ;;
esac
. "$(dirname "$0")/../../scripts/lib/common.sh"

# The check itself runs in a mount namespace of its own; its work folder is
# deleted from here, where none of its mounts is.
if [ -z "${AMINO_CHECK_WORK:-}" ]; then
    [ "$(id -u)" -eq 0 ] || skip "making a root needs root"
    why=$("$debian_root" usable 2>&1) || skip "$why"
    work=$(mktemp -d "${TMPDIR:-/tmp}/aminokiselini roots check.XXXXXX")
    trap 'rm -rf --one-file-system "$work"' EXIT
    AMINO_CHECK_WORK=$work unshare --mount --propagation private -- "$0" "$@"
    exit
fi
work=$AMINO_CHECK_WORK
# Spaces wherever a path is the script's to read.
export TMPDIR="$work/temporary files"
roots=$TMPDIR/aminokiselini-roots
mkdir -p "$TMPDIR"
# Whether a root is kept is each case's to say.
unset AMINO_KEEP_ROOT

# The mounts at or below a folder, read from mountinfo apart from the script's
# reading: the folder's path escaped as the kernel writes it.
mounts_under() {
    local point
    point=$(sed 's/\\/\\134/g; s/ /\\040/g; s/\t/\\011/g' <<<"$1")
    cut -d' ' -f5 /proc/self/mountinfo | POINT=$point awk '
        { point = ENVIRON["POINT"] }
        $0 == point || index($0, point "/") == 1'
}

if [ "$case" = apt_at_once ] || [ "$case" = in_plain_chroot ]; then
    . /etc/os-release
    [ "${ID:-}" = debian ] && [ -n "${VERSION_CODENAME:-}" ] ||
        skip "this machine is not a Debian release (${PRETTY_NAME:-unknown})"
    release=$VERSION_CODENAME
    why=$("$debian_root" reachable "$release" 2>&1) || skip "${why:-the Debian archive is out of reach}"
    # The caller's cache: its base system, packages and lists.
    tarball=$("$debian_root" tarball "$release")
fi

if [ "$case" = apt_at_once ]; then
    made=()
    trap 'for root in "${made[@]}"; do "$debian_root" remove "$root" || true; done' EXIT
    for at in 0 1; do
        root=$(AMINO_ROOT_OWNER=$$ "$debian_root" new "$release" 2>"$work/new.log") || {
            cat "$work/new.log" >&2
            die "debian-root new failed"
        }
        made+=("$root")
    done
    # Started together; each holds apt's lock for seconds (the fetch, then
    # reading the lists), far longer than a run takes to start.
    pids=()
    for at in 0 1; do
        "$debian_root" run "${made[$at]}" apt-get update -q >"$work/apt-$at.log" 2>&1 &
        pids+=($!)
    done
    failed=0
    for at in 0 1; do
        wait "${pids[$at]}" || {
            echo "--- apt-get update in ${made[$at]}:" >&2
            cat "$work/apt-$at.log" >&2
            failed=$((failed + 1))
        }
    done
    [ "$failed" -eq 0 ] || die "apt-get update failed in $failed of two roots sharing the package cache"
    echo "ok: two roots' apt-get update at the same moment both succeed"
    exit 0
fi

if [ "$case" = in_plain_chroot ]; then
    # The base system and the scripts, with no mount made for them: / inside
    # is a folder on the check's own mount.
    plain="$work/plain chroot"
    mkdir "$plain"
    tar -x -z -p --numeric-owner --exclude='./dev/*' -C "$plain" -f "$tarball"
    mkdir "$plain/src"
    cp -a "$here/scripts" "$plain/src/"
    inside=/src/${debian_root#"$here"/}
    for command in "run / true" "new $release" "reachable $release" usable; do
        status=0
        # shellcheck disable=SC2086
        said=$(chroot "$plain" /usr/bin/env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin \
            "$inside" $command 2>&1) || status=$?
        printf '%s: %s\n' "$command" "$said"
        [ "$status" -ne 0 ] || die "$command succeeded in a plain chroot"
        [ "$(wc -l <<<"$said")" -eq 1 ] && [[ $said == "debian-root: / here is not a mount point"* ]] ||
            die "$command in a plain chroot did not say in one sentence that / is no mount point"
    done
    [ -z "$(mounts_under "$plain")" ] || {
        mounts_under "$plain" >&2
        die "something was mounted in the plain chroot"
    }
    echo "ok: in a plain chroot, making or entering a root says why not, and mounts nothing"
    exit 0
fi

export AMINO_CACHE_DIR="$work/cache folder"
# Nothing is downloaded: the mirror is only written into the root's sources.
export AMINO_DEBIAN_MIRROR=http://archive.invalid/debian
export AMINO_DEBIAN_SECURITY_MIRROR=http://security.invalid/debian-security

# The stand-in base system, where new looks for its cached tarball.
tree=$work/tree
mkdir -p "$tree"/{etc/apt/apt.conf.d,etc/dpkg/dpkg.cfg.d,usr/bin,usr/sbin,var/lib/dpkg} \
    "$tree"/{var/cache/apt/archives,var/lib/apt/lists,proc,dev,tmp,mnt}
shell=$(readlink -f /bin/sh)
for file in "$shell" $(ldd "$shell" | grep -o '/[^ ]*'); do
    cp -L --parents "$file" "$tree"
done
mkdir -p "$tree/bin"
[ -e "$tree/bin/sh" ] || cp "$shell" "$tree/bin/sh"
echo VERSION_CODENAME=stand >"$tree/etc/os-release"
printf '#!/bin/sh\nexit 0\n' >"$tree/usr/bin/apt-get"
chmod 755 "$tree/usr/bin/apt-get"
mkdir -p "$AMINO_CACHE_DIR/roots"
tar -C "$tree" -c -z -f "$AMINO_CACHE_DIR/roots/stand-$(dpkg --print-architecture)-minbase.tar.gz" .

new_root() {
    "$debian_root" new stand 2>"$work/new.log" || {
        cat "$work/new.log" >&2
        die "debian-root new failed"
    }
}

# Every file and folder of the work folder but the roots', to see that a
# clean-up deleted nothing else.
outside() { find "$work" -path "$roots" -prune -o -print | sort; }

# A process id no process has any more.
dead=$(sh -c 'echo $$')

if [ "$case" = kept_while_mounted ]; then
    # Its owner gone from the start: the next new tries to clear it.
    root=$(AMINO_ROOT_OWNER=$dead new_root)
    # What a mount left in a root shows: an rm through it deletes this.
    mkdir "$work/precious files"
    echo "not the root's" >"$work/precious files/sentinel"
    mkdir -p "$root/mnt/left mounted"
    mount --bind "$work/precious files" "$root/mnt/left mounted"

    status=0
    "$debian_root" remove "$root" 2>"$work/remove.log" || status=$?
    cat "$work/remove.log"
    [ -f "$work/precious files/sentinel" ] ||
        die "remove deleted through the mount left in the root"
    [ "$status" -ne 0 ] || die "remove reported success on a root it could not delete"
    [ -d "$root" ] || die "remove deleted the root"
    grep -qF "$root" "$work/remove.log" || die "remove did not name the root it kept"

    # The next new's sweep keeps it by the same rule.
    second=$(new_root)
    cat "$work/new.log"
    [ -f "$work/precious files/sentinel" ] ||
        die "new's sweep deleted through the mount left in the root"
    [ -d "$root" ] || die "new's sweep deleted the root"
    grep -qF "$root" "$work/new.log" || die "new's sweep did not name the root it kept"
    [ -d "$second" ] || die "new made no root beside the one kept"

    # Once unmounted, it goes.
    umount "$root/mnt/left mounted"
    "$debian_root" remove "$root" || die "remove failed on a root with nothing mounted in it"
    "$debian_root" remove "$second" || die "remove failed on a root with nothing mounted in it"
    [ ! -e "$root" ] && [ ! -e "$second" ] || die "remove left a root behind"
    [ "$(cat "$work/precious files/sentinel")" = "not the root's" ] ||
        die "the folder once mounted in the root changed"
    echo "ok: a root with a mount left in it is kept and named, and what the mount shows survives"
    exit 0
fi

if [ "$case" = only_new_made ]; then
    # A root's look-alikes, each with a file a delete would take, and an
    # owner file beside it as new writes one, its owner gone.
    elsewhere="$work/elsewhere/aminokiselini-roots/stand.copied"
    by_hand=$roots/stand.by-hand
    for dir in "$elsewhere" "$by_hand"; do
        mkdir -p "$dir/etc"
        echo VERSION_CODENAME=stand >"$dir/etc/os-release"
        echo "$dead" >"$dir.owner"
    done
    kept=$(AMINO_KEEP_ROOT=1 AMINO_ROOT_OWNER=$dead new_root)
    for dir in "$elsewhere" "$by_hand"; do
        status=0
        "$debian_root" remove "$dir" 2>"$work/remove.log" || status=$?
        cat "$work/remove.log"
        [ -f "$dir/etc/os-release" ] || die "remove deleted $dir, which new did not make"
        [ "$status" -ne 0 ] || die "remove reported success on $dir, which it must not delete"
    done
    # The next new's sweep clears an abandoned root (so it did look), and
    # nothing else.
    abandoned=$(AMINO_ROOT_OWNER=$dead new_root)
    next=$(new_root)
    [ ! -e "$abandoned" ] || die "new's sweep kept $abandoned, whose owner is gone"
    [ -f "$by_hand/etc/os-release" ] || die "new's sweep deleted $by_hand, which new did not make"
    [ -d "$kept" ] || die "new's sweep deleted $kept, a root kept on purpose"
    "$debian_root" remove "$kept" || die "remove by name failed on a root kept on purpose"
    "$debian_root" remove "$next" || die "remove failed"
    [ ! -e "$kept" ] && [ ! -e "$kept.owner" ] && [ ! -e "$next" ] || die "remove left a root behind"
    echo "ok: remove and the sweep delete only roots new made, and a kept root only by name"
    exit 0
fi

root=$(new_root)
[[ $root == "$roots"/* ]] || die "the root $root is not in $roots"
shared="$work/shared folder"
mkdir "$shared"
echo "from outside" >"$shared/a file"
"$debian_root" run "$root" --bind "$shared:/mnt/the shared folder" --bind "$shared" \
    GREETING="добър ден" sh -c '
        read -r line <"/mnt/the shared folder/a file" && [ "$line" = "from outside" ] || exit 3
        echo "$GREETING" >"/mnt/the shared folder/written inside" || exit 4
        read -r line <"$0/written inside" && [ "$line" = "$GREETING" ] || exit 5' "$shared" ||
    die "the run could not read and write the bound folder (exit $?)"
[ "$(cat "$shared/written inside" 2>/dev/null)" = "добър ден" ] ||
    die "what the run wrote in the bound folder is not there"
[ -z "$(mounts_under "$work")" ] || {
    mounts_under "$work" >&2
    die "the run left mounts behind"
}
kept=$(outside)
"$debian_root" remove "$root" || die "remove failed"
[ ! -e "$root" ] && [ ! -e "$root.owner" ] || die "remove left $root behind"
[ -z "$(ls -A "$roots")" ] || die "remove left something in $roots: $(ls -A "$roots")"
diff <(echo "$kept") <(outside) >&2 || die "remove deleted or made something outside the root"
echo "ok: with spaces in every path, a run with --bind and remove leave nothing behind" \
    "and delete nothing else"
