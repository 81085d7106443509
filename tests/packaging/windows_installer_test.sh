#!/usr/bin/env bash
# The Windows installer and the portable zip, under Wine in a fresh prefix of their own:
# - the installer installs silently (/S) into Program Files: both programs, the DLLs they
#   load, the translations, the demo, a Start-menu entry and an uninstaller, and nothing
#   of the repository's own (.gitattributes and the like), no Tessaro.INI;
# - the installed tessaro.exe opens its window on the demo workspace (--home), and its
#   automatic translation writes DOOR_01's programs byte for byte as the Linux
#   tessaro-cli writes them;
# - the installed tessaro-cli.exe keeps its settings in %APPDATA%\Tessaro, never beside
#   itself;
# - the uninstaller removes what the installer put there;
# - the portable zip holds the same programs and an empty Tessaro.INI beside them, which
#   makes that folder the application folder.
# Usage: windows_installer_test.sh INSTALLER.exe PORTABLE.zip LINUX_TESSARO_CLI EXAMPLES_DIR
# Exit 77 (skipped) when the installer or the zip has not been made (scripts/windows makes
# both before it runs the tests) or without the Linux tessaro-cli.
set -euo pipefail
installer=$1 zip=$2 linux_cli=$3 examples=$4
for file in "$installer" "$zip" "$linux_cli"; do
  if [[ ! -f $file ]]; then
    echo "skipped: $file is not there (scripts/windows makes the installer and the zip)"
    exit 77
  fi
done

work=$(mktemp -d)
export WINEPREFIX=$work/wine WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml,winemenubuilder.exe=d"
unset DISPLAY WAYLAND_DISPLAY
trap 'wineserver -k 2>/dev/null || true; rm -rf "$work"' EXIT
failures=0
fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}

wine cmd /c exit >/dev/null 2>&1 # the fresh prefix
drive_c=$WINEPREFIX/drive_c
folder="$drive_c/Program Files/Tessaro"
mkdir -p "$drive_c/gcode" "$drive_c/programs" # the folders tessaro-cli.exe init is given

started=$SECONDS
wine "$installer" /S
wineserver -w
echo "installed in $((SECONDS - started)) s: $(du -sh "$folder" | cut -f1) in C:\\Program Files\\Tessaro"
for file in tessaro.exe tessaro-cli.exe Uninstall.exe Qt6Core.dll Qt6Gui.dll Qt6Widgets.dll \
  libstdc++-6.dll libgcc_s_seh-1.dll libwinpthread-1.dll platforms/qwindows.dll \
  styles/qwindowsvistastyle.dll translations/tessaro_de.qm translations/qtbase_de.qm \
  examples/gcode/DOOR_01 examples/Template.RCM COPYRIGHT.txt; do
  [[ -f $folder/$file ]] || fail "the installer did not install $file"
done
for file in Tessaro.INI Qt6Test.dll platforms/qoffscreen.dll; do
  [[ ! -e $folder/$file ]] || fail "the installer installed $file"
done
if stray=$(find "$folder" -name '.*' | grep .); then fail "the installer installed $stray"; fi
start_menu=$(find "$drive_c/ProgramData/Microsoft/Windows/Start Menu" -name 'Tessaro.lnk')
[[ -n $start_menu ]] || fail "no Start-menu entry Tessaro.lnk"

# The demo workspace with DOOR_01 alone, translated by the installed window's first tick on
# Wine's own display driver under Xvfb; the window saves its pictures and closes itself (the
# option scripts/screenshot uses). Wine draws the text of line edits only with Qt's
# FreeType font engine.
demo=$work/demo
expected=$work/linux
for copy in "$demo" "$expected"; do
  cp -r "$examples"/. "$copy"
  find "$copy/gcode" -type f ! -name DOOR_01 -delete
  mkdir -p "$copy/programs"
done
sed -i "s|@DEMO@|Z:$demo|g; s/^AutoScan=.*/AutoScan=1/; s/^ScanTime=.*/ScanTime=0.2/" "$demo/Tessaro.INI"
sed -i "s|@DEMO@|$expected|g" "$expected/Tessaro.INI"
status=0
timeout 120 xvfb-run -a -s "-screen 0 1280x720x24" wine "$folder/tessaro.exe" \
  -platform windows:fontengine=freetype --home "Z:$demo" --screenshots "Z:$work/shots" ||
  status=$?
((status == 0)) || fail "tessaro.exe ended with status $status"
[[ -s $work/shots/main.png ]] || fail "tessaro.exe showed no main window"
"$linux_cli" translate --home "$expected" "$expected/gcode/DOOR_01" >/dev/null
for program in "$expected"/programs/*; do
  cmp "$program" "$demo/programs/${program##*/}" || fail "${program##*/} differs from Linux's"
done
[[ -n $(ls "$expected/programs") ]] || fail "Linux's tessaro-cli wrote no program"

# Without --home the installed tool's settings live in %APPDATA%\Tessaro.
wine "$folder/tessaro-cli.exe" init --source 'C:\gcode' --dest 'C:\programs' >/dev/null ||
  fail "tessaro-cli.exe init ended with status $?"
appdata=$(winepath -u "$(wine cmd /c echo %APPDATA% | tr -d '\r')")
[[ -f $appdata/Tessaro/Tessaro.INI ]] ||
  fail "no Tessaro.INI in %APPDATA%\\Tessaro"
[[ ! -e $folder/Tessaro.INI ]] || fail "tessaro-cli.exe wrote Tessaro.INI beside itself"

wine "$folder/Uninstall.exe" /S
wineserver -w
if left=$(find "$folder" 2>/dev/null | grep .); then fail "the uninstaller left $left"; fi
[[ -z $(find "$drive_c/ProgramData/Microsoft/Windows/Start Menu" -name 'Tessaro*') ]] ||
  fail "the uninstaller left the Start-menu entry"

# The portable zip: the installed folder's files, and an empty Tessaro.INI beside them, in
# which tessaro-cli.exe init writes the settings.
unzip -q "$zip" -d "$work/portable"
portable=$(find "$work/portable" -mindepth 1 -maxdepth 1 -type d)
[[ -f $portable/Tessaro.INI && ! -s $portable/Tessaro.INI ]] || fail "no empty Tessaro.INI in the zip"
for file in tessaro.exe tessaro-cli.exe Qt6Widgets.dll platforms/qwindows.dll; do
  [[ -f $portable/$file ]] || fail "the zip lacks $file"
done
wine "$portable/tessaro-cli.exe" init --source 'C:\gcode' --dest 'C:\programs' >/dev/null ||
  fail "the portable tessaro-cli.exe init ended with status $?"
grep -q '^SourcePath=C:\\gcode' "$portable/Tessaro.INI" ||
  fail "the portable copy did not keep its settings beside itself"

((failures == 0)) && echo "the installer, the installed programs, the uninstaller and the zip work"
exit $((failures > 0))
