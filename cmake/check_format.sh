#!/bin/sh
# Names every C++ file that clang-format (with the repository's .clang-format)
# would change, and fails then. The files: those given, else the tracked ones.
# Usage: check_format.sh CLANG_FORMAT [FILE ...]
set -u
clang_format=$1
shift
if [ $# -eq 0 ]; then
  files=$(git ls-files '*.cpp' '*.h' 2>/dev/null) || {
    echo "check_format: skipped: not a git checkout"
    exit 77
  }
  set -- $files
fi
bad=0
for f in "$@"; do
  if ! "$clang_format" --dry-run -Werror "$f" >/dev/null 2>&1; then
    echo "check_format: not clang-formatted: $f (make format)"
    bad=1
  fi
done
exit $bad
