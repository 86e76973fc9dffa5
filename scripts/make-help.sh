#!/usr/bin/env bash
# Compiles the help files from their pages and projects:
#   help/korvex/KVAIS6.hhp    -> help/korvex/KVAIS6.chm    (korvex)
#   help/gridmerk/Gmkhelp.hhp -> help/gridmerk/Gmkhelp.chm (gridmerk)
# and puts a copy of each into demo/. Needs chmcmd (Debian fp-utils-3.2.2).
#
# chmcmd writes the context map with the absolute path of the project
# folder, so the projects are compiled in one fixed staging folder: the
# files then come out the same from every checkout. The help window finds
# a page by the trailing part of such a name.
set -euo pipefail
cd "$(dirname "$0")/.."
command -v chmcmd >/dev/null || { echo "chmcmd not found (Debian package fp-utils-3.2.2)" >&2; exit 1; }
stage=/tmp/korvex-help
compile() { # folder project chm
  rm -rf "$stage"
  mkdir -p "$stage"
  cp "help/$1"/*.htm "help/$1/$2" "$stage/"
  (cd "$stage" && chmcmd --no-html-scan "$2" >/dev/null 2>&1) || { echo "chmcmd failed on help/$1/$2" >&2; exit 1; }
  cp "$stage/$3" "help/$1/$3"
  cp "$stage/$3" "demo/$3"
  echo "help/$1/$3"
}
compile korvex KVAIS6.hhp KVAIS6.chm
compile gridmerk Gmkhelp.hhp Gmkhelp.chm
rm -rf "$stage"
