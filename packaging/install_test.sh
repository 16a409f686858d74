#!/bin/sh
# Installs the build into a scratch DESTDIR, as a packager would, and checks
# what landed there. Usage: install_test.sh BUILD_DIR APP_ID PREFIX
set -eu
here=$(cd "$(dirname "$0")" && pwd)
build=$1
id=$2
prefix=$3
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
DESTDIR=$root cmake --install "$build" > "$root.log" || {
  cat "$root.log" >&2
  exit 1
}
rm -f "$root.log"
sh "$here/check_tree.sh" "$root$prefix" "$id"
