#!/usr/bin/env bash
# commands.sh ROOT
# The two commands a newcomer meets first: README.md opens with exactly
# "bash scripts/demo.sh" and "bash scripts/test.sh" (in its first block of
# indented lines, each perhaps followed by a "#" comment), both scripts are
# there, and .ci/run calls the second. To show that the check can fail, it is
# also run on copies of these files with one fault each, and must reject
# every one of them.
set -uo pipefail

problems() {   # problems ROOT: prints what is wrong, nothing when all is right
  local root=$1
  [ -f "$root/README.md" ] || { echo "no README.md"; return; }
  # The first run of indented lines, without comments and surrounding blanks.
  local commands
  commands=$(awk '
    /^(    |\t)/ { inblock = 1; sub(/#.*/, ""); gsub(/^[ \t]+|[ \t]+$/, ""); print; next }
    inblock { exit }' "$root/README.md")
  local want=$'bash scripts/demo.sh\nbash scripts/test.sh'
  [ "$commands" = "$want" ] || echo "README.md opens with [$commands], not the demo and test commands"
  # Nothing but the title and blank lines before them.
  local before
  before=$(awk '/^(    |\t)/ { exit } NF { print }' "$root/README.md")
  [[ "$before" =~ ^#\ [^$'\n']*$ ]] || echo "README.md has more than its title before the commands"
  local s
  for s in demo test; do [ -f "$root/scripts/$s.sh" ] || echo "no scripts/$s.sh"; done
  [ -f "$root/.ci/run" ] || { echo "no .ci/run"; return; }
  # A line of .ci/run, not a comment, that runs scripts/test.sh.
  grep -Eq '^[^#]*(^|[ /"])scripts/test\.sh([ "]|$)' "$root/.ci/run" || echo ".ci/run does not call scripts/test.sh"
}

root=$(cd "${1:?usage: commands.sh ROOT}" && pwd)
found=$(problems "$root")
if [ -n "$found" ]; then
  echo "$found"
  exit 1
fi

# Copies with one fault each: every one must be found.
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
copy() {
  rm -rf "$work/r" && mkdir -p "$work/r/scripts" "$work/r/.ci"
  cp "$root/README.md" "$work/r/" && cp "$root/.ci/run" "$work/r/.ci/"
  cp "$root/scripts/demo.sh" "$root/scripts/test.sh" "$work/r/scripts/"
}
faults=(
  "sed -i '0,/scripts\/demo.sh/s//scripts\/demo2.sh/' README.md"
  "sed -i '0,/bash scripts\/test.sh/s//sh scripts\/test.sh/' README.md"
  "awk 'NR == 3 { l3 = \$0; next } NR == 4 { print; print l3; next } { print }' README.md > x && mv x README.md"
  "sed -i '0,/bash scripts\/test.sh/s//bash scripts\/test.sh\n    bash scripts\/bench.sh/' README.md"
  "sed -i '1a Some words first.' README.md"
  "rm scripts/demo.sh"
  "rm scripts/test.sh"
  "sed -i 's/^exec bash scripts\/test.sh/# exec bash scripts\/test.sh/' .ci/run"
  "sed -i 's/scripts\/test.sh/scripts\/test-all.sh/' .ci/run"
)
status=0
for fault in "${faults[@]}"; do
  copy
  (cd "$work/r" && eval "$fault")
  if [ -z "$(problems "$work/r")" ]; then
    echo "not caught: $fault"
    status=1
  fi
done
[ $status -eq 0 ] && echo "README commands, scripts and .ci/run agree"
exit $status
