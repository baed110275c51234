#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Checks a built Debian package the way the distribution and the desktop do: lintian on the .deb,
# then desktop-file-validate and appstreamcli on the menu entry and the metainfo it installs.
# Any error or warning fails the check; lintian's informational tags are shown as well.
#   desktop/CheckPackage.sh build/zorkventa_<version>_<arch>.deb
set -eu

if [ $# -ne 1 ] || [ ! -f "$1" ]; then
  echo "usage: $0 PACKAGE.deb" >&2
  exit 2
fi
deb=$1
for tool in lintian dpkg-deb desktop-file-validate appstreamcli; do
  if ! command -v "$tool" >/dev/null 2>&1; then
    echo "$tool is not installed: \`make package-deps\` installs it" >&2
    exit 1
  fi
done

status=0
echo "lintian $deb"
# As root lintian asks to be told that is intended; the tags are the same.
root=
[ "$(id -u)" = 0 ] && root=--allow-root
lintian $root --fail-on error,warning --display-info --tag-display-limit 0 "$deb" || status=1

tree=$(mktemp -d)
trap 'rm -rf "$tree"' EXIT
dpkg-deb -x "$deb" "$tree"

found=0
for entry in "$tree"/usr/share/applications/*.desktop; do
  [ -e "$entry" ] || continue
  found=1
  echo "desktop-file-validate ${entry#"$tree"}"
  # It reports hints and warnings with exit status 0: anything it prints is a fault.
  report=$(desktop-file-validate "$entry" 2>&1) || status=1
  if [ -n "$report" ]; then
    printf '%s\n' "$report"
    status=1
  fi
done
[ "$found" = 1 ] || { echo "the package installs no desktop entry" >&2; status=1; }

found=0
for metainfo in "$tree"/usr/share/metainfo/*.metainfo.xml; do
  [ -e "$metainfo" ] || continue
  found=1
  echo "appstreamcli validate --no-net ${metainfo#"$tree"}"
  # Exits non-zero on errors and on warnings.
  appstreamcli validate --no-net --no-color "$metainfo" || status=1
done
[ "$found" = 1 ] || { echo "the package installs no AppStream metainfo" >&2; status=1; }

if [ "$status" = 0 ]; then
  echo "The package passes lintian, desktop-file-validate and appstreamcli."
else
  echo "The package check failed." >&2
fi
exit "$status"
