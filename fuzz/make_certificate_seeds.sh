#!/usr/bin/env bash
# Writes the seeds of fuzz_certificate_files with OpenSSL: a small key, a certificate with a
# country in DER and PEM, the key in DER and encrypted PEM, and a PKCS#12 file (password "fuzz").
set -euo pipefail
out=$(dirname "$0")/corpus/fuzz_certificate_files
mkdir -p "$out"
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
openssl genpkey -algorithm RSA -pkeyopt rsa_keygen_bits:512 -out "$tmp/key.pem" 2> /dev/null
openssl req -x509 -key "$tmp/key.pem" -subj "/C=KR/O=Seed/CN=10.0.0.1" -days 1 \
    -out "$out/cert.pem" 2> /dev/null
openssl x509 -in "$out/cert.pem" -outform DER -out "$out/cert.der"
openssl pkey -in "$tmp/key.pem" -outform DER -out "$out/key.der"
openssl pkey -in "$tmp/key.pem" -aes128 -passout pass:fuzz -out "$out/key-encrypted.pem"
openssl pkcs12 -export -inkey "$tmp/key.pem" -in "$out/cert.pem" -passout pass:fuzz \
    -out "$out/identity.p12"
