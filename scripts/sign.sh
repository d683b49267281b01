#!/usr/bin/env bash
# Signs a Windows program in place with osslsigncode when a certificate is given, and leaves it
# alone otherwise: unsigned builds are the default. The build runs it on Vintrosk.exe after
# linking, and makensis on the uninstaller and the setup program.
#   VINTROSK_SIGN_PKCS12                a PKCS#12 file (.p12, .pfx) with certificate and key, or
#   VINTROSK_SIGN_CERT, VINTROSK_SIGN_KEY  a certificate (chain) and its private key (PEM or DER)
#   VINTROSK_SIGN_PASS                  the password of the key or PKCS#12 file, if any
#   VINTROSK_SIGN_TIMESTAMP             an RFC 3161 time-stamp server URL, if any (needs network)
set -euo pipefail
file=$1

args=()
if [ -n "${VINTROSK_SIGN_PKCS12:-}" ]; then
  args+=(-pkcs12 "$VINTROSK_SIGN_PKCS12")
elif [ -n "${VINTROSK_SIGN_CERT:-}" ]; then
  if [ -z "${VINTROSK_SIGN_KEY:-}" ]; then
    echo "sign: VINTROSK_SIGN_CERT is set but VINTROSK_SIGN_KEY is not" >&2
    exit 1
  fi
  args+=(-certs "$VINTROSK_SIGN_CERT" -key "$VINTROSK_SIGN_KEY")
else
  exit 0
fi
# The password goes through a pipe, not the command line, where any user could read it.
[ -z "${VINTROSK_SIGN_PASS:-}" ] || args+=(-readpass -)
[ -z "${VINTROSK_SIGN_TIMESTAMP:-}" ] || args+=(-ts "$VINTROSK_SIGN_TIMESTAMP")

tmp="$file.signing"
rm -f "$tmp"
printf '%s' "${VINTROSK_SIGN_PASS:-}" |
  osslsigncode sign "${args[@]}" -h sha256 -n "Vintrosk!" -in "$file" -out "$tmp" >/dev/null
mv -f "$tmp" "$file"
echo "sign: signed $file"
