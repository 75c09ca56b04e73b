#!/usr/bin/env bash
# Builds the package, installs it, checks its desktop entry and file types,
# starts the installed program offscreen on an installed sample, imports the
# Python module, and removes the package again.
set -euo pipefail
cd "$(dirname "$0")/.."
deb=$(./scripts/package.sh | tail -1)
as_root() { if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi; }
export DEBIAN_FRONTEND=noninteractive
as_root apt-get install -y -qq "./$deb" >/dev/null
trap 'as_root apt-get purge -y -qq lobeview >/dev/null || true' EXIT

desktop-file-validate /usr/share/applications/lobeview.desktop
test -f /usr/share/mime/application/x-lobeview-nsma.xml
test -f /usr/share/lobeview/kwr_envelopes.csv

home=$(mktemp -d)
status=0
(cd "$home" && HOME="$home" QT_QPA_PLATFORM=offscreen timeout 4 lobeview /usr/share/lobeview/samples/panel.nsma) || status=$?
log="$home/Documents/lobeview_log.txt"
[ "$status" -eq 124 ] || { echo "lobeview ended with status $status instead of running"; exit 1; }
grep -q "open_file_on_startup file_type 2" "$log"
if grep -q "No help file to open" "$log"; then echo "the installed help text was not found"; exit 1; fi
lobeconv dump /usr/share/lobeview/samples/panel.pla >/dev/null
if ldd "$(command -v lobeconv)" | grep -q libQt; then echo "the installed lobeconv links Qt"; exit 1; fi
QT_QPA_PLATFORM=offscreen lobeconv render /usr/share/lobeview/samples/panel.pla "$home/panel.png"
test -s "$home/panel.png"
# Debian's python3 imports the installed module and reads an installed sample.
(cd "$home" && /usr/bin/python3 -c "
import lobeview
p = lobeview.read('/usr/share/lobeview/samples/panel.pla')
assert p.frequencies and len(p.frequencies[0].cuts[0].levels) > 0, p
")
rm -rf "$home"
echo "package test passed: $deb"
