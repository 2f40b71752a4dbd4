#!/usr/bin/env bash
# The scripts' own logic: which Debian mirror install-deps takes from apt
# sources written in either format, with options and in folders whose path
# holds spaces.
# usage: tst_scripts.sh SCRIPTS_DIR
set -euo pipefail
scripts=$1
work=$(mktemp -d "${TMPDIR:-/tmp}/apt sources.XXXXXX")
trap 'rm -rf "$work"' EXIT
failed=0

# expect NAME MIRROR: the mirror found in "$work/NAME", whose files are made first.
expect() {
    local found
    found=$("$scripts/debian-mirror" "$work/$1")
    if [ "$found" != "$2" ]; then
        echo "FAIL: $1: found '$found', expected '$2'"
        failed=1
    fi
}
source_file() { mkdir -p "$(dirname "$work/$1")"; printf '%b' "$2" > "$work/$1"; }

source_file "one-line/sources.list" "# deb http://old.example/debian bookworm main\ndeb [arch=amd64 signed-by=/usr/share/keyrings/debian-archive-keyring.gpg] http://deb.example/debian bookworm main\n"
expect one-line http://deb.example/debian
source_file "deb822/sources.list.d/debian.sources" "Types: deb\nURIs: http://sec.example/debian-security\nSuites: bookworm-security\n\nTypes: deb\nURIs: http://a.example/debian/ http://b.example/debian\nSuites: bookworm\nSigned-By: /usr/share/keyrings/debian-archive-keyring.gpg\n"
expect deb822 http://a.example/debian/
source_file "mixed/sources.list.d/nodesource.list" "deb [signed-by=/k.gpg] https://deb.nodesource.example/node_20.x nodistro main\n"
source_file "mixed/sources.list.d/debian.sources" "Types: deb\n URIs: https://mirror.example/debian\n"
expect mixed https://mirror.example/debian
mkdir -p "$work/none"
expect none ""

[ "$failed" -eq 0 ] && echo "PASS: the Debian mirror is found in every form of apt source"
exit "$failed"
