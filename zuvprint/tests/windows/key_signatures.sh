#!/bin/sh
# The Linux side of the Windows signing tests, with the openssl program as
# the independent witness:
#   key_signatures.sh make DIR     keys in every PEM form, their public keys,
#                                  the text to sign and the password;
#   key_signatures.sh verify DIR   checks the signatures that the Windows
#                                  tests wrote beside the keys (KEY.sig, or
#                                  KEY.unsupported with the reason when the
#                                  platform's CNG lacks that key's algorithm).
set -eu
mode=$1
dir=$2
pass='ZłotyŁęg-2026'

make_keys() {
  rm -rf "$dir"
  mkdir -p "$dir"
  cd "$dir"
  printf '%s' "$pass" >password.txt
  printf '%s' 'qr-test.ksef.mf.gov.pl/certificate/Nip/8982143767/8982143767/01F4A3C59E21B7D6/-JcbH0VWPqGdQEdU25qcaC-pHQ0rW31GiyzRZAbY9fE' >data.txt
  : >keys.txt
  for alg in ec256 ec384 ec521 rsa; do
    case $alg in
      ec256) opts="-algorithm EC -pkeyopt ec_paramgen_curve:P-256" ;;
      ec384) opts="-algorithm EC -pkeyopt ec_paramgen_curve:P-384" ;;
      ec521) opts="-algorithm EC -pkeyopt ec_paramgen_curve:P-521" ;;
      rsa) opts="-algorithm RSA -pkeyopt rsa_keygen_bits:2048" ;;
    esac
    # shellcheck disable=SC2086
    openssl genpkey $opts -aes-256-cbc -pass "pass:$pass" -out "$alg-genpkey-aes256.pem"
    openssl pkey -in "$alg-genpkey-aes256.pem" -passin "pass:$pass" -out "$alg-pkcs8.pem"
    openssl pkey -in "$alg-pkcs8.pem" -pubout -out "$alg.pub"
    openssl pkcs8 -topk8 -v2 aes128 -v2prf hmacWithSHA1 -in "$alg-pkcs8.pem" -passout "pass:$pass" -out "$alg-pkcs8-aes128-sha1.pem"
    openssl pkcs8 -topk8 -v2 aes192 -in "$alg-pkcs8.pem" -passout "pass:$pass" -out "$alg-pkcs8-aes192.pem"
    openssl pkey -traditional -in "$alg-pkcs8.pem" -out "$alg-traditional.pem"
    for aes in aes128 aes192 aes256; do
      openssl pkey -traditional -$aes -in "$alg-pkcs8.pem" -passout "pass:$pass" -out "$alg-traditional-$aes.pem"
    done
    for f in "$alg"-*.pem; do echo "${f%.pem}" >>keys.txt; done
  done
  openssl genpkey -algorithm ED25519 -out ed25519.pem
}

# The hex of a file's bytes from offset $2, $3 bytes long.
hex_of() { od -An -v -tx1 -j "$2" -N "$3" "$1" | tr -d ' \n'; }

verify_keys() {
  cd "$dir"
  failed=0
  while read -r key; do
    alg=${key%%-*}
    if [ -f "$key.unsupported" ]; then
      echo "$key: not signed here: $(cat "$key.unsupported")"
      continue
    fi
    if [ ! -f "$key.sig" ]; then
      echo "$key: no signature"
      failed=1
      continue
    fi
    sig=$key.sig
    set -- -sigopt rsa_padding_mode:pss -sigopt rsa_pss_saltlen:32
    if [ "$alg" != rsa ]; then  # r || s into the DER form openssl checks
      half=$(($(wc -c <"$key.sig") / 2))
      printf 'asn1=SEQUENCE:sig\n[sig]\nr=INTEGER:0x%s\ns=INTEGER:0x%s\n' \
        "$(hex_of "$key.sig" 0 $half)" "$(hex_of "$key.sig" $half $half)" >"$key.conf"
      openssl asn1parse -genconf "$key.conf" -out "$key.der" -noout
      sig=$key.der
      set --
    fi
    printf 'x' | cat data.txt - >other.txt
    if openssl dgst -sha256 -verify "$alg.pub" "$@" -signature "$sig" data.txt >/dev/null &&
       ! openssl dgst -sha256 -verify "$alg.pub" "$@" -signature "$sig" other.txt >/dev/null 2>&1; then
      echo "$key: verified"
    else
      echo "$key: SIGNATURE DOES NOT VERIFY"
      failed=1
    fi
  done <keys.txt
  return $failed
}

case $mode in
  make) make_keys ;;
  verify) verify_keys ;;
  *) echo "usage: $0 make|verify DIR" >&2; exit 2 ;;
esac
