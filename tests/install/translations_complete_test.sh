#!/usr/bin/env bash
# Runs the translation update over the sources into a copy of the .ts file and fails when a
# text is left without its translation: a text added to the program and forgotten in the .ts
# file, or one whose English was never written.
# Usage: translations_complete_test.sh LUPDATE SOURCE_DIR TS_FILE [LUPDATE_OPTION...]
set -euo pipefail
lupdate=$1
sources=$2
ts=$3
shift 3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp "$ts" "$work/check.ts"
"$lupdate" "$@" "$sources" -ts "$work/check.ts" >/dev/null
# The source line before each unfinished translation names the text.
missing=$(awk '/<source>/ { source = $0 } /type="unfinished"/ { print source }' "$work/check.ts")
if [ -n "$missing" ]; then
    echo "Texts without an English translation in $ts"
    echo "(run: cmake --build build --target update_translations, then translate them):"
    echo "$missing"
    exit 1
fi
echo "every text has its translation"
