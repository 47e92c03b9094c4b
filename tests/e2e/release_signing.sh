#!/usr/bin/env bash
# The release signed with a certificate made here: a throwaway root and a
# code-signing certificate issued by it (openssl). The signed exe and MSI pass
# osslsigncode's check against that root and fail it against another root or
# with one byte changed; the signed exe differs from the unsigned one only by
# its signature (so its version resource and manifest are as built) and still
# starts under Wine. Without a certificate the release says UNSIGNED.
set -uo pipefail
. "$(dirname "$0")/common.bash"
require_built
for command in openssl osslsigncode msiextract unzip; do
  command -v $command >/dev/null || fail "$command is not installed (scripts/install-deps)"
done

scratch=$(mktemp -d "$root/build/e2e-signing-XXXX")
trap 'wine_env_cleanup; rm -rf "$scratch"' EXIT
cd "$scratch"
version=$(sed -n 's/^project(OmbrelSetup VERSION \([0-9.]*\).*/\1/p' "$root/CMakeLists.txt")

echo "== a throwaway root and code-signing certificate"
make_root() {
  openssl req -x509 -newkey rsa:2048 -nodes -keyout "$1.key" -out "$1.pem" -days 2 -subj "/CN=$2" \
    -addext basicConstraints=critical,CA:TRUE -addext keyUsage=critical,keyCertSign,cRLSign 2>/dev/null
}
make_root root "Ombrel Test Root" || fail "openssl could not make the root"
make_root other-root "Another Test Root" || fail "openssl could not make the other root"
openssl req -newkey rsa:2048 -nodes -keyout signer.key -out signer.csr -subj "/CN=Ombrel Test Publisher" 2>/dev/null
printf 'basicConstraints=CA:FALSE\nkeyUsage=critical,digitalSignature\nextendedKeyUsage=codeSigning\n' >signer.ext
openssl x509 -req -in signer.csr -CA root.pem -CAkey root.key -CAcreateserial -days 2 -extfile signer.ext \
  -out signer.pem 2>/dev/null || fail "openssl could not issue the code-signing certificate"
printf 'not a real secret' >password.txt
openssl pkcs12 -export -in signer.pem -inkey signer.key -certfile root.pem -passout file:password.txt \
  -out signer.p12 || fail "openssl could not make the PKCS#12 file"

echo "== the release without a certificate"
env -u OMBREL_SIGN_PKCS12 -u OMBREL_SIGN_PASSWORD_FILE bash "$root/scripts/release" "$scratch/unsigned" \
  >unsigned.log 2>&1 || { cat unsigned.log; fail "scripts/release without a certificate failed"; }
summary=$(sed -n '/^file /,$p' unsigned.log)
echo "$summary"
for file in OmbrelSetup.exe "Ombrel-$version.msi" "Ombrel-$version.zip"; do
  grep -q "^$file .* UNSIGNED$" <<<"$summary" || fail "the summary does not say UNSIGNED beside $file"
done
osslsigncode verify -CAfile root.pem -in "unsigned/Ombrel-$version.msi" >/dev/null 2>&1 &&
  fail "an unsigned MSI passed the check"

echo "== the release with the certificate"
OMBREL_SIGN_PKCS12=$scratch/signer.p12 OMBREL_SIGN_PASSWORD_FILE=$scratch/password.txt \
  bash "$root/scripts/release" "$scratch/signed" >signed.log 2>&1 || { cat signed.log; fail "the signed release failed"; }
summary=$(sed -n '/^file /,$p' signed.log)
echo "$summary"
grep -q UNSIGNED <<<"$summary" && fail "the signed release's summary says UNSIGNED"

# The exe as the zip and as the MSI ship it: the same signed file.
mkdir zip msi
(cd zip && unzip -q "$scratch/signed/Ombrel-$version.zip") || fail "cannot unzip the signed release"
(cd msi && msiextract "$scratch/signed/Ombrel-$version.msi" >/dev/null) || fail "cannot extract the signed MSI"
msi_exe=$(find msi -name OmbrelSetup.exe | head -n 1)
cmp -s zip/Ombrel/OmbrelSetup.exe "$msi_exe" || fail "the MSI and the zip hold different exes"
mkdir unsigned-zip
(cd unsigned-zip && unzip -q "$scratch/unsigned/Ombrel-$version.zip") || fail "cannot unzip the unsigned release"

check() {  # check FILE ROOT: osslsigncode's verdict, 0 when the signature holds
  osslsigncode verify -CAfile "$2" -in "$1" >"$1.verify" 2>&1
}
# The custom actions' DLL as the MSI carries it, in its Binary table.
msiinfo extract "signed/Ombrel-$version.msi" Binary.FolderRightsCheck >actions.dll ||
  fail "the signed MSI holds no custom-action DLL"
for file in zip/Ombrel/OmbrelSetup.exe "signed/Ombrel-$version.msi" actions.dll; do
  check "$file" root.pem || { cat "$file.verify"; fail "$file does not pass the check against its root"; }
  grep -q "Ombrel Test Publisher" "$file.verify" || fail "$file does not name its publisher"
  check "$file" other-root.pem && fail "$file passed the check against another root"
done
# One byte changed: in the exe's code, and half-way into the MSI.
flip() {  # flip FILE OFFSET: a copy with the byte at OFFSET inverted
  cp "$1" "$1.changed"
  local byte
  byte=$(od -An -tu1 -j "$2" -N1 "$1" | tr -d ' ')
  printf "$(printf '\\%03o' $((byte ^ 255)))" | dd of="$1.changed" bs=1 seek="$2" conv=notrunc status=none
}
flip zip/Ombrel/OmbrelSetup.exe 8192
check zip/Ombrel/OmbrelSetup.exe.changed root.pem && fail "an exe with a byte changed passed the check"
msi=signed/Ombrel-$version.msi
flip "$msi" $(($(stat -c %s "$msi") / 2))
check "$msi.changed" root.pem && fail "an MSI with a byte changed passed the check"

echo "== the signed exe is the built exe with a signature"
# Signing writes the header's checksum and the certificate table's entry and
# appends the signature: every other byte, resources and manifest among
# them, is the built exe's.
signed_exe=zip/Ombrel/OmbrelSetup.exe unsigned_exe=unsigned-zip/Ombrel/OmbrelSetup.exe
pe=$(od -An -tu4 -j 60 -N4 "$unsigned_exe" | tr -d ' ')
checksum=$((pe + 24 + 64)) certificates=$((pe + 24 + 112 + 4 * 8))
size=$(stat -c %s "$unsigned_exe")
[ "$(stat -c %s "$signed_exe")" -gt "$size" ] || fail "the signed exe is not larger than the unsigned one"
differing=$(cmp -l "$unsigned_exe" "$signed_exe" 2>/dev/null | awk -v c="$checksum" -v s="$certificates" '
  { offset = $1 - 1 } !((offset >= c && offset < c + 4) || (offset >= s && offset < s + 8)) { n++ }
  END { print n + 0 }')
[ "$differing" = 0 ] || fail "the signed exe differs from the built one in $differing more bytes"

echo "== the signed exe starts under Wine"
wine_env_for_script
cd zip/Ombrel
wine "$scratch/zip/Ombrel/OmbrelSetup.exe" >/dev/null 2>&1 </dev/null &
program=$!
tool wait "$title" 60 >/dev/null || fail "the signed program's window did not show"
tool close "$title" >/dev/null
tool gone "$title" 30 >/dev/null || fail "the signed program did not close"
wait "$program" 2>/dev/null
echo "PASS"
