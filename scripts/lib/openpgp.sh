# The site's signing key, shared by scripts/publish and scripts/lib/site-apt
# (sourced after common.sh): a throwaway GNUPGHOME holding it, and
# signatures dated at a time given, so that the same inputs sign alike
# (Ed25519 signatures are deterministic once their time is fixed).

# Imports the one secret key of KEYFILE into a new GNUPGHOME, removed by
# key_home_remove. Sets gnupg_home, key_fpr (the primary key's fingerprint)
# and key_time (the newest creation time of its keys: no signature may be
# older than the key that makes it).
key_home() { # KEYFILE
    [ -r "$1" ] || fail "cannot read the key $1"
    gnupg_home=$(mktemp -d "${TMPDIR:-/tmp}/aminokiselini-gnupg.XXXXXX")
    gpg --homedir "$gnupg_home" --batch --quiet --import "$1" 2>"$gnupg_home/import.log" || {
        cat "$gnupg_home/import.log" >&2
        fail "$1 is not an OpenPGP key gpg can read"
    }
    local listing
    listing=$(gpg --homedir "$gnupg_home" --batch --with-colons --list-secret-keys 2>/dev/null)
    [ "$(grep -c '^sec:' <<<"$listing")" -eq 1 ] ||
        fail "$1 must hold exactly one secret key (it holds $(grep -c '^sec:' <<<"$listing"))"
    key_fpr=$(awk -F: '/^fpr:/ { print $10; exit }' <<<"$listing")
    key_time=$(awk -F: '/^(sec|ssb):/ && $6 > t { t = $6 } END { print t }' <<<"$listing")
}

key_home_remove() {
    [ -n "${gnupg_home:-}" ] || return 0
    gpgconf --homedir "$gnupg_home" --kill all 2>/dev/null || true
    rm -rf "$gnupg_home"
    gnupg_home=
}

# gpg with the key, its clock stopped at EPOCH; its words only if it fails.
sign_at() { # EPOCH GPG-ARGUMENT...
    local epoch=$1
    shift
    gpg --homedir "$gnupg_home" --batch --yes --quiet --pinentry-mode loopback --passphrase '' \
        --faked-system-time "$epoch!" --local-user "$key_fpr!" --digest-algo SHA512 \
        "$@" 2>"$gnupg_home/sign.log" || { cat "$gnupg_home/sign.log" >&2; fail "gpg could not sign"; }
}

# The public key as a binary keyring, as apt's Signed-By, gpgv and sqv read it.
export_public_key() { # FILE
    gpg --homedir "$gnupg_home" --batch --quiet --export --export-options export-minimal \
        "$key_fpr" >"$1"
}

# A new Ed25519 key without a passphrase, its secret part written to FILE,
# for checks that sign with it and then throw it away.
throwaway_key() { # FILE NAME
    local home
    home=$(mktemp -d "${TMPDIR:-/tmp}/aminokiselini-gnupg.XXXXXX")
    gpg --homedir "$home" --batch --quiet --passphrase '' \
        --quick-gen-key "Аминокиселини, $2 <$2@site.invalid>" ed25519 sign never ||
        fail "gpg could not make a key"
    gpg --homedir "$home" --batch --armor --export-secret-keys >"$1"
    gpgconf --homedir "$home" --kill all 2>/dev/null || true
    rm -rf "$home"
}

# gpg's listing of the keys in FILE, read in a GNUPGHOME of its own, so that
# no ~/.gnupg is made on the machine.
show_keys() { # FILE
    local home status=0
    home=$(mktemp -d "${TMPDIR:-/tmp}/aminokiselini-gnupg.XXXXXX")
    gpg --homedir "$home" --batch --with-colons --show-keys "$1" 2>/dev/null || status=$?
    rm -rf "$home"
    return "$status"
}
