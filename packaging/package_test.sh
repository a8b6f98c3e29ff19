#!/usr/bin/env bash
# Builds the Debian package from the build and checks its control data and
# files, then runs the program extracted from it (nothing is installed on
# the machine).
set -euo pipefail
build=$1
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
fail() { echo "package_test: $*" >&2; exit 1; }

(cd "$tmp" && cpack -G DEB --config "$build/CPackConfig.cmake" -B "$tmp/out" > /dev/null)
deb=$(ls "$tmp"/out/ovekwarden_*.deb)
info=$(dpkg-deb -I "$deb")
depends=$(grep '^ Depends:' <<< "$info")
for p in libqt6core6 libqt6widgets6 libqt6sql6-sqlite chromium chromium-driver fonts-ipafont-mincho fonts-noto-cjk \
  qt6-translations-l10n; do
  grep -qw -- "$p" <<< "$depends" || fail "Depends lacks $p: $depends"
done
files=$(dpkg-deb -c "$deb")
id=jp.ovekwarden.Ovekwarden
for f in usr/bin/ovekwarden usr/bin/revovi usr/share/applications/$id.desktop usr/share/metainfo/$id.metainfo.xml \
  usr/share/icons/hicolor/scalable/apps/$id.svg usr/share/icons/hicolor/128x128/apps/$id.png; do
  grep -q " \./$f\$" <<< "$files" || fail "the package lacks $f"
done
if grep -q 'demosite\|_bench\|_test' <<< "$files"; then fail "the package holds the demo site, a benchmark or a test"; fi
dpkg-deb -x "$deb" "$tmp/root"
version=$(HOME="$tmp/home" "$tmp/root/usr/bin/ovekwarden" --version)
[ "$version" = "ovekwarden 0.1" ] || fail "ovekwarden --version said: $version"
echo "package_test: ok ($(basename "$deb"))"
