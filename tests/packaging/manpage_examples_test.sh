#!/usr/bin/env bash
# Runs the examples of tessaro-cli(1) with the built tessaro-cli. Every .EX block of the
# page's EXAMPLES section is run as a shell session of its own, line by line, in a fresh
# home folder that holds the demo workspace in ~/tessaro-demo (made as the page says; the
# block that shows how to make it makes it from a copy of what the package installs).
# A tessaro-cli command without --home gets --home ~/tessaro-demo. A command fails the test
# when it exits 2 (a usage error) or with another status than the "# exit status N" after
# it says; a scan without --once is stopped with SIGTERM after 2 seconds and must exit 0.
# Other commands (cd, mkdir, cp, sed, printf) must succeed; systemctl, journalctl and
# loginctl are left out, as they would act on the user's own service manager.
#   usage: manpage_examples_test.sh SOURCE_DIR BUILT_TESSARO_CLI
set -uo pipefail
source_dir=$1
cli=$(realpath "$2")
page=$source_dir/packaging/man/tessaro-cli.1.in

failures=0
fail() {
  echo "FAILED: $*"
  failures=$((failures + 1))
}
work=$(mktemp -d -t tessaro-manpage.XXXXXX)
trap 'rm -rf "$work"' EXIT

# The built tessaro-cli is the one on the PATH.
mkdir "$work/bin"
ln -s "$cli" "$work/bin/tessaro-cli"
# The demo workspace as the package installs it in /usr/share/doc/tessaro/examples.
installed=$work/installed-examples
mkdir "$installed"
cp -r "$source_dir/examples/Template.RCM" "$source_dir/examples/Tessaro.INI" \
  "$source_dir/examples/gcode" "$installed/"

# The example lines: "BLOCK<TAB>LINE", roff escapes undone, continued lines joined.
extract() {
  awk '
    /^\.SH / { examples = ($2 == "EXAMPLES") }
    examples && /^\.EX/ { inside = 1; ++block; next }
    examples && /^\.EE/ { inside = 0; next }
    inside {
      line = $0
      gsub(/\\-/, "-", line); gsub(/\\\(aq/, "\047", line); gsub(/\\\(dq/, "\"", line)
      gsub(/\\\(ti/, "~", line); gsub(/\\&/, "", line); gsub(/\\e/, "\\", line)
      if (sub(/\\$/, "", line)) { pending = pending line; next }
      print block "\t" pending line
      pending = ""
    }' "$1"
}
mapfile -t examples < <(extract "$page")
((${#examples[@]} > 0)) || fail "no examples found in the EXAMPLES section of $page"
for command in init holes translate scan status; do
  printf '%s\n' "${examples[@]}" | grep -qP "^\d+\ttessaro-cli $command " ||
    fail "no example of tessaro-cli $command"
done

make_demo() {  # HOME: the demo workspace in HOME/tessaro-demo, as the page makes it
  cp -r "$installed" "$1/tessaro-demo"
  mkdir "$1/tessaro-demo/programs"
  sed -i "s|@DEMO@|$1/tessaro-demo|" "$1/tessaro-demo/Tessaro.INI"
}

# Writes a block's session as a script: each line runs with its output kept in the log,
# then its exit status is noted as "N<TAB>STATUS" in the status file.
commands=() expected=() blocks=()
write_session() {  # BLOCK SCRIPT LOG STATUSES
  local block=$1 script=$2 log=$3 statuses=$4 entry line word n
  # shellcheck disable=SC2016 # $HOME is the session's
  printf 'cd "$HOME"\n' >"$script"
  for entry in "${examples[@]}"; do
    [[ ${entry%%$'\t'*} == "$block" ]] || continue
    line=${entry#*$'\t'}
    line=${line/\/usr\/share\/doc\/tessaro\/examples/$installed}
    word=${line%% *}
    [[ $word == systemctl || $word == journalctl || $word == loginctl ]] && continue
    n=${#commands[@]}
    blocks+=("$block")
    if [[ $line =~ \#\ exit\ status\ ([0-9]+)[[:space:]]*$ ]]; then
      expected+=("${BASH_REMATCH[1]}")
    else
      expected+=("")
    fi
    line=$(sed -E 's/[[:space:]]*#[[:space:]]*exit status [0-9]+[[:space:]]*$//' <<<"$line")
    if [[ $word == tessaro-cli ]]; then
      if [[ ! $line =~ --home && ! $line =~ --help && ! $line =~ --version ]]; then
        line=$(sed -E 's/^tessaro-cli ([a-z]+)/tessaro-cli \1 --home ~\/tessaro-demo/' <<<"$line")
      fi
      if [[ $line =~ ^tessaro-cli\ scan && ! $line =~ --once && ! $line =~ --help ]]; then
        line="timeout --preserve-status -s TERM 2 $line"
        expected[n]=0
      fi
    fi
    commands+=("$line")
    printf '{ echo "$ %s"\n%s\n} >>"%s" 2>&1\nprintf "%%s\\t%%s\\n" %d $? >>"%s"\n' \
      "${line//\"/\\\"}" "$line" "$log" "$n" "$statuses" >>"$script"
  done
}

for block in $(printf '%s\n' "${examples[@]}" | cut -f1 | sort -un); do
  home=$work/block$block/home
  mkdir -p "$home"
  log=$work/block$block/output.txt statuses=$work/block$block/statuses.txt
  : >"$statuses"
  write_session "$block" "$work/block$block/session.sh" "$log" "$statuses"
  grep -q "$installed" "$work/block$block/session.sh" || make_demo "$home"
  (
    cd "$home" || exit 1
    unset XDG_CONFIG_HOME
    HOME=$home PATH=$work/bin:$PATH bash "$work/block$block/session.sh"
  )
  before=$failures
  while IFS=$'\t' read -r n status; do
    line=${commands[n]}
    echo "exit $status: $line"
    if [[ ${line%% *} != tessaro-cli && ${line%% *} != timeout ]]; then
      [[ $status == 0 ]] || fail "the example's step '$line' exited $status"
    elif [[ $status == 2 ]]; then
      fail "'$line' is a usage error (exit status 2)"
    elif [[ -n ${expected[n]} && $status != "${expected[n]}" ]]; then
      fail "'$line' exited $status, the page says ${expected[n]}"
    fi
  done <"$statuses"
  ran=$(wc -l <"$statuses")
  planned=$(printf '%s\n' "${blocks[@]}" | grep -cx "$block")
  ((ran == planned)) || fail "block $block ran $ran of its $planned commands"
  if ((failures > before)); then
    echo "--- what block $block printed:"
    cat "$log"
  fi
done

if ((failures > 0)); then
  echo "$failures check(s) failed"
  exit 1
fi
echo "all ${#commands[@]} example commands of tessaro-cli(1) behave as the page says"
