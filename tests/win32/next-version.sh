#!/usr/bin/env bash
# The packages of a higher version, as a school that signs them itself makes
# them: cpack run again on the binaries already built, with another version
# and a throwaway self-signed certificate (openssl), into OUT-DIR. Checks
# that osslsigncode accepts the signatures of the program in the zip, the
# NSIS installer and the MSI. The installer checks install these over the
# first version.
#   next-version.sh BUILD-DIR VERSION OUT-DIR ARCH
# ARCH: x86 or x64, as the packages' names have it.
set -euo pipefail
build=$1
version=$2
out=$3
arch=$4
fail() { echo "FAIL: $*" >&2; exit 1; }
rm -rf "$out"
mkdir -p "$out/certificate"
trap 'rm -rf "$out/certificate" "$out/_CPack_Packages"' EXIT

openssl req -x509 -newkey rsa:2048 -nodes -days 2 -subj "/O=Test school/CN=Test school code signing" \
    -addext "extendedKeyUsage=codeSigning" -keyout "$out/certificate/key.pem" \
    -out "$out/certificate/certificate.pem" 2>/dev/null
openssl pkcs12 -export -inkey "$out/certificate/key.pem" -in "$out/certificate/certificate.pem" \
    -passout pass:secret -out "$out/certificate/school.p12"

(cd "$build" && AMINO_SIGN_PKCS12=$out/certificate/school.p12 AMINO_SIGN_PASSWORD=secret \
    cpack -G "NSIS;External" -D CPACK_PACKAGE_VERSION="$version" -B "$out" >"$out/cpack.log") ||
    { cat "$out/cpack.log" >&2; fail "cpack could not make the $version packages"; }

base=$out/aminokiselini-$version
unzip -q -j "$base-windows-$arch.zip" '*/aminokiselini.exe' -d "$out/certificate"
for file in "$out/certificate/aminokiselini.exe" "$base-setup.exe" "$base-windows-$arch.msi"; do
    osslsigncode verify -CAfile "$out/certificate/certificate.pem" -in "$file" >"$out/verify.log" 2>&1 ||
        { cat "$out/verify.log" >&2; fail "osslsigncode does not accept the signature of $(basename "$file")"; }
    grep -q "Test school code signing" "$out/verify.log" || fail "$(basename "$file") is not signed by the test certificate"
    echo "ok: $(basename "$file") is signed, and the signature verifies"
done
rm "$out/verify.log"
