#!/usr/bin/env bash
# scripts/publish on a small but honest release: the eleven files named as
# scripts/release names them, with real (tiny) Debian packages of versions
# 0.1.0 and 0.1.1, and throwaway Ed25519 keys made at fixed times. Checks
# what a school's machines and its IT person rely on: the signatures verify
# with the site's key (gpgv and sqv), each release's apt index lists the
# armhf package built for it, the same inputs give the same site byte for
# byte, every refusal leaves the site as it was, a second version and a new
# key keep what was published, and the keyring package holds the key, both
# releases' sources and the pin, lintian-clean.
#
# Usage: check-publish.sh SOURCE-DIR
set -euo pipefail

if [ $# -ne 1 ]; then
    echo "usage: $0 SOURCE-DIR" >&2
    exit 2
fi
source=$(cd "$1" && pwd)
. "$source/scripts/lib/common.sh"
publish=$source/scripts/publish
for tool in apt-ftparchive gpg gpgv sqv dpkg-deb dpkg-buildpackage dh lintian unzip xz; do
    command -v "$tool" >/dev/null || skip "$tool is missing (scripts/install-deps publish installs it)"
done
work=$(mktemp -d "${TMPDIR:-/tmp}/aminokiselini-publish-check.XXXXXX")
trap 'for home in "$work"/gnupg-*; do gpgconf --homedir "$home" --kill all 2>/dev/null || true; done; rm -rf "$work"' EXIT
export LC_ALL=C.UTF-8 TZ=UTC
url=http://127.0.0.1:8080/
failures=0
check() { # WHAT COMMAND...
    local what=$1
    shift
    "$@" >"$work/out" 2>&1 || {
        echo "FAIL: $what: $(tail -n 5 "$work/out")" >&2
        failures=$((failures + 1))
    }
}

# A key made at DATE, its secret part in KEYS/NAME.key.
make_key() { # NAME DATE
    local home=$work/gnupg-$1
    mkdir -m 700 "$home"
    gpg --homedir "$home" --batch --quiet --passphrase '' --faked-system-time "$2!" \
        --quick-gen-key "Aminokiselini test $1 <test@aminokiselini.example>" ed25519 sign never ||
        die "gpg could not make a key"
    gpg --homedir "$home" --batch --quiet --export-secret-keys >"$work/$1.key"
}
make_key first 20250201T000000
make_key second 20250501T000000

# A package of the fixture, its files dated at EPOCH as the release dates its own.
make_deb() { # OUT VERSION ARCH EPOCH
    local tree=$work/tree
    rm -rf "$tree"
    mkdir -p "$tree/DEBIAN" "$tree/usr/share/doc/$package"
    printf 'Package: %s\nVersion: %s\nArchitecture: %s\nMaintainer: Test <test@aminokiselini.example>\nDescription: fixture\n' \
        "$package" "$2" "$3" >"$tree/DEBIAN/control"
    echo "$2 $3" >"$tree/usr/share/doc/$package/README"
    find "$tree" -exec touch -h -d "@$4" {} +
    SOURCE_DATE_EPOCH=$4 dpkg-deb --root-owner-group -Zxz --build "$tree" "$1" >/dev/null
}
# A release's dist/ of VERSION dated EPOCH, in DIR.
make_dist() { # DIR VERSION EPOCH
    local dir=$1 v=$2 page=$work/aminokiselini-$2-web
    mkdir -p "$dir" "$page"
    make_deb "$dir/${package}_${v}_amd64.deb" "$v" amd64 "$3"
    make_deb "$dir/${package}_${v}_arm64.deb" "$v" arm64 "$3"
    make_deb "$dir/${package}_${v}+deb12_armhf.deb" "$v+deb12" armhf "$3"
    make_deb "$dir/${package}_${v}+deb13_armhf.deb" "$v+deb13" armhf "$3"
    echo "Source: $package, Version: $v" >"$dir/${package}_$v.dsc"
    echo "$v" | xz >"$dir/${package}_$v.tar.xz"
    for name in windows-x86.zip setup.exe windows-x86.msi scorm.zip; do
        echo "$name $v" >"$dir/$package-$v-$name"
    done
    echo "<!DOCTYPE html><title>$v</title>" >"$page/index.html"
    (cd "$work" && /usr/bin/python3 -m zipfile -c "$dir/$package-$v-web.zip" "${page##*/}")
    (cd "$dir" && ls | LC_ALL=C sort | xargs sha256sum >"$work/sums" && mv "$work/sums" SHA256SUMS)
}
make_dist "$work/dist-0.1.0" 0.1.0 1740787200    # 2025-03-01
make_dist "$work/dist-0.1.1" 0.1.1 1743465600    # 2025-04-01

# Every file's path, type, mode, mtime and bytes: what "unchanged" means.
snapshot() { # SITE
    (cd "$1" && find . -printf '%p %y %m %T@ %l\n' | LC_ALL=C sort &&
        find . -type f -print0 | LC_ALL=C sort -z | xargs -0 sha256sum)
}
run_publish() { # SITE KEY [ARGUMENT...] DIST (ADDRESS: another URL)
    local site=$1 key=$2
    shift 2
    "$publish" --url "${address:-$url}" --key "$work/$key.key" --site "$site" "$@"
}

check "publishing 0.1.0 on a new site" run_publish "$work/site" first "$work/dist-0.1.0"
keyring=(aminokiselini-archive-keyring_2025.02.01.000000_all.deb)
for path in index.html aminokiselini-archive-keyring.pgp "${keyring[0]}" lesson/index.html \
    downloads/0.1.0/SHA256SUMS downloads/0.1.0/SHA256SUMS.asc downloads/0.1.0/aminokiselini-0.1.0-setup.exe \
    debian/pool/main/a/aminokiselini/aminokiselini_0.1.0+deb13_armhf.deb \
    debian/pool/main/a/aminokiselini/"${keyring[0]}" \
    debian/dists/{bookworm,trixie}/{InRelease,Release,Release.gpg} \
    debian/dists/{bookworm,trixie}/main/binary-{amd64,arm64,armhf}/Packages{,.gz,.xz}; do
    check "the site has $path" test -f "$work/site/$path"
done

# What apt (gpgv on Debian 12, sqv on 13) and a school checking a download run.
key=$work/site/aminokiselini-archive-keyring.pgp
verify() { # SIGNATURE [DATA]
    gpgv --keyring "$key" "$@" && { [ $# -eq 1 ] || sqv --keyring "$key" "$@"; }
}
for suite in bookworm trixie; do
    check "$suite's InRelease verifies" verify "$work/site/debian/dists/$suite/InRelease"
    check "$suite's Release.gpg verifies" \
        verify "$work/site/debian/dists/$suite/Release.gpg" "$work/site/debian/dists/$suite/Release"
done
check "SHA256SUMS.asc verifies" \
    verify "$work/site/downloads/0.1.0/SHA256SUMS.asc" "$work/site/downloads/0.1.0/SHA256SUMS"
check "the Release names its origin, label and suite" test "$(grep -cxE '(Origin|Label): Aminokiselini|(Suite|Codename): trixie' \
    "$work/site/debian/dists/trixie/Release")" -eq 4

# Which package versions each index lists (suite architecture versions).
listed() { # SUITE ARCH
    xz -dc "$work/site/debian/dists/$1/main/binary-$2/Packages.xz" |
        awk '/^Package: aminokiselini$/ { p = 1 } /^$/ { p = 0 } p && /^Version:/ { print $2 }' | sort | xargs
}
while read -r suite arch want; do
    check "the $suite $arch index lists $want" test "$(listed "$suite" "$arch")" = "$want"
done <<'EOF'
bookworm amd64 0.1.0
bookworm arm64 0.1.0
bookworm armhf 0.1.0+deb12
trixie amd64 0.1.0
trixie arm64 0.1.0
trixie armhf 0.1.0+deb13
EOF

# Every link of the page resolves inside the site.
check "every link of index.html leads to a file of the site" /usr/bin/python3 - "$work/site" <<'EOF'
import html.parser, os, sys
site = sys.argv[1]
class Links(html.parser.HTMLParser):
    found = []
    def handle_starttag(self, tag, attrs):
        self.found += [value for name, value in attrs if name in ('href', 'src')]
links = Links()
links.feed(open(os.path.join(site, 'index.html'), encoding='utf-8').read())
bad = [l for l in links.found if '//' in l or l.startswith('/') or
       not os.path.isfile(os.path.join(site, l) + ('index.html' if l.endswith('/') else ''))]
assert len(links.found) > 15 and not bad, bad
EOF

# The keyring package: its files, both releases' sources, the pin, lintian
# (scripts/site tries what they do on Debian 12 and 13).
deb=$work/site/${keyring[0]}
dpkg-deb -x "$deb" "$work/keyring"
check "the package's key is the site's" cmp "$work/keyring/usr/share/keyrings/aminokiselini-archive-keyring.pgp" "$key"
for suite in bookworm trixie; do
    check "the package has the $suite source" grep -qxF "$(printf 'Types: deb\nURIs: %sdebian/\nSuites: %s\nComponents: main\nSigned-By: /usr/share/keyrings/aminokiselini-archive-keyring.pgp' "$url" "$suite")" \
        "$work/keyring/usr/share/aminokiselini-archive-keyring/$suite.sources"
done
check "the pin is a link dpkg removes with the package" test "$(readlink "$work/keyring/etc/apt/preferences.d/aminokiselini.pref")" = \
    /usr/share/aminokiselini-archive-keyring/aminokiselini.pref
check "lintian finds nothing in the keyring package" lintian --fail-on error,warning "$deb"

# The same inputs, the same site: a second new site, the same dist again
# (nothing changes), and 0.1.1 over each of two equal sites.
check "publishing 0.1.0 on a second new site" run_publish "$work/again" first "$work/dist-0.1.0"
check "two new sites of 0.1.0 are the same" cmp <(snapshot "$work/site") <(snapshot "$work/again")
snapshot "$work/site" >"$work/before"
check "the same 0.1.0 again is accepted" run_publish "$work/site" first "$work/dist-0.1.0"
check "the same 0.1.0 again changes nothing" cmp "$work/before" <(snapshot "$work/site")
check "0.1.1 over the first site" run_publish "$work/site" first "$work/dist-0.1.1"
check "0.1.1 over the second site" run_publish "$work/again" first "$work/dist-0.1.1"
check "the two sites with 0.1.1 are the same" cmp <(snapshot "$work/site") <(snapshot "$work/again")
check "0.1.0's downloads stay" cmp -s "$work/dist-0.1.0/SHA256SUMS" "$work/site/downloads/0.1.0/SHA256SUMS"
while read -r suite arch want; do
    check "the $suite $arch index lists $want" test "$(listed "$suite" "$arch")" = "$want"
done <<'EOF'
bookworm amd64 0.1.0 0.1.1
bookworm armhf 0.1.0+deb12 0.1.1+deb12
trixie armhf 0.1.0+deb13 0.1.1+deb13
EOF
check "the lesson is 0.1.1's" grep -q '<title>0.1.1</title>' "$work/site/lesson/index.html"
check "the page shows 0.1.1 first and 0.1.0 below" grep -qz 'Версия 0.1.1.*downloads/0.1.1/aminokiselini-0.1.1-setup.exe.*Версия 0.1.0.*downloads/0.1.0/aminokiselini-0.1.0-setup.exe' \
    "$work/site/index.html"

# Each refusal: a non-zero exit, one sentence, the site unchanged.
broken() { # NAME: a copy of 0.1.1's dist to spoil
    rm -rf "$work/$1" && cp -a "$work/dist-0.1.1" "$work/$1" && echo "$work/$1"
}
dist=$(broken wrong-sum) && echo spoiled >>"$dist/aminokiselini-0.1.1-setup.exe"
dist=$(broken missing-file) && rm "$dist/aminokiselini_0.1.1_arm64.deb"
dist=$(broken lacks-download) && rm "$dist/aminokiselini-0.1.1-scorm.zip" && sed -i '/scorm/d' "$dist/SHA256SUMS"
dist=$(broken unnamed-file) && echo extra >"$dist/notes.txt"
make_dist "$work/other-bytes" 0.1.1 1743552000
snapshot "$work/site" >"$work/before"
while read -r what signer dist address; do
    status=0
    address=$address run_publish "$work/site" "$signer" "$work/$dist" 2>"$work/said" >/dev/null || status=$?
    check "$what is refused" test "$status" -ne 0
    check "$what is refused in one sentence" test "$(grep -c . "$work/said")" -eq 1
    check "$what leaves the site unchanged" cmp "$work/before" <(snapshot "$work/site")
done <<'EOF'
a file that does not match SHA256SUMS first wrong-sum
a file SHA256SUMS names and DIST lacks first missing-file
a dist without one of the eleven downloads first lacks-download
a file SHA256SUMS does not name first unnamed-file
version 0.1.1 again with other bytes first other-bytes
another key without --new-key second dist-0.1.1
another address than the site's first dist-0.1.1 https://other.example/
EOF
check "no half-made site is left beside it" test -z "$(find "$work" -maxdepth 1 -name '.*')"

# A new key, when asked for: everything signed by it, its package alone.
check "--new-key is accepted" run_publish "$work/site" second --new-key "$work/dist-0.1.1"
check "InRelease verifies with the new key" verify "$work/site/debian/dists/bookworm/InRelease"
check "0.1.0's SHA256SUMS.asc verifies with the new key" \
    verify "$work/site/downloads/0.1.0/SHA256SUMS.asc" "$work/site/downloads/0.1.0/SHA256SUMS"
check "the new key's package replaces the old one" test "$(cd "$work/site" && ls aminokiselini-archive-keyring_*.deb debian/pool/main/a/aminokiselini/aminokiselini-archive-keyring_*.deb | xargs)" = \
    "aminokiselini-archive-keyring_2025.05.01.000000_all.deb debian/pool/main/a/aminokiselini/aminokiselini-archive-keyring_2025.05.01.000000_all.deb"
check "the pool keeps both versions" test "$(ls "$work/site/debian/pool/main/a/aminokiselini" | grep -c '^aminokiselini_')" -eq 8

[ "$failures" -eq 0 ] || exit 1
echo "publish made, kept and refused sites as expected."
