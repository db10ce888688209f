#!/bin/sh
# Makes the seeds of fuzz_private_key with the openssl program: small keys in
# their PEM forms (plain and encrypted), and DER after a form byte (see the
# target), the "encrypted" ones holding the plain key and its padding, as
# the target's copying decryption reads them.
set -eu
out=$(cd "$(dirname "$0")" && pwd)/seeds/private_key
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$out"
rm -f "$out"/*
cd "$work"
p=pass:haslo

openssl genpkey -algorithm EC -pkeyopt ec_paramgen_curve:P-256 -out ec256.pem 2>/dev/null
openssl genpkey -algorithm EC -pkeyopt ec_paramgen_curve:P-384 -out ec384.pem 2>/dev/null
openssl genpkey -algorithm RSA -pkeyopt rsa_keygen_bits:1024 -out rsa.pem 2>/dev/null
cp ec256.pem "$out/ec256-pkcs8.pem"
openssl pkcs8 -topk8 -in ec256.pem -passout $p -out "$out/ec256-pkcs8-enc.pem"
openssl pkcs8 -topk8 -v2 aes128 -v2prf hmacWithSHA1 -in ec384.pem -passout $p -out "$out/ec384-pkcs8-aes128-sha1.pem"
openssl pkey -traditional -in ec384.pem -out "$out/ec384-traditional.pem"
openssl pkey -traditional -aes128 -in ec256.pem -passout $p -out "$out/ec256-traditional-aes128.pem"
openssl pkey -traditional -aes256 -in rsa.pem -passout $p -out "$out/rsa-traditional-aes256.pem"
openssl ec -in ec256.pem -no_public -out "$out/ec256-no-public.pem"

# DER with PKCS#7 padding to whole 16-byte blocks.
padded() {
  cp "$1" "$2"
  n=$((16 - $(wc -c <"$1") % 16))
  i=0
  while [ $i -lt $n ]; do printf "\\$(printf '%03o' $n)" >>"$2"; i=$((i + 1)); done
}
# A form byte, then the DER.
seed() { { printf "\\$(printf '%03o' "$1")"; cat "$2"; } >"$out/$3"; }

openssl pkey -in ec256.pem -outform DER -out ec256-pkcs8.der
openssl ec -in ec256.pem -outform DER -out ec256-ec.der 2>/dev/null
openssl rsa -in rsa.pem -traditional -outform DER -out rsa-rsa.der 2>/dev/null
seed 0 ec256-pkcs8.der der-pkcs8
seed 2 ec256-ec.der der-ec
seed 3 rsa-rsa.der der-rsa
padded ec256-pkcs8.der pkcs8.pad
padded ec256-ec.der ec.pad
padded rsa-rsa.der rsa.pad
seed 4 ec.pad der-ec-encrypted
seed 5 rsa.pad der-rsa-encrypted
cat >epki.conf <<CONF
asn1=SEQUENCE:epki
[epki]
alg=SEQUENCE:alg
data=FORMAT:HEX,OCTETSTRING:$(od -An -v -tx1 pkcs8.pad | tr -d ' \n')
[alg]
oid=OID:1.2.840.113549.1.5.13
params=SEQUENCE:pbes2
[pbes2]
kdf=SEQUENCE:kdf
enc=SEQUENCE:enc
[kdf]
oid=OID:1.2.840.113549.1.5.12
params=SEQUENCE:kdfparams
[kdfparams]
salt=FORMAT:HEX,OCTETSTRING:0102030405060708
iter=INTEGER:2048
prf=SEQUENCE:prf
[prf]
oid=OID:hmacWithSHA256
[enc]
oid=OID:aes-256-cbc
iv=FORMAT:HEX,OCTETSTRING:000102030405060708090a0b0c0d0e0f
CONF
openssl asn1parse -genconf epki.conf -out epki.der -noout
seed 1 epki.der der-pkcs8-encrypted
chmod 644 "$out"/*
