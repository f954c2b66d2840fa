#!/usr/bin/env bash
# Checks the files that make the game a desktop citizen: the menu entry, the software-centre
# description (without a single note, pedantic), and the saved-game file type, installed into a
# private MIME database that must then know "*.twl" and the root element "TarnwellXML".
#   check-desktop-files.sh RESOURCES_FOLDER
set -euo pipefail
resources=$1
id=org.tarnwell.tarnwell

desktop-file-validate "$resources/$id.desktop"

report=$(appstreamcli validate --pedantic --no-net "$resources/$id.metainfo.xml" 2>&1) || {
  echo "$report"; exit 1; }
if grep -qE '^[EWIP]: ' <<<"$report"; then
  echo "appstreamcli has notes:"; echo "$report"; exit 1
fi

xmllint --noout "$resources/$id.mime.xml"
mime=$(mktemp -d)
trap 'rm -rf "$mime"' EXIT
mkdir -p "$mime/packages"
cp "$resources/$id.mime.xml" "$mime/packages/$id.xml"
update-mime-database "$mime" >/dev/null 2>&1
grep -q '^50:application/x-tarnwell-game:\*\.twl$' "$mime/globs2" || {
  echo "globs2 does not map *.twl:"; cat "$mime/globs2"; exit 1; }
grep -q '^ TarnwellXML application/x-tarnwell-game$' "$mime/XMLnamespaces" || {
  echo "XMLnamespaces does not know TarnwellXML:"; cat "$mime/XMLnamespaces"; exit 1; }
grep -q 'application/x-tarnwell-game application/xml' "$mime/subclasses"
grep -qx 'application/x-tarnwell-game:application-x-tarnwell-game' "$mime/icons"
echo "desktop files: all good"
