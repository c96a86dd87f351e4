#!/usr/bin/env bash
# Checks, on a finished build, that the module core and its tests load no GUI library, and in the
# sources that protocol/, links/ and translations/ include nothing from the window: they must serve
# tools that have no window. Usage: scripts/check-layers.sh BUILD_DIR
set -euo pipefail
build=${1:?usage: $0 BUILD_DIR}
shopt -s nullglob
binaries=("$build"/tests/core/test_*)
((${#binaries[@]})) || { echo "no core test binaries under $build/tests/core" >&2; exit 1; }
failed=0
checked=0
for binary in "${binaries[@]}"; do
    [[ -x $binary && -f $binary ]] || continue
    checked=$((checked + 1))
    if ldd "$binary" | grep -E 'libQt6(Widgets|Gui)\.so' >/dev/null; then
        echo "$binary loads a GUI library:" >&2
        ldd "$binary" | grep -E 'libQt6(Widgets|Gui)\.so' >&2
        failed=1
    fi
done
root="$(dirname "$0")"/..
window_headers='Q(Widget|Application|MainWindow|Dialog|LineEdit|ComboBox|PushButton|Label|MessageBox|PlainTextEdit|GuiApplication)|window/'
if grep -lE "#include *[<\"]($window_headers|links/)" "$root"/protocol/*; then
    echo "the files above under protocol/ include a window or link header" >&2
    failed=1
fi
if grep -rlE "#include *[<\"]($window_headers)" "$root"/links "$root"/translations; then
    echo "the files above under links/ or translations/ include a window header" >&2
    failed=1
fi
((checked > 0)) || { echo "no core test binaries under $build/tests/core" >&2; exit 1; }
((failed == 0)) && echo "Layers: $checked core test binaries load no Qt GUI library; protocol/, links/ and translations/ include no window header."
exit "$failed"
