#!/usr/bin/env bash
# The main job: builds caspo, starts the reference backend over HTTPS with a fresh CA, sets up an
# agent's configuration store that trusts it with verification on, and runs a short real session
# with the caspo command line: a GET answered with a JSON error, a POST of a form, a download with
# its progress, then the agent's management cycle (register, and a second call that sends
# nothing; synchronise the identity; send an event; fetch a policy) and its upload, inventory and
# update cycle (clients_cycle below), and prints what the backend recorded. Leaves nothing
# running and nothing behind.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake --preset default >/dev/null
cmake --build --preset default

work=$(mktemp -d)
backend_pid=""
cleanup() {
    if [ -n "$backend_pid" ]; then
        kill "$backend_pid" 2>/dev/null || true
        wait "$backend_pid" 2>/dev/null || true
    fi
    rm -rf "$work"
}
trap cleanup EXIT

# The upload, inventory and update cycle: what the backend needs for it, and the steps.
clients_backend_options() {
    mkdir -p "$work/uploads"
    head -c 3145728 /dev/urandom >"$work/installer.exe"
    client_options=(--upload-dir "$work/uploads" --upload-user agent:s3cret
        --update-dir "$work/update" --offer "6.6.0=$work/installer.exe")
}

clients_cycle() {
    echo
    echo "== the agent's identity, its inventory endpoints and its update server"
    "${caspo[@]}" config get config/agent/uuid >/dev/null 2>&1 ||
        "${caspo[@]}" config set config/agent/uuid 2f1c6e4a-9b7d-4c3e-8a51-0d6b3f2e9c17 --type wide
    "${caspo[@]}" config set config/agent/version 6.5.0 --type wide
    for kind in product product_details update update_details; do
        "${caspo[@]}" config set "config/agent/kbt/endpoint/$kind" "$https/inventory/$kind" --type wide
    done
    "${caspo[@]}" config set config/updater/protocol https --type wide
    "${caspo[@]}" config set config/updater/server "${https#https://}" --type wide
    "${caspo[@]}" config set config/updater/path /update/seed.xml --type wide
    # The backend's installer signer, trusted for installers only (not for TLS).
    "${caspo[@]}" config import "$work/update/signer-trust.json"
    "${caspo[@]}" config list config/agent/kbt
    "${caspo[@]}" config get config/agent/uuid
    for key in protocol server path; do
        echo "config/updater/$key $("${caspo[@]}" config get "config/updater/$key")"
    done

    echo
    echo "== caspo upload: a scan log with its metadata and two fields, with basic authentication"
    printf 'scan started\nno threats found\n' >"$work/scan.log"
    printf '{"scan": "quick", "items": 2}\n' >"$work/scan.json"
    "${caspo[@]}" upload "$https/upload" "$work/scan.log" --meta "$work/scan.json" \
        --field source=demo --field note="weekly scan" --user agent:s3cret
    echo "-- what the backend recorded"
    "${caspo[@]}" get "$https/upload"

    echo
    echo "== caspo inventory: the installed products"
    printf 'caspo 6.5.0\nexample-editor 2.1\n' >"$work/products.txt"
    "${caspo[@]}" inventory product "$work/products.txt"

    echo
    echo "== caspo update check: the seed, the offer against this agent's version"
    "${caspo[@]}" update check

    echo
    echo "== caspo update download: the installer, its signature verified against the trusted signer"
    "${caspo[@]}" update download "$work/installer-downloaded.exe"

    echo
    echo "== the stored available-update record"
    "${caspo[@]}" config list config/updater/available
    echo "config/updater/lastmod $("${caspo[@]}" config get config/updater/lastmod)"
    "${caspo[@]}" update status

    echo
    echo "== caspo update check again: the seed has not changed since the recorded installer"
    status=0
    "${caspo[@]}" update check || status=$?
    echo "(exit status $status)"
}

echo "== caspo-backend over HTTPS with a fresh CA"
mkdir -p "$work/files" "$work/policies"
# The policy that the agent fetches: serial 0x20000007 (the "policy" level), file named in decimal.
printf '<policy serial="0x20000007"><scan interval="3600"/></policy>\n' >"$work/policies/536870919"
clients_backend_options
build/bin/caspo-backend --verbose --tls-dir "$work/tls" --files "$work/files" \
    --policies "$work/policies" --record "$work/management.jsonl" "${client_options[@]}" \
    --ready-file "$work/ready.json" >"$work/backend.out" 2>"$work/backend.requests" &
backend_pid=$!
for _ in $(seq 300); do
    [ -s "$work/ready.json" ] && break
    kill -0 "$backend_pid" 2>/dev/null || { cat "$work/backend.out" "$work/backend.requests"; exit 1; }
    sleep 0.1
done
cat "$work/backend.out"
field() { grep -o "\"$1\" *: *\"[^\"]*\"" "$work/ready.json" | sed 's/.*: *"\(.*\)"/\1/'; }
https=$(field https)
trust=$(field trust)

caspo=(build/bin/caspo --store "$work/config.db")

echo
echo "== a store from the shipped defaults, trusting the backend's CA (verification on)"
"${caspo[@]}" config import tools/config/default-agent.json
"${caspo[@]}" config import "$trust"
"${caspo[@]}" config list config/conn

echo
echo "== caspo get: the server answers 404 with a JSON error body"
status=0
"${caspo[@]}" get "$https/status/404?result=0xC1050005&detail=no%20such%20agent" || status=$?
echo "(exit status $status)"

echo
echo "== caspo post: a form with two fields and a header, echoed back"
"${caspo[@]}" post "$https/echo" -F "agent=demo" -F "note=a b&c" -H "X-Demo: 1"

echo
echo "== caspo download: 8 MiB that arrive over about three seconds (progress on a terminal)"
"${caspo[@]}" download "$https/slow?bytes=8388608&chunk=65536&interval_ms=25" "$work/download.bin"

echo
echo "== the management cycle: the agent's identity and endpoints in the store"
"${caspo[@]}" config set config/ostra/endpoint/mgmt "$https/mgmt/"
"${caspo[@]}" config set config/ostra/endpoint/event "$https/event"
"${caspo[@]}" config set config/ostra/endpoint/policy/policy "$https/policy/agent/[%set:agent/uuid%]"
"${caspo[@]}" config set config/agent/uuid 6f1c2a3b-4d5e-4f60-8a7b-9c0d1e2f3a4b
"${caspo[@]}" config set config/agent/affiliate/uuid 0a0b0c0d-0e0f-4a1b-8c2d-3e4f5a6b7c8d
"${caspo[@]}" config set config/ostra/business/uuid 1a2b3c4d-5e6f-4a7b-8c9d-0e1f2a3b4c5d
"${caspo[@]}" config set config/ostra/install/token demo-install-token
"${caspo[@]}" config set config/agent/hardware_id demo-hardware-1

echo
echo "== caspo register: the first call sends (everything is new); the second has nothing to send"
"${caspo[@]}" register --coin 3 --coin 5 --repeat 2

echo
echo "== caspo sync: the backend confirms the agent's GUID; the facts are remembered"
"${caspo[@]}" sync
"${caspo[@]}" sync

echo
echo "== caspo event: one event"
"${caspo[@]}" event 1001 7 "scan finished: 0 threats"

echo
echo "== caspo policy: serial 0x20000007 through the configured template"
"${caspo[@]}" policy 0x20000007 "$work/policy.xml"
cat "$work/policy.xml"

clients_cycle

echo
echo "== what the backend answered"
cat "$work/backend.requests"

echo
echo "== what arrived at the management routes: the backend's record (--record), one JSON line each"
cat "$work/management.jsonl"
