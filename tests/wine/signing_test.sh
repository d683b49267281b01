#!/usr/bin/env bash
# Signing in the build: a throwaway self-signed code-signing certificate, a build of the program
# and the setup program with it, both verified against it; the default build stays unsigned,
# and the signed program still runs under Wine.
# Usage: signing_test.sh <unsigned Vintrosk.exe> <build folder for the signed build>
set -euo pipefail
unsigned=$1 out=$2
root="$(cd "$(dirname "$0")/../.." && pwd)"
keys="$out/signing"
mkdir -p "$keys"

if osslsigncode verify -in "$unsigned" >/dev/null 2>&1; then
  echo "the default build is signed"
  exit 1
fi

rm -f "$keys"/*
openssl req -x509 -newkey rsa:2048 -sha256 -days 2 -subj "/CN=Vintrosk throwaway test signer" \
  -addext "extendedKeyUsage=codeSigning" -passout pass:throwaway \
  -keyout "$keys/key.pem" -out "$keys/cert.pem" 2>/dev/null
# Once through the PEM variables, once through a PKCS#12 file.
openssl pkcs12 -export -inkey "$keys/key.pem" -in "$keys/cert.pem" -passin pass:throwaway \
  -passout pass:throwaway -out "$keys/cert.p12"

build() {
  cmake -S "$root" -B "$out" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-i686.cmake" -DVINTROSK_WINE_TESTS=OFF >/dev/null
  # Signing happens when the program is linked and the setup program made: start from scratch.
  cmake --build "$out" --clean-first -j"$(nproc)" >"$out/build.log" 2>&1 || { cat "$out/build.log"; exit 1; }
  grep -E 'sign:|warning' "$out/build.log" || true
}
verify() {
  for f in "$out/program/Vintrosk.exe" "$out"/Vintrosk-*-setup.exe; do
    osslsigncode verify -CAfile "$keys/cert.pem" -in "$f" | grep -q '^Succeeded' || { echo "not verified: $f"; exit 1; }
    echo "signing_test: verified $f"
  done
}

VINTROSK_SIGN_CERT="$keys/cert.pem" VINTROSK_SIGN_KEY="$keys/key.pem" VINTROSK_SIGN_PASS=throwaway build
verify
# The signature is checked, not just present: another certificate does not verify it.
openssl req -x509 -newkey rsa:2048 -subj "/CN=other" -nodes -keyout "$keys/other.key" -out "$keys/other.pem" 2>/dev/null
if osslsigncode verify -CAfile "$keys/other.pem" -in "$out/program/Vintrosk.exe" >/dev/null 2>&1; then
  echo "verified against the wrong certificate"
  exit 1
fi

VINTROSK_SIGN_PKCS12="$keys/cert.p12" VINTROSK_SIGN_PASS=throwaway build
verify

"$root/scripts/wine-run.sh" "$out/program/Vintrosk.exe" none 0 0
echo "signing_test: the signed program ran and ended"
