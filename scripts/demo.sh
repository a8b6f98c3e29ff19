#!/usr/bin/env bash
# The demo command: installs what is missing, builds, starts the demo game
# site on loopback and ovekwarden against it.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${OVEK_BUILD_DIR:-$root/build}
# The demo's own test runs it on a build that is already there.
if [ -z "${OVEK_DEMO_NO_BUILD:-}" ]; then
  "$root/scripts/install-deps.sh"
  "$root/scripts/build.sh"
fi
bin="$build/bin"

# Everything started here ends with the script, at once on Ctrl+C or a
# kill: the programs run in the background and the script waits for them,
# since bash runs a trap only after a foreground child has ended. They are
# ended newest first, so ovekwarden takes its browser down while the demo
# site and the screen are still there.
pids=()
cleanup() {
  local i
  for ((i = ${#pids[@]} - 1; i >= 0; i--)); do kill "${pids[i]}" 2>/dev/null || true; done
  for ((i = ${#pids[@]} - 1; i >= 0; i--)); do wait "${pids[i]}" 2>/dev/null || true; done
  pids=()
}
trap cleanup EXIT
trap 'cleanup; exit 130' INT
trap 'cleanup; exit 143' TERM

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
"$bin/ovekwarden" &
ovekwarden=$!
pids+=("$ovekwarden")
status=0
wait "$ovekwarden" || status=$?
exit "$status"
