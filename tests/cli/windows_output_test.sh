#!/usr/bin/env bash
# tessaro-cli.exe under Wine writes what the Linux tessaro-cli writes: over copies of the
# demo workspace, translate and scan --once leave the same program files, byte for byte,
# with the same hidden and read-only flags, and exit alike; with "/" and "\" in the
# Windows paths, in a folder with a non-ASCII name, over hidden and read-only programs;
# a source folder that is missing or not a folder deletes nothing. Besides, a name with an
# umlaut reads right in a console, and the scan loop translates a new G-code file within
# half a second at ScanTime 60.
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

# $1 with every @W@ replaced by $2 and every @S@ by $3.
fill_in() {
  local text=$1 filled="" mark
  for mark in @W@ @S@; do
    filled=""
    while [[ $text == *$mark* ]]; do
      filled+=${text%%"$mark"*}
      [[ $mark == @W@ ]] && filled+=$2 || filled+=$3
      text=${text#*"$mark"}
    done
    text=$filled$text
  done
  printf '%s' "$text"
}

# Every file below $1 but the settings, the activity log and the lock file (whose paths, times
# and process ids differ):
# name, checksum, hidden and read-only flags.
snapshot() {
  (cd "$1" && find . -type f ! -name Tessaro.INI ! -name 'Tessaro.log*' ! -name .tessaro.lock | LC_ALL=C sort | while read -r file; do
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

# Old programs already there: one read-only, one hidden, one both, one whose G-code is gone.
old=(DOOR_011.RCM SHELF_A1.RCM SIDE_LT2.RCM GONE1.RCM)
old_programs() {
  local file
  for file in "${old[@]}"; do
    printf 'old\r\n' >"$1/programs/$file"
  done
  touch -d 2000-01-01 "${old[@]/#/$1/programs/}"  # older than their G-code: a scan replaces them
  chmod a-w "$1/programs/DOOR_011.RCM" "$1/programs/SIDE_LT2.RCM"
  setfattr -n user.DOSATTRIB -v '"0x2"' "$1/programs/SHELF_A1.RCM" "$1/programs/SIDE_LT2.RCM"
}

# compare NAME SEPARATOR SOURCE PREPARE PROGRAMS COMMAND...: COMMAND run by both
# tessaro-clis in copies of the workspace named NAME, whose settings name SOURCE (a folder
# below it) as the source folder; PREPARE then readies each copy; the Linux one must
# leave PROGRAMS programs. In COMMAND, @W@ stands for the workspace's path and @S@ for
# the separator ("/" on Linux, SEPARATOR on Windows).
compare() {
  local name=$1 separator=$2 source=$3 prepare=$4 programs=$5
  shift 5
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
    for argument in "$@"; do arguments+=("$(fill_in "$argument" "$path" "$sep")"); done
    "${cli[@]}" "${arguments[@]}" >"$work/$side-$name.out" 2>&1 || status=$?
    codes+=("$status")
  done
  local result=ok written
  written=$(find "$work/linux/$name/programs" -name '*.RCM' | wc -l)
  if [[ $written != "$programs" ]]; then
    echo "$name: $written programs on Linux, not $programs"
    result=FAILED
  fi
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
  echo "$result $name (exit ${codes[0]}, $written programs)"
}

none() { :; }
# A source "folder" that is a file.
source_is_a_file() {
  old_programs "$1"
  printf 'x' >"$1/gcode-file"
}

# The old programs of workspaces whose source folder cannot be listed are all still there.
kept_all() {
  local name file kept
  for name in "$@"; do
    kept=yes
    for file in "${old[@]}"; do
      [[ -f $work/windows/$name/programs/$file ]] || kept="no: $file was deleted"
    done
    echo "$name kept every program: $kept"
    [[ $kept == yes ]] || failures=$((failures + 1))
  done
}

translate=(translate --home @W@ --dest @W@@S@programs)
for file in DOOR_01 NOTES01 SHELF_A SIDE_LT TOPRAIL; do translate+=("@W@@S@gcode@S@$file"); done
scan=(scan --home @W@ --once)

compare translate-slash / gcode none 16 "${translate[@]}"
compare "translate-backslash-Fräsprogramme ü" '\' gcode none 16 "${translate[@]}"
compare translate-over-old-programs '\' gcode old_programs 17 "${translate[@]}"
compare "scan-once-Fräsprogramme ü" '\' gcode old_programs 16 "${scan[@]}"
compare scan-once-slash / gcode/ old_programs 16 "${scan[@]}"
compare scan-once-missing-source '\' gone old_programs 4 "${scan[@]}"
compare scan-once-source-is-a-file / gcode-file source_is_a_file 4 "${scan[@]}"
kept_all scan-once-missing-source scan-once-source-is-a-file

# A name with an umlaut reads right in a console: tessaro-cli.exe, run in a terminal of its
# own (script gives it one), shows there what the Linux tessaro-cli writes, "\" for "/".
console_output() {
  local side result=ok
  for side in linux windows; do
    workspace "$work/$side/console" gcode programs
    cp "$examples/gcode/DOOR_01" "$work/$side/console/gcode/TÜR"
  done
  (cd "$work/linux/console" && "$linux_cli" translate --home . --dest programs gcode/TÜR) \
    >"$work/console-linux.out" 2>/dev/null || true
  (cd "$work/windows/console" && LC_ALL=C.UTF-8 script -qec \
    "wine '$windows_cli' translate --home . --dest programs 'gcode\\TÜR' 2>/dev/null" /dev/null \
    </dev/null || true) | sed 's/\x1b\[1C/ /g; s/\x1b\[[0-9;?]*[A-Za-z]//g; s/\r//g' |
    tr '\\' / >"$work/console-windows.out"
  if ! grep -q TÜR "$work/console-linux.out" ||
    ! diff "$work/console-linux.out" "$work/console-windows.out"; then
    result=FAILED
    failures=$((failures + 1))
  fi
  echo "$result console-output ($(head -1 "$work/console-windows.out"))"
}
console_output

# The scan loop at ScanTime 60: a G-code file written into the source folder after the
# first tick is translated within half a second, as the folder reports it (the timer would
# take a minute).
scan_watch() {
  local root=$work/windows/scan-watch path scan start elapsed=0 i result=ok
  path=$(windows_path "$root" '\')
  workspace "$root" "$path\gcode" "$path\programs"
  sed -i 's/^ScanTime=.*/ScanTime=60/' "$root/Tessaro.INI"
  wine "$windows_cli" scan --home "$path" >"$work/scan-watch.out" 2>&1 &
  scan=$!
  # The first tick writes the demo's 16 programs.
  for ((i = 0; i < 400; i++)); do
    (($(find "$root/programs" -name '*.RCM' | wc -l) < 16)) || break
    sleep 0.05
  done
  sleep 1
  start=$(date +%s%N)
  cp "$examples/gcode/DOOR_01" "$root/gcode/DOOR_02"
  until [[ -f $root/programs/DOOR_021.RCM ]] || ((elapsed >= 5000)); do
    sleep 0.01
    elapsed=$((($(date +%s%N) - start) / 1000000))
  done
  elapsed=$((($(date +%s%N) - start) / 1000000))
  kill "$scan" 2>/dev/null || true
  for ((i = 0; i < 100; i++)); do
    kill -0 "$scan" 2>/dev/null || break
    sleep 0.05
  done
  kill -KILL "$scan" 2>/dev/null || true
  wait "$scan" 2>/dev/null || true
  if ((elapsed >= 500)); then
    result=FAILED
    failures=$((failures + 1))
    cat "$work/scan-watch.out"
  fi
  echo "$result scan-watch (DOOR_02 translated after $elapsed ms)"
}
scan_watch

echo "$((11 - failures)) passed, $failures failed"
((failures == 0))
