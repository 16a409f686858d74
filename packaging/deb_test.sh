#!/bin/sh
# Checks the Debian package that `make package` left in BUILD_DIR as a
# user's machine would get it: its control fields, owners and modes,
# stripped programs, lintian's verdict; then it is installed with dpkg into
# an empty root, its files are checked with check_tree.sh (which also starts
# the window and qilo-cli from there), and it is removed again.
# Usage: deb_test.sh BUILD_DIR
set -eu
here=$(cd "$(dirname "$0")" && pwd)
fail() {
  echo "deb_test: $*" >&2
  exit 1
}
set -- "$1"/qilo_*.deb
[ $# -eq 1 ] && [ -f "$1" ] || fail "want one qilo_*.deb, found: $*"
deb=$1
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

field() { dpkg-deb -f "$deb" "$1"; }
echo "deb_test: $deb, $(stat -c %s "$deb") bytes"
echo "deb_test: Depends: $(field Depends)"
echo "deb_test: Recommends: $(field Recommends)"
[ "$(field Package)" = qilo ] || fail "Package is '$(field Package)'"
for f in Version Architecture Maintainer Section Priority Description Homepage; do
  [ -n "$(field "$f")" ] || fail "the $f field is empty"
done
# dpkg-shlibdeps finds the libraries; the fonts and the Wayland plugin are ours
# to name.
for dep in libc6 libstdc++6 libqt6widgets6 libqt6gui6 libqt6core6 \
           fonts-wqy-microhei fonts-dejavu-core fonts-dejavu-extra qt6-wayland; do
  field Depends | tr ',' '\n' | grep -q "^ *$dep\( \|$\)" ||
    fail "Depends lacks $dep: $(field Depends)"
done
for rec in fonts-lato xdg-utils; do
  field Recommends | tr ',' '\n' | grep -q "^ *$rec\( \|$\)" ||
    fail "Recommends lacks $rec: $(field Recommends)"
done

# Every entry is root's; programs and folders 0755, the rest 0644.
dpkg-deb -c "$deb" | awk '
  $2 != "root/root" { print "owner " $2 ": " $NF; bad = 1 }
  /^d/ && $1 != "drwxr-xr-x" { print "mode " $1 ": " $NF; bad = 1 }
  /^-/ && $NF ~ /\/bin\// && $1 != "-rwxr-xr-x" { print "mode " $1 ": " $NF; bad = 1 }
  /^-/ && $NF !~ /\/bin\// && $1 != "-rw-r--r--" { print "mode " $1 ": " $NF; bad = 1 }
  END { exit bad }' >&2 || fail "wrong owners or modes"

# Installed with dpkg into an empty root, as on a user's machine: the
# libraries and fonts it depends on are the build machine's, so they are
# forced; everything else dpkg does for real.
root=$scratch/root
mkdir -p "$root/var/lib/dpkg/info" "$root/var/lib/dpkg/updates"
: > "$root/var/lib/dpkg/status"
dpkg --root="$root" --force-depends -i "$deb" > "$scratch/dpkg.log" 2>&1 ||
  { cat "$scratch/dpkg.log" >&2; fail "dpkg -i failed"; }
[ "$(dpkg-query --root="$root" -W -f='${Status}' qilo)" = \
  "install ok installed" ] || fail "dpkg does not list qilo as installed"
outside=$(cd "$root" && find . -type f ! -path './usr/*' ! -path './var/lib/dpkg/*')
[ -z "$outside" ] || fail "files outside /usr: $outside"
for program in qilo qilo-cli; do
  file -b "$root/usr/bin/$program" | grep -q ', stripped' ||
    fail "$program is not stripped"
done
version=$("$root/usr/bin/qilo-cli" --version)
[ "$(field Version)" = "$version" ] ||
  fail "the package is version $(field Version), qilo-cli says $version"

if command -v lintian > /dev/null; then
  lintian --allow-root "$deb" > "$scratch/lintian" 2>&1 || true
  cat "$scratch/lintian"
  ! grep -q '^E: ' "$scratch/lintian" || fail "lintian reports errors"
fi

desktop=$(ls "$root/usr/share/applications/")
sh "$here/check_tree.sh" "$root/usr" "${desktop%.desktop}"

# Removed again, it takes every file it brought.
dpkg --root="$root" -r qilo > "$scratch/dpkg.log" 2>&1 ||
  { cat "$scratch/dpkg.log" >&2; fail "dpkg -r failed"; }
left=$(cd "$root" && find . -type f ! -path './var/lib/dpkg/*')
[ -z "$left" ] || fail "left after dpkg -r: $left"
