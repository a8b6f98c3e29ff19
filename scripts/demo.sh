#!/usr/bin/env bash
# The demo command: installs what is missing, builds, starts the demo game
# site on loopback and ovekwarden against it.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${OVEK_BUILD_DIR:-$root/build}
"$root/scripts/install-deps.sh"
"$root/scripts/build.sh"
bin="$build/bin"

pids=()
cleanup() { for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done; }
trap cleanup EXIT INT TERM

if [ -z "${DISPLAY:-}" ]; then
  # No desktop (a server or CI machine): give the windows a virtual screen.
  export DISPLAY=:${OVEK_DEMO_DISPLAY:-77}
  Xvfb "$DISPLAY" -screen 0 1920x1080x24 -nolisten tcp >/dev/null 2>&1 &
  pids+=($!)
  sleep 1
  echo "demo: no DISPLAY; windows are on the virtual screen $DISPLAY (screenshot: import -display $DISPLAY -window root shot.png)"
fi

if [ ! -x "$bin/demosite" ]; then
  echo "demo: demosite is not built yet; nothing to run." >&2
  exit 1
fi
"$bin/demosite" "$@" &
pids+=($!)
sleep 1

if [ ! -x "$bin/ovekwarden" ]; then
  echo "demo: ovekwarden is not there yet. demosite runs at http://127.0.0.1:18080/ (Ctrl+C ends it)."
  wait
  exit 0
fi

echo "demo: starting ovekwarden. Log in in the browser window that opens (any name), then work in the tool window."
"$bin/ovekwarden"
