#!/usr/bin/env bash
# with_http_server.sh ROOT COMMAND...: runs COMMAND while two test servers
# serve ROOT on 127.0.0.1: PLYVANE_HTTP_PORT (direct and proxy requests) and
# PLYVANE_HTTP_PROXY_AUTH_PORT (a proxy that wants "proxy:pr0xy" and refuses
# direct requests). Both stop when COMMAND ends; its exit code is returned.
set -euo pipefail
root=$1
shift
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
pids=()
cleanup() {
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
    rm -rf "$work"
}
trap cleanup EXIT

start() {  # start NAME ARGS...: a new server that writes its port into $work/NAME
    local name=$1
    shift
    python3 "$here/http_test_server.py" "$root" --port-file "$work/$name" "$@" >/dev/null &
    pids+=($!)
}
port() {  # port NAME: the port of a started server
    for _ in $(seq 400); do
        [[ -s $work/$1 ]] && break
        sleep 0.05
    done
    [[ -s $work/$1 ]] || { echo "with_http_server: the test server did not start" >&2; exit 1; }
    cat "$work/$1"
}

# Both start at once: Python takes its time to start on a busy machine.
start direct
start proxy --proxy-user proxy:pr0xy --proxy-only
direct_port=$(port direct)
proxy_port=$(port proxy)
export PLYVANE_HTTP_PORT=$direct_port
export PLYVANE_HTTP_PROXY_AUTH_PORT=$proxy_port
"$@"
