#!/usr/bin/env bash
# The demo command ends everything it started, at once, when it is stopped
# with TERM or INT: the virtual screen, the demo site, ovekwarden and its
# browser. Runs the demo on the build that is there (no install, no build).
# Usage: demo_signal_test.sh BUILD_DIR
set -uo pipefail
# Job control: the demo runs in a process group of its own and, unlike a
# plain background command, does not start with INT ignored.
set -m
root=$(cd "$(dirname "$0")/.." && pwd)
# The programs keep their data beside them: the demo runs on copies in a
# folder of the test's own, so no browser profile is left in the build.
build=$(mktemp -d)
trap 'rm -rf "$build"' EXIT
mkdir "$build/bin"
cp "$1/bin/demosite" "$1/bin/ovekwarden" "$build/bin/"

descendants() {
  local children
  children=$(ps -o pid= --ppid "$1" 2>/dev/null)
  for c in $children; do
    echo "$c"
    descendants "$c"
  done
}

alive() { # a pid that runs and is no zombie
  local state
  state=$(ps -o stat= -p "$1" 2>/dev/null) || return 1
  [[ -n "$state" && "$state" != Z* ]]
}

failed=0
for signal in TERM INT; do
  env -u DISPLAY OVEK_DEMO_NO_BUILD=1 OVEK_BUILD_DIR="$build" OVEK_DEMO_DISPLAY=$((90 + RANDOM % 9)) \
    bash "$root/scripts/demo.sh" --auto-login >/dev/null 2>&1 &
  demo=$!
  # Until the browser is up: everything the demo starts is running then.
  started=0
  for _ in $(seq 1 120); do
    if descendants "$demo" | xargs -r ps -o comm= -p 2>/dev/null | grep -qx chromium; then
      started=1
      break
    fi
    sleep 0.5
  done
  family=$(descendants "$demo")
  if [ "$started" -ne 1 ]; then
    echo "FAIL $signal: the demo did not start its browser within 60 s"
    failed=$((failed + 1))
  fi
  kill -s "$signal" "$demo"
  gone=0
  for _ in $(seq 1 50); do
    left=""
    for p in $demo $family; do alive "$p" && left="$left $p"; done
    if [ -z "$left" ]; then
      gone=1
      break
    fi
    sleep 0.1
  done
  if [ "$gone" -ne 1 ]; then
    echo "FAIL $signal: still running 5 s after the signal:$(for p in $left; do ps -o comm= -p "$p"; done | tr '\n' ' ')"
    for p in $demo $family; do kill -9 "$p" 2>/dev/null; done
    failed=$((failed + 1))
  else
    echo "ok $signal: the demo and its $(echo "$family" | wc -w) processes ended"
  fi
done
passed=$((2 - failed))
echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
