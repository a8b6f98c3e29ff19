#!/usr/bin/env bash
# Builds and runs the benchmarks (programs that print figures, not tests).
# roster_bench compares the tool's walk with a short Selenium script, which
# needs Debian's python3-selenium: installed here when missing.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${OVEK_BUILD_DIR:-$root/build}
"$root/scripts/install-deps.sh"
if ! dpkg-query -W -f='${Status}' python3-selenium 2>/dev/null | grep -q 'install ok installed'; then
  sudo_cmd=()
  if [ "$(id -u)" -ne 0 ]; then sudo_cmd=(sudo); fi
  "${sudo_cmd[@]}" apt-get install -y -q --no-install-recommends python3-selenium
fi
"$root/scripts/build.sh"
"$build/bin/snapshot_bench"
"$build/bin/roster_bench"
QT_QPA_PLATFORM=offscreen "$build/bin/revovi_bench"
QT_QPA_PLATFORM=offscreen "$build/bin/briefing_bench"
