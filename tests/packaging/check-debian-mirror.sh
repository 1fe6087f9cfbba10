#!/usr/bin/env bash
# Checks scripts/lib/debian-mirror on sample apt configurations, written to a
# temporary folder, as a school's machines may have them: the deb822 and the
# one-line forms, both, none, and the entries it must pass over (commented
# out, disabled, another archive's with Debian's suite names).
#
# Usage: check-debian-mirror.sh
set -euo pipefail

helper=$(cd "$(dirname "$0")/../.." && pwd)/scripts/lib/debian-mirror
work=$(mktemp -d "${TMPDIR:-/tmp}/aminokiselini-mirror.XXXXXX")
trap 'rm -rf "$work"' EXIT
unset AMINO_DEBIAN_MIRROR AMINO_DEBIAN_SECURITY_MIRROR
failures=0
keyring=/usr/share/keyrings/debian-archive-keyring.gpg

# A system of release CODENAME with FILE=TEXT... as its apt sources.
system() { # NAME CODENAME FILE=TEXT...
    local dir=$work/$1 codename=$2 entry
    shift 2
    mkdir -p "$dir/etc/apt/sources.list.d"
    echo "VERSION_CODENAME=$codename" >"$dir/etc/os-release"
    for entry in "$@"; do
        printf '%s\n' "${entry#*=}" >"$dir/etc/apt/${entry%%=*}"
    done
}

expect() { # NAME KIND ANSWER (empty: none, and a message naming the variable)
    local name=$1 kind=$2 want=$3 got status=0
    got=$("$helper" --root "$work/$name" "$kind" 2>"$work/stderr") || status=$?
    if [ -n "$want" ] && [ "$status" -eq 0 ] && [ "$got" = "$want" ]; then
        return
    fi
    if [ -z "$want" ] && [ "$status" -eq 1 ] && [ -z "$got" ] &&
        grep -q 'AMINO_DEBIAN_\(SECURITY_\)\{0,1\}MIRROR' "$work/stderr"; then
        return
    fi
    echo "FAIL: $name $kind: wanted '${want:-no answer}', got '$got' (status $status)" \
        "$(cat "$work/stderr")" >&2
    failures=$((failures + 1))
}

# A fresh Debian 13 install: deb822 only, a former mirror commented out.
system deb822 trixie "sources.list.d/debian.sources=Types: deb
# URIs: http://old.school.example/debian
URIs: http://mirror.school.example/debian/
Suites: trixie trixie-updates
Components: main non-free-firmware
Signed-By: $keyring

Types: deb
URIs: http://mirror.school.example/debian-security
Suites: trixie-security
Components: main
Signed-By: $keyring"
expect deb822 archive http://mirror.school.example/debian
expect deb822 security http://mirror.school.example/debian-security

# An older install: one-line form, a commented-out line and a line with options.
system one-line bookworm "sources.list=# deb cdrom:[Debian GNU/Linux 12]/ bookworm main
#deb http://old.school.example/debian bookworm main
deb [arch=amd64 signed-by=$keyring] http://cache.school.example:3142/debian bookworm main contrib
deb [ signed-by=$keyring ] http://cache.school.example:3142/security bookworm-security main"
expect one-line archive http://cache.school.example:3142/debian
expect one-line security http://cache.school.example:3142/security

# Both forms: apt reads sources.list first.
system both bookworm "sources.list=deb http://first.school.example/debian bookworm main" \
    "sources.list.d/debian.sources=Types: deb
URIs: http://second.school.example/debian
Suites: bookworm
Components: main"
expect both archive http://first.school.example/debian
expect both security ""

# A source entry, as a machine may keep for apt-get source, counts only without a
# binary one: it may name a mirror apt has since left.
system deb-src bookworm "sources.list.d/aminokiselini-deb-src.sources=Types: deb-src
URIs: http://old.school.example/debian
Suites: bookworm bookworm-security
Components: main" \
    "sources.list.d/debian.sources=Types: deb
URIs: http://mirror.school.example/debian
Suites: bookworm
Components: main"
expect deb-src archive http://mirror.school.example/debian
expect deb-src security http://old.school.example/debian

# Passed over: a disabled stanza, and another archive that names Debian's
# suite and sorts first, with its own key or without "main".
system passed-over bookworm "sources.list.d/a-php.list=deb [signed-by=/usr/share/keyrings/php.gpg] https://php.example/debian bookworm main" \
    "sources.list.d/b-docker.sources=Types: deb
URIs: https://docker.example/linux/debian
Suites: bookworm
Components: stable" \
    "sources.list.d/debian.sources=Types: deb
URIs: http://disabled.school.example/debian
Suites: bookworm
Components: main
Enabled: no

Types: deb
URIs: http://mirror.school.example/debian
Suites: bookworm
Components: main
Signed-By: $keyring"
expect passed-over archive http://mirror.school.example/debian

# No Debian source at all, and the variables that override the answer.
system none bookworm "sources.list.d/php.list=deb [signed-by=/usr/share/keyrings/php.gpg] https://php.example/debian bookworm main"
expect none archive ""
expect none security ""
AMINO_DEBIAN_MIRROR=http://override.example/debian/ expect none archive http://override.example/debian

[ "$failures" -eq 0 ] || exit 1
echo "debian-mirror gave the expected answer for every sample configuration."
