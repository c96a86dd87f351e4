#!/usr/bin/env bash
# Brings translations/*.ts in step with the texts in the code: lupdate over every source of the
# window, the links, the protocol and qxctl (not tests, benchmarks, fuzzers or the simulator). New
# texts come in unfinished, texts gone from the code go; no line numbers, so moving code changes
# nothing. The English catalogue holds only plural forms: the code's texts are English already.
# With --check nothing changes: copies are updated, and it fails when they differ from the files
# here (texts added or removed without running this script) or a translation is unfinished.
# Usage: scripts/update-translations.sh [--check] [LUPDATE]
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
check=0
if [[ ${1:-} == --check ]]; then
    check=1
    shift
fi
lupdate="${1:-/usr/lib/qt6/bin/lupdate}"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

cd "$root"
find . \( -path './build*' -o -path ./tests -o -path ./bench -o -path ./fuzz -o -path ./tools/qxsim \
    -o -path ./.git \) -prune -o \( -name '*.cpp' -o -name '*.h' \) -print | sort >"$work/sources"

failed=0
for ts in translations/qxsetup_*.ts; do
    target=$ts
    if ((check)); then
        target="$work/$(basename "$ts")"
        cp "$ts" "$target"
    fi
    options=(-silent -locations none -no-obsolete -no-ui-lines -I . -tr-function-alias translate+=titleText,translate+=captionText)
    [[ $ts == *_en.ts ]] && options+=(-pluralonly)
    # lupdate's parser stumbles on nested classes defined out of line; that costs no text.
    "$lupdate" "${options[@]}" "@$work/sources" -ts "$target" 2> >(grep -v 'undeclared qualified class' >&2)
    ((check)) || continue
    if ! diff -u "$ts" "$target"; then
        echo "$ts is not in step with the code: run scripts/update-translations.sh" >&2
        failed=1
    fi
    if unfinished=$(grep -c 'type="unfinished"' "$target"); then
        echo "$ts: $unfinished texts without a translation" >&2
        failed=1
    fi
done
exit "$failed"
