#!/usr/bin/env bash
# The Windows build, tested under Wine:
#  1. builds it (scripts/check-win32.sh: the mingw-w64 cross-build of caspo.dll, its siblings,
#     caspo.exe and the unit-test programs);
#  2. runs the unit tests under wine64 (CTest, preset mingw; arguments go to ctest);
#  3. end to end: the Windows caspo.exe against caspo-backend of the Linux build, over HTTPS on
#     127.0.0.1 with host and peer verification on: a GET, a POST of a form and a download,
#     trusting the backend's CA through the configured certificates, then through the current
#     user's ROOT store (the platform layer's Windows certificate store), and refused with
#     neither; then the management client (register, sync, event, policy), an upload, an
#     inventory report and the update check and download (signature verified).
# Wine runs in the build folder's own prefix (build-mingw/wine-prefix). Leaves nothing running
# and nothing behind.
set -euo pipefail
cd "$(dirname "$0")/.."
root="$PWD"

scripts/check-win32.sh
if [ ! -x build/bin/caspo-backend ]; then
    cmake --preset default >/dev/null
    cmake --build --preset default --target caspo-backend
fi

wine=/usr/lib/wine/wine64
wineserver=/usr/lib/wine/wineserver
export WINEPREFIX="$root/build-mingw/wine-prefix"
export WINEDEBUG=-all

