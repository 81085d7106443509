#!/usr/bin/env bash
# Runs a Qt test program under Wine: Qt Test on Windows writes its report to the debugger
# unless a console is attached, so the report goes to a file, printed afterwards.
# The offscreen platform finds no fonts of its own on Windows: it gets Debian's DejaVu (Wine
# hands a program no QT_ variable of Linux, so the variable goes as WINEQT_, which Wine
# renames).
# Usage: windows_qt_test.sh TEST.exe [ARGUMENTS...]
set -u
WINEQT_QPA_FONTDIR=$(winepath -w /usr/share/fonts/truetype/dejavu)
export WINEQT_QPA_FONTDIR
report=$(mktemp)
trap 'rm -f "$report"' EXIT
wine "$1" -o "$report,txt" "${@:2}"
status=$?
cat "$report"
exit "$status"
