#!/usr/bin/env bash
# Installs the build into a scratch prefix, as a package would, and checks
# what desktops read from there: the menu entry and the software catalogues'
# metadata pass their validators and name a program and an icon that exist.
# usage: tst_install.sh BUILD_DIR
set -euo pipefail

build=$1
for tool in desktop-file-validate appstreamcli; do
    command -v "$tool" > /dev/null || { echo "FAIL: $tool is missing (scripts/install-deps)"; exit 1; }
done
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT

cmake --install "$build" --prefix "$prefix" > /dev/null
desktop-file-validate "$prefix/share/applications/marbletrellis.desktop"
appstreamcli validate --no-net "$prefix/share/metainfo/org.marbletrellis.marbletrellis.metainfo.xml"
appstreamcli validate-tree --no-net "$prefix"
[ -x "$prefix/bin/marbletrellis" ] || { echo "FAIL: no program in bin/"; exit 1; }
[ -f "$prefix/share/icons/hicolor/512x512/apps/marbletrellis.png" ] || { echo "FAIL: no icon"; exit 1; }
echo "PASS: installed, and the desktop entry and metadata are valid"
