#!/bin/sh
# Runs qilo-cli (under the emulator given, if any) and compares what it prints
# byte for byte with the expected file: the Linux and the Windows builds both
# answer to the same files.
# Usage: same_output_test.sh EXPECTED_FILE [EMULATOR] QILO_CLI ARGS...
set -eu
expected=$1
shift
actual=$(mktemp)
trap 'rm -f "$actual"' EXIT
"$@" > "$actual"
if cmp -s "$expected" "$actual"; then
  echo "same_output_test: $(basename "$expected") matches"
else
  echo "same_output_test: $(basename "$expected") differs:" >&2
  diff "$expected" "$actual" | od -c | head -20 >&2
  exit 1
fi
