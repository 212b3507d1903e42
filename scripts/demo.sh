#!/usr/bin/env bash
# The main job: builds caspo, starts the reference backend over HTTPS with a fresh CA, sets up an
# agent's configuration store that trusts it with verification on, and runs a short real session
# with the caspo command line: a GET answered with a JSON error, a POST of a form, and a download
# with its progress. Leaves nothing running and nothing behind.
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

echo "== caspo-backend over HTTPS with a fresh CA"
mkdir -p "$work/files"
build/bin/caspo-backend --verbose --tls-dir "$work/tls" --files "$work/files" \
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
echo "== what the backend answered"
cat "$work/backend.requests"
