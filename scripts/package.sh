#!/usr/bin/env bash
# Builds the Debian package of ovekwarden and revovi: installs what is
# missing, builds, and leaves build/ovekwarden_<version>_<arch>.deb.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${OVEK_BUILD_DIR:-$root/build}
"$root/scripts/install-deps.sh"
"$root/scripts/build.sh"
cd "$build"
cpack -G DEB
ls -1 "$build"/ovekwarden_*.deb
