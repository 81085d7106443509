#!/usr/bin/env bash
# tessaro-cli.exe under Wine writes what the Linux tessaro-cli writes: over copies of the
# demo workspace, translate and scan --once leave the same program files, byte for byte,
# with the same hidden and read-only flags, and exit alike; with "/" and "\" in the
# Windows paths, in a folder with a non-ASCII name, over hidden and read-only programs;
# a source folder that is missing or not a folder deletes nothing.
# Usage: windows_output_test.sh TESSARO_CLI_EXE LINUX_TESSARO_CLI EXAMPLES_DIR
# Exit 77 (skipped) without the Linux tessaro-cli. Wine's settings come from the
# environment (scripts/windows sets WINEPREFIX).
set -euo pipefail
windows_cli=$1
linux_cli=$2
examples=$3
if [[ ! -x $linux_cli ]]; then
  echo "skipped: no Linux tessaro-cli at '$linux_cli' to compare with"
  exit 77
fi

work=$(mktemp -d)
trap 'chmod -R u+w "$work"; rm -rf "$work"' EXIT
failures=0

# The Windows form of a Linux path: on Wine's drive Z:, with "/" or "\" between the parts.
windows_path() {
  if [[ $2 == / ]]; then printf 'Z:%s' "$1"; else printf 'Z:%s' "$1" | tr / '\\'; fi
}

# $1 with every @W@ replaced by $2.
fill_in() {
  local text=$1 filled=""
  while [[ $text == *@W@* ]]; do
    filled+="${text%%@W@*}$2"
    text=${text#*@W@}
  done
  printf '%s' "$filled$text"
}

# Every file below $1: name, checksum, hidden and read-only flags.
snapshot() {
  (cd "$1" && find . -type f | LC_ALL=C sort | while read -r file; do
    local bits flags=""
    bits=$(getfattr --only-values -n user.DOSATTRIB "$file" 2>/dev/null | tr -d '\0' || true)
    ((${bits:-0} & 2)) && flags+=" hidden"
    (($(stat -c %a "$file") & 0200)) || flags+=" read-only"
    echo "$file $(sha256sum <"$file" | cut -c1-16)$flags"
  done)
}

# A copy of the demo workspace in $1, its settings' folders made $2 and $3, programs
# whose G-code is gone deleted by scans.
workspace() {
  mkdir -p "$1"
  cp -r "$examples"/. "$1"
  local settings
  settings=$(sed -e '/^SourcePath=/d; /^DestinationPath=/d; /^AutoDelete=/d' "$1/Tessaro.INI")
  printf '%s\n' "${settings/\[Settings\]/[Settings]
SourcePath=$2
DestinationPath=$3
AutoDelete=1}" >"$1/Tessaro.INI"
}

# Programs already there: one read-only, one hidden, one both, one whose G-code is gone.
old_programs() {
  local file
  for file in DOOR_011.RCM SHELF_A1.RCM SIDE_LT2.RCM GONE1.RCM; do
    printf 'old\r\n' >"$1/programs/$file"
  done
  chmod a-w "$1/programs/DOOR_011.RCM" "$1/programs/SIDE_LT2.RCM"
  setfattr -n user.DOSATTRIB -v 0x2 "$1/programs/SHELF_A1.RCM" "$1/programs/SIDE_LT2.RCM"
}

# compare NAME SEPARATOR SOURCE PREPARE COMMAND...: COMMAND run by both tessaro-clis in
# copies of the workspace named NAME, whose settings name SOURCE (a folder below it) as
# the source folder; PREPARE then readies each copy. In COMMAND, @W@ stands for the
# workspace's path (the Windows one written with SEPARATOR).
compare() {
  local name=$1 separator=$2 source=$3 prepare=$4
  shift 4
  local side codes=()
  for side in linux windows; do
    local root="$work/$side/$name" path sep=/ cli=("$linux_cli") arguments=() argument status=0
    path=$root
    if [[ $side == windows ]]; then
      path=$(windows_path "$root" "$separator")
      sep=$separator
      cli=(wine "$windows_cli")
    fi
    workspace "$root" "$path$sep$source" "$path${sep}programs"
    $prepare "$root"
    for argument in "$@"; do arguments+=("$(fill_in "$argument" "$path")"); done
    "${cli[@]}" "${arguments[@]}" >"$work/$side-$name.out" 2>&1 || status=$?
    codes+=("$status")
  done
  local result=ok
  if [[ ${codes[0]} != "${codes[1]}" ]]; then
    echo "$name: exit ${codes[0]} on Linux, ${codes[1]} on Windows"
    result=FAILED
  fi
  if ! diff <(snapshot "$work/linux/$name") <(snapshot "$work/windows/$name"); then
    echo "$name: the workspaces differ (< Linux, > Windows)"
    result=FAILED
  fi
  if [[ $result != ok ]]; then
    failures=$((failures + 1))
    cat "$work/linux-$name.out" "$work/windows-$name.out"
  fi
  echo "$result $name (exit ${codes[0]})"
}

none() { :; }
# A source "folder" that is a file.
source_is_a_file() {
  old_programs "$1"
  printf 'x' >"$1/gcode-file"
}

# The programs of an unlistable source folder are all still there.
kept_all() {
  local name
  for name in "$@"; do
    if [[ $(find "$work/windows/$name/programs" -type f | wc -l) != 4 ]]; then
      echo "$name: a program was deleted"
      failures=$((failures + 1))
    fi
  done
}

translate_slash=(translate --home @W@ --dest @W@/programs)
translate_backslash=(translate --home @W@ --dest '@W@\programs')
for file in DOOR_01 NOTES01 SHELF_A SIDE_LT TOPRAIL; do
  translate_slash+=("@W@/gcode/$file")
  translate_backslash+=("@W@\gcode\$file")
done

compare translate-slash / gcode none "${translate_slash[@]}"
compare "translate-backslash-Fräsprogramme ü" '\' gcode none "${translate_backslash[@]}"
compare translate-over-old-programs '\' gcode old_programs "${translate_backslash[@]}"
compare "scan-once-Fräsprogramme ü" '\' gcode old_programs scan --home @W@ --once
compare scan-once-slash / gcode/ old_programs scan --home @W@ --once
compare scan-once-missing-source '\' gone old_programs scan --home @W@ --once
compare scan-once-source-is-a-file / gcode-file source_is_a_file scan --home @W@ --once
kept_all scan-once-missing-source scan-once-source-is-a-file

echo "$((7 - failures)) passed, $failures failed"
((failures == 0))
