#!/usr/bin/env bash
# The test command: installs what is missing, builds, runs every test.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${OVEK_BUILD_DIR:-$root/build}
"$root/scripts/install-deps.sh"
"$root/scripts/build.sh"
# End-to-end tests start Chromium; under root it needs --no-sandbox, which
# the tests pass themselves. A display is only needed by the tests that run
# the programs as real windows; they start their own Xvfb.
cd "$build"
ctest --output-on-failure --timeout 600 -j 2
