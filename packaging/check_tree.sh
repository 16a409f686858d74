#!/bin/sh
# Checks an installed Qilo under PREFIX as a desktop sees it: exactly the
# expected files, a valid menu entry and AppStream file, icons of the sizes
# their folders name, a qilo-cli that runs and whose release, commands and
# manual agree, and a window whose WM_CLASS is the one the menu entry names.
# Usage: check_tree.sh PREFIX APP_ID
set -eu
here=$(cd "$(dirname "$0")" && pwd)
prefix=$1
id=$2
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
fail() {
  echo "check_tree: $*" >&2
  exit 1
}

sizes="16 32 48 64 128 256"
expected=$(
  {
    echo bin/qilo
    echo bin/qilo-cli
    echo "share/applications/$id.desktop"
    echo "share/metainfo/$id.metainfo.xml"
    for s in $sizes; do echo "share/icons/hicolor/${s}x$s/apps/$id.png"; done
    echo share/man/man1/qilo.1.gz
    echo share/man/man1/qilo-cli.1.gz
    echo share/doc/qilo/copyright
    echo share/doc/qilo/changelog.gz
  } | LC_ALL=C sort
)
actual=$(cd "$prefix" && find . -type f | sed 's|^\./||' | LC_ALL=C sort)
printf '%s\n' "$expected" > "$scratch/expected"
[ "$actual" = "$expected" ] ||
  fail "installed files differ from the list:
$(printf '%s\n' "$actual" | diff "$scratch/expected" - || true)"
echo "check_tree: $(echo "$actual" | wc -l) files as expected"
for program in qilo qilo-cli; do
  [ -x "$prefix/bin/$program" ] || fail "bin/$program is not executable"
done

desktop=$prefix/share/applications/$id.desktop
metainfo=$prefix/share/metainfo/$id.metainfo.xml
desktop-file-validate "$desktop" || fail "desktop-file-validate: $desktop"
appstreamcli validate --no-net --pedantic "$metainfo" >&2 || fail "appstreamcli validate: $metainfo"
entry() { sed -n "s/^$1=//p" "$desktop"; }
[ "$(entry Exec)" = qilo ] || fail "Exec is '$(entry Exec)', not qilo"
[ "$(entry Icon)" = "$id" ] || fail "Icon is '$(entry Icon)', not $id"
grep -q "<launchable type=\"desktop-id\">$id.desktop</launchable>" "$metainfo" ||
  fail "the AppStream file does not launch $id.desktop"

for s in $sizes; do
  icon=$prefix/share/icons/hicolor/${s}x$s/apps/$id.png
  file -b "$icon" | grep -q "^PNG image data, $s x $s," ||
    fail "$icon: $(file -b "$icon")"
done

cli=$prefix/bin/qilo-cli
release=$(sed -n 's/.*<release version="\([^"]*\)".*/\1/p' "$metainfo")
[ "$("$cli" --version)" = "$release" ] ||
  fail "qilo-cli --version says '$("$cli" --version)', the AppStream release '$release'"
"$cli" calc --fields 10 11 1000 | grep -qx 'EdProfit=943.30' ||
  fail "qilo-cli calc does not work from $prefix"
commands=$("$cli" --help | sed -n 's/^  qilo-cli \([a-z][a-z]*\).*/\1/p')
[ -n "$commands" ] || fail "qilo-cli --help lists no command"
for command in $commands; do
  "$cli" "$command" --help | grep -q "^usage: qilo-cli $command" ||
    fail "qilo-cli $command --help prints no usage"
  gzip -dc "$prefix/share/man/man1/qilo-cli.1.gz" | grep -q "^\.B qilo-cli $command" ||
    fail "the manual page has no synopsis of qilo-cli $command"
done
for page in qilo qilo-cli; do
  gzip -dc "$prefix/share/man/man1/$page.1.gz" | grep -q "^\.TH .* \"Qilo $release\"" ||
    fail "$page.1 is not the manual of release $release"
done

# The window, started under another name, must still carry the class the
# menu entry names: that is how a launcher finds it.
wm_class=$(entry StartupWMClass)
[ -n "$wm_class" ] || fail "the menu entry has no StartupWMClass"
ln -s "$prefix/bin/qilo" "$scratch/qilo-renamed"
got=$(HOME=$scratch timeout 60 \
  sh "$here/../app/qt/with_window.sh" "$scratch/qilo-renamed" \
  'xprop -id "$window" WM_CLASS' 2>/dev/null) || true
echo "check_tree: the window came up with $got"
case $got in
  *", \"$wm_class\"") ;;
  *) fail "the window's WM_CLASS is '$got', the menu entry's StartupWMClass '$wm_class'" ;;
esac
echo "check_tree: $prefix holds a working Qilo $release"
