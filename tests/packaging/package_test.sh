#!/usr/bin/env bash
# Checks the Debian package that `make package` built. Unpacked into a temporary root, its
# tessaro-cli tells its version and translates the shipped examples exactly as the build's
# own tessaro-cli does; a first start without a template says where to put one and copies
# none; every installed file that the README's "Install" section names is in the package;
# lintian reports no error; the desktop entry and the AppStream metainfo validate; both
# systemd user units (tessaro-scan.service and the template tessaro-scan@.service) are
# there, pass `systemd-analyze verify`, share their sandboxing and show an exposure under 7
# in `systemd-analyze security`. Exits 77 (skipped) when there is no package, or one older
# than the sources.
#   usage: package_test.sh SOURCE_DIR PACKAGE BUILT_TESSARO_CLI
set -uo pipefail
source_dir=$1 package=$2 built_cli=$3

if [[ ! -f $package ]]; then
  echo "SKIPPED: no package $package (build it with: make package)"
  exit 77
fi
newer=$(find "$source_dir/src" "$source_dir/packaging" "$source_dir/examples" \
  "$source_dir/README.md" -type f -newer "$package" -print -quit)
if [[ -n $newer ]]; then
  echo "SKIPPED: $package is older than $newer (rebuild it with: make package)"
  exit 77
fi

failures=0
fail() {
  echo "FAILED: $*"
  failures=$((failures + 1))
}
work=$(mktemp -d -t tessaro-package.XXXXXX)
trap 'rm -rf "$work"' EXIT
root=$work/root
echo "checking $package"
dpkg-deb -x "$package" "$root" || { echo "FAILED: dpkg-deb -x $package"; exit 1; }
cli=$root/usr/bin/tessaro-cli
examples=$root/usr/share/doc/tessaro/examples

# The version the package declares is the one the program tells.
version=$(dpkg-deb -f "$package" Version)
told=$("$cli" --version)
[[ $told == "tessaro-cli $version" ]] || fail "tessaro-cli --version says '$told', the package $version"

