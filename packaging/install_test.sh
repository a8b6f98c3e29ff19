#!/usr/bin/env bash
# Installs the build into a temporary prefix and checks what a desktop sees:
# the tree, the desktop entry and metadata through their linters, and the
# installed program naming its data folder in the user's home.
set -euo pipefail
build=$1
tmp=$(mktemp -d)
trap 'chmod -R u+w "$tmp"; rm -rf "$tmp"' EXIT
fail() { echo "install_test: $*" >&2; exit 1; }

cmake --install "$build" --prefix "$tmp/usr" > /dev/null
id=jp.ovekwarden.Ovekwarden
for f in bin/ovekwarden bin/revovi share/applications/$id.desktop share/metainfo/$id.metainfo.xml \
  share/icons/hicolor/scalable/apps/$id.svg share/icons/hicolor/128x128/apps/$id.png; do
  [ -e "$tmp/usr/$f" ] || fail "missing $f"
done
for f in demosite roster_bench survey_bench; do
  [ ! -e "$tmp/usr/bin/$f" ] || fail "$f is installed without being asked for"
done
desktop-file-validate "$tmp/usr/share/applications/$id.desktop"
appstreamcli validate --no-net "$tmp/usr/share/metainfo/$id.metainfo.xml" > /dev/null

# Read-only, as under /usr for a user (and for an administrator too).
chmod -R a-w "$tmp/usr"
mkdir -p "$tmp/home"
for program in ovekwarden revovi; do
  out=$(env -u XDG_DATA_HOME HOME="$tmp/home" "$tmp/usr/bin/$program" --help)
  grep -q "データのフォルダ: $tmp/home/.local/share/ovekwarden/" <<< "$out" \
    || fail "$program --help names no data folder in the home: $out"
done
[ -d "$tmp/home/.local/share/ovekwarden" ] || fail "the data folder was not made"
echo "install_test: ok"
