#!/usr/bin/env bash
# Installs the build into a scratch prefix and checks what a desktop needs to list Speomark in its
# menus and open *.sprj files with it. Usage: check_install.sh BUILD_DIR
set -euo pipefail
build=$1
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
cmake --install "$build" --prefix "$prefix" >/dev/null

for f in bin/speomark bin/speomark-export share/applications/speomark.desktop \
         share/mime/packages/speomark.xml share/icons/hicolor/32x32/apps/speomark.png; do
  [ -e "$prefix/$f" ] || { echo "not installed: $f"; exit 1; }
done
[ -x "$prefix/bin/speomark" ] || { echo "speomark is not executable"; exit 1; }
# PDF pages are drawn by a helper the program finds at ../libexec/speomark from its own folder; it
# runs there (asked nothing, it ends with status 1).
helper="$prefix/libexec/speomark/speomark-pdf-render"
[ -x "$helper" ] || { echo "not installed: libexec/speomark/speomark-pdf-render"; exit 1; }
status=0; "$helper" 2>/dev/null || status=$?
[ "$status" -eq 1 ] || { echo "the installed PDF helper does not run (status $status)"; exit 1; }
desktop-file-validate "$prefix/share/applications/speomark.desktop"
grep -q '^MimeType=application/x-speomark-project;$' "$prefix/share/applications/speomark.desktop"

# The MIME database built from our package must map a .sprj name to our type.
update-mime-database "$prefix/share/mime" >/dev/null 2>&1
grep -q '^application/x-speomark-project:\*\.sprj$' "$prefix/share/mime/globs" \
  || { echo "*.sprj is not mapped to application/x-speomark-project"; cat "$prefix/share/mime/globs"; exit 1; }
file --brief --mime-type "$prefix/share/icons/hicolor/32x32/apps/speomark.png" | grep -q '^image/png$'
echo "install layout ok"