# The shipped examples, translated by the packaged and by the built tessaro-cli.
translate() {  # CLI HOME: translates HOME/gcode/* into HOME/programs
  cp -r "$examples" "$2"
  mkdir "$2/programs"
  "$1" translate --home "$2" --dest "$2/programs" "$2"/gcode/* >"$2.out" 2>"$2.err"
}
translate "$cli" "$work/packaged"
status=$?
[[ $status == 1 ]] || fail "translating the examples exited $status, not 1 (NOTES01 is refused)"
grep -q 'NOTES01' "$work/packaged.err" || fail "NOTES01 was not reported as refused"
written=$(wc -l <"$work/packaged.out")
[[ $written == 16 ]] || fail "the examples gave $written programs, not 16"
grep -q "^$work/packaged/programs/DOOR_011.RCM$" "$work/packaged.out" ||
  fail "DOOR_011.RCM is not among the programs written"
translate "$built_cli" "$work/built"
diff -r "$work/built/programs" "$work/packaged/programs" >"$work/programs.diff" ||
  fail "the packaged and the built tessaro-cli write different programs: $(head -c 600 "$work/programs.diff")"

# No template is ever copied for the operator; the first start says where it belongs and
# ends with the configuration error 3.
mkdir -p "$work/first/programs"
printf '[Settings]\nRCM=YES\nDestinationPath=%s\n' "$work/first/programs" >"$work/first/Tessaro.INI"
"$cli" translate --home "$work/first" "$examples/gcode/DOOR_01" >/dev/null 2>"$work/first.err"
status=$?
[[ $status == 3 ]] || fail "a start without a template exited $status, not 3"
grep -qF "$work/first/Template.RCM" "$work/first.err" ||
  fail "a start without a template does not say where it goes: $(cat "$work/first.err")"
[[ ! -e $work/first/Template.RCM ]] || fail "a template was copied into the application folder"

# Every installed file that the README's Install section names.
named=$(awk '/^## /{section = $0} section == "## Install"' "$source_dir/README.md" |
  grep -o '`/usr/[^` ]*`' | tr -d '`' | sort -u)
[[ -n $named ]] || fail "the README's Install section names no installed file"
for path in $named; do
  compgen -G "$root$path" >/dev/null || fail "the README names $path; the package lacks it"
done
[[ -s $root/usr/share/tessaro/translations/tessaro_de.qm ]] ||
  fail "the package lacks the German texts, /usr/share/tessaro/translations/tessaro_de.qm"

# lintian: errors fail, warnings are shown.
lintian --fail-on error --display-info "$package" 2>&1 | grep -v 'root privileges' |
  tee "$work/lintian.txt"
[[ ${PIPESTATUS[0]} == 0 ]] || fail "lintian reports errors"
desktop-file-validate "$root/usr/share/applications/org.tessaro.Tessaro.desktop" ||
  fail "desktop-file-validate"
appstreamcli validate --no-net "$root/usr/share/metainfo/org.tessaro.Tessaro.metainfo.xml" ||
  fail "appstreamcli validate --no-net"
# The user units, with their program looked up in the unpacked root; the template is
# checked as itself and as the instance tessaro-scan@machine1.service.
mkdir -m 700 "$work/runtime" "$work/units"
units=$root/usr/lib/systemd/user
for unit in tessaro-scan.service tessaro-scan@.service; do
  if [[ ! -f $units/$unit ]]; then
    fail "the package lacks /usr/lib/systemd/user/$unit"
    continue
  fi
  sed "s|^ExecStart=/usr/bin/|ExecStart=$root/usr/bin/|" "$units/$unit" >"$work/units/$unit"
done
if [[ -f $work/units/tessaro-scan@.service ]]; then
  cp "$work/units/tessaro-scan@.service" "$work/units/tessaro-scan@machine1.service"
  grep -qxF "ExecStart=/usr/bin/tessaro-cli scan --home %E/tessaro/%i" \
    "$units/tessaro-scan@.service" ||
    fail "tessaro-scan@.service does not run tessaro-cli scan --home %E/tessaro/%i"
fi
analyze() { XDG_RUNTIME_DIR=$work/runtime systemd-analyze "$@"; }
for file in "$work"/units/*.service; do
  unit=$(basename "$file")
  echo "systemd-analyze --user verify $unit"
  analyze --user verify --man=no "$file" || fail "systemd-analyze verify $unit"
  # What a restart, a reload and a stop do ($MAINPID is the unit's own).
  # shellcheck disable=SC2016
  for line in "RestartPreventExitStatus=2 3" "TimeoutStopSec=15s" \
    'ExecReload=/bin/kill -HUP $MAINPID' "StartLimitIntervalSec=10min" "StartLimitBurst=5"; do
    grep -qxF "$line" "$file" || fail "$unit lacks the line $line"
  done
  analyze security --offline=true --user "$file" >"$work/security.txt" 2>&1
  exposure=$(sed -n 's/^.*Overall exposure level for [^:]*: \([0-9.]*\).*$/\1/p' \
    "$work/security.txt")
  if [[ -z $exposure ]]; then
    fail "systemd-analyze security $unit gave no exposure: $(tail -n 3 "$work/security.txt")"
  else
    echo "systemd-analyze security $unit: exposure $exposure"
    awk -v e="$exposure" 'BEGIN { exit !(e < 7) }' ||
      fail "$unit has an exposure of $exposure, not under 7: $(grep '✗' "$work/security.txt")"
  fi
done
# Both units run the scan in the same sandbox.
sandbox() { sed -n '/^# Sandboxing/,/^\[Install\]/p' "$1"; }
if [[ -f $work/units/tessaro-scan@.service && -f $work/units/tessaro-scan.service ]]; then
  diff <(sandbox "$work/units/tessaro-scan.service") \
    <(sandbox "$work/units/tessaro-scan@.service") >"$work/sandbox.diff" ||
    fail "the two units differ in their sandboxing: $(cat "$work/sandbox.diff")"
  (($(sandbox "$work/units/tessaro-scan.service" | grep -c '^[A-Z]') >= 10)) ||
    fail "tessaro-scan.service has no sandboxing section"
fi

if ((failures > 0)); then
  echo "$failures check(s) failed"
  exit 1
fi
echo "package checks passed: $package"