work="$(mktemp -d)"
backend_pid=""
root_key=""
default_store=""
cleanup() {
    if [ -n "$backend_pid" ]; then
        kill "$backend_pid" 2>/dev/null || true
        wait "$backend_pid" 2>/dev/null || true
    fi
    if [ -n "$default_store" ]; then
        rm -rf "$(dirname "$default_store")"
    fi
    if [ -n "$root_key" ]; then
        "$wine" reg delete "$root_key" /f >/dev/null 2>&1 || true
    fi
    "$wineserver" -k 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

# One wineserver for the whole run, so that each program starts quickly; the prefix is made on
# the first run.
mkdir -p "$WINEPREFIX"
"$wineserver" -p
"$wine" wineboot -i >/dev/null 2>&1

echo "== unit tests under Wine"
ctest --preset mingw "$@"

echo
echo "== end to end: caspo.exe against caspo-backend over HTTPS"
# A path of this machine as the Windows programs see it.
winpath() { echo "Z:${1//\//\\}"; }
fail() {
    echo "test-win64: $*" >&2
    exit 1
}

mkdir -p "$work/files" "$work/policies" "$work/uploads"
head -c 3000000 /dev/urandom >"$work/files/payload.bin"
# What the clients' part needs: a policy (serial 0x20000007, named in decimal), an upload folder
# with credentials, and a signed installer offered as 6.6.0.
printf '<policy serial="0x20000007"><scan interval="3600"/></policy>\n' >"$work/policies/536870919"
head -c 1048576 /dev/urandom >"$work/installer.exe"
build/bin/caspo-backend --verbose --tls-dir "$work/tls" --files "$work/files" \
    --policies "$work/policies" --record "$work/management.jsonl" \
    --upload-dir "$work/uploads" --upload-user agent:s3cret \
    --update-dir "$work/update" --offer "6.6.0=$work/installer.exe" \
    --ready-file "$work/ready.json" >"$work/backend.out" 2>"$work/backend.requests" &
backend_pid=$!
for _ in $(seq 300); do
    [ -s "$work/ready.json" ] && break
    kill -0 "$backend_pid" 2>/dev/null || { cat "$work/backend.out"; fail "the backend did not start"; }
    sleep 0.1
done
https=$(grep -o '"https" *: *"[^"]*"' "$work/ready.json" | sed 's/.*: *"\(.*\)"/\1/')
[ -n "$https" ] || fail "no HTTPS listener in $work/ready.json"

# caspo.exe; its output (CR LF) as Unix text.
caspo_exe() {
    "$wine" build-mingw/bin/caspo.exe "$@" | tr -d '\r'
}
# caspo.exe with a store of its own.
caspo() {
    local store="$1"
    shift
    caspo_exe --store "$(winpath "$work/$store.db")" "$@"
}
# A store with the shipped defaults: host and peer verification on, nothing trusted yet.
new_store() {
    caspo "$1" config import "$(winpath "$root/tools/config/default-agent.json")" >/dev/null
    [ "$(caspo "$1" config get config/conn/varenssl/verifypeer)" = "1" ] ||
        fail "the default store does not verify the peer"
}

# The three operations against a store that trusts the backend.
exchange() {
    local store="$1" out
    out="$(caspo "$store" get "$https/echo?from=windows")" || fail "$store: GET failed: $out"
    grep -q '^status: 200$' <<<"$out" || fail "$store: GET: $out"
    grep -q '"query" *: *"from=windows"' <<<"$out" || fail "$store: GET body: $out"

    out="$(caspo "$store" post "$https/echo" -F "agent=wine" -F "note=a b&c" -H "X-Caspo: 1")" ||
        fail "$store: POST failed: $out"
    grep -q '^status: 200$' <<<"$out" || fail "$store: POST: $out"
    grep -q '"body" *: *"agent=wine&note=a%20b%26c"' <<<"$out" || fail "$store: POST body: $out"

    rm -f "$work/download.bin"
    out="$(caspo "$store" download "$https/files/payload.bin" "$(winpath "$work/download.bin")")" ||
        fail "$store: download failed: $out"
    cmp -s "$work/files/payload.bin" "$work/download.bin" || fail "$store: download: $out"
    echo "$store: GET, POST and a download of $(stat -c %s "$work/download.bin") bytes verified"
}

new_store untrusted
if caspo untrusted get "$https/echo" >"$work/untrusted.out" 2>&1; then
    fail "an untrusted server was accepted: $(cat "$work/untrusted.out")"
fi
echo "untrusted: refused ($(grep -m1 '^result:' "$work/untrusted.out" || head -1 "$work/untrusted.out"))"

new_store configured
caspo configured config import "$(winpath "$work/tls/trust.json")" >/dev/null
exchange configured

# The CA in the current user's ROOT store: a registry certificate store, its key the SHA-1
# thumbprint, its "Blob" the serialized certificate (property 32, the DER bytes).
der="$work/ca.der"
openssl x509 -in "$work/tls/ca.pem" -outform DER -out "$der"
thumbprint=$(openssl x509 -in "$work/tls/ca.pem" -noout -fingerprint -sha1 | sed 's/.*=//; s/://g')
blob=$( (printf '\x20\x00\x00\x00\x01\x00\x00\x00'
    printf "$(printf '\\x%02x\\x%02x\\x%02x\\x%02x' \
        $(($(stat -c %s "$der") & 255)) $(($(stat -c %s "$der") >> 8 & 255)) 0 0)"
    cat "$der") | od -An -v -tx1 | tr -d ' \n')
root_key="HKCU\\Software\\Microsoft\\SystemCertificates\\Root\\Certificates\\$thumbprint"
"$wine" reg add "$root_key" /v Blob /t REG_BINARY /d "$blob" /f >/dev/null
new_store rootstore
exchange rootstore

echo
echo "== the management, upload, inventory and update clients (store: configured)"
# A field of the backend's record of a management request, as "name=value" lines.
record_fields() {
    grep "\"route\":\"$1\"" "$work/management.jsonl" | head -n 1 |
        grep -o '\["[^"]*","[^"]*"\]' | sed 's/^\["\([^"]*\)","\([^"]*\)"\]$/\1=\2/'
}
expect() {
    local what="$1" pattern="$2" text="$3"
    grep -q -- "$pattern" <<<"$text" || fail "$what: no \"$pattern\" in: $text"
}
set_wide() {
    caspo configured config set "$1" "$2" --type wide >/dev/null
}
set_wide config/ostra/endpoint/mgmt "$https/mgmt/"
set_wide config/ostra/endpoint/event "$https/event"
set_wide config/ostra/endpoint/policy/policy "$https/policy/agent/[%set:agent/uuid%]"
set_wide config/agent/uuid 6f1c2a3b-4d5e-4f60-8a7b-9c0d1e2f3a4b
set_wide config/agent/affiliate/uuid 0a0b0c0d-0e0f-4a1b-8c2d-3e4f5a6b7c8d
set_wide config/ostra/business/uuid 1a2b3c4d-5e6f-4a7b-8c9d-0e1f2a3b4c5d
set_wide config/ostra/install/token win64-install-token
set_wide config/agent/hardware_id win64-hardware-1
set_wide config/agent/version 6.5.0
for kind in product product_details update update_details; do
    set_wide "config/agent/kbt/endpoint/$kind" "$https/inventory/$kind"
done
set_wide config/updater/protocol https
set_wide config/updater/server "${https#https://}"
set_wide config/updater/path /update/seed.xml
# The backend's installer signer, trusted for installers only.
caspo configured config import "$(winpath "$work/update/signer-trust.json")" >/dev/null

out="$(caspo configured register --coin 3 --repeat 2)" || fail "register: $out"
expect register '^register: sent (cause: ' "$out"
expect register '^register: not sent (nothing changed)$' "$out"
registered="$(record_fields register)"
# The facts of the Windows platform layer: an NT platform (2, where POSIX says 0) on AMD64 (9),
# the NetBIOS name and this machine's adapters.
for field in 'os\[platform_id\]=2$' 'os\[architecture\]=9$' "hostname=$(hostname | cut -d. -f1)" \
    'nic_count=[1-9]' 'itoken=win64-install-token$' 'coin\[\]=3$'; do
    expect "registration record" "^$field" "$registered"
done
echo "register: sent, then nothing to send; the backend received:"
grep -E '^(hostname|os\[(major|minor|build|platform_id|architecture|product_info_type)\]|nic_count|csid|csidhex|rrr)=' \
    <<<"$registered" | sed 's/^/    /'

out="$(caspo configured sync)" || fail "sync: $out"
expect sync '^sync: the backend confirmed the configured GUID$' "$out"
out="$(caspo configured event 1001 7 "scan finished on wine")" || fail "event: $out"
expect event '^event: accepted$' "$out"
expect "event record" '^data=scan finished on wine$' "$(record_fields event)"
out="$(caspo configured policy 0x20000007 "$(winpath "$work/policy.xml")")" || fail "policy: $out"
cmp -s "$work/policies/536870919" "$work/policy.xml" || fail "policy: $out"
echo "sync, event and policy: confirmed, accepted, written"

printf 'scan started\nno threats found\n' >"$work/scan.log"
printf '{"scan": "quick"}\n' >"$work/scan.json"
out="$(caspo configured upload "$https/upload" "$(winpath "$work/scan.log")" \
    --meta "$(winpath "$work/scan.json")" --field source=wine --user agent:s3cret)" ||
    fail "upload: $out"
stored="$(find "$work/uploads" -name '*-scan.log' | head -n 1)"
[ -n "$stored" ] && cmp -s "$work/scan.log" "$stored" || fail "upload: nothing stored: $out"
printf 'caspo 6.5.0\n' >"$work/products.txt"
out="$(caspo configured inventory product "$(winpath "$work/products.txt")")" ||
    fail "inventory: $out"
expect inventory '^status: 200$' "$out"
echo "upload and inventory: stored and answered"

out="$(caspo configured update check)" || fail "update check: $out"
expect "update check" '^offered: 6.6.0 (type 1)$' "$out"
expect "update check" '^newer than this agent: yes' "$out"
out="$(caspo configured update download "$(winpath "$work/installer-got.exe")")" ||
    fail "update download: $out"
expect "update download" '^installer: status 200, signature accepted$' "$out"
cmp -s "$work/update/installer.exe" "$work/installer-got.exe" ||
    fail "update download: not the backend's installer: $out"
status=0
out="$(caspo configured update check 2>&1)" || status=$?
[ "$status" -ne 0 ] || fail "update check again: it should end in E_FAIL: $out"
expect "update check again" '^seed: status 304' "$out"
echo "update: offered 6.6.0, installer downloaded with its signature accepted, then 304"

echo
echo "== the host's names and adapters, and the store in the user's data folder"
out="$(caspo_exe host)" || fail "host: $out"
echo "$out"
netbios=$(hostname | cut -d. -f1 | cut -c1-15 | tr '[:lower:]' '[:upper:]')
grep -q "^NetBIOS name: *$netbios\$" <<<"$out" || fail "host: the NetBIOS name is not $netbios"
found_mac=""
for address in /sys/class/net/*/address; do
    mac=$(cat "$address")
    if [ "$mac" != "00:00:00:00:00:00" ] && grep -qi " $mac " <<<"$out"; then
        found_mac="$mac"
    fi
done
[ -n "$found_mac" ] || fail "host: no adapter of this machine listed"
caspo_exe config set config/e2e/check 7 --type dword >/dev/null
default_store=$(find "$WINEPREFIX/drive_c/users" -path '*/AppData/Local/caspo/config.db' | head -n 1)
[ -n "$default_store" ] || fail "no store made in the user's data folder (LocalAppData)"
[ "$(caspo_exe config get config/e2e/check)" = "7" ] || fail "the default store lost its value"
echo "default store: ${default_store#"$WINEPREFIX/"}"

echo
echo "test-win64: unit tests and end-to-end check passed"
