#!/usr/bin/env bash
# The cases of a group share one sandbox: what a case leaves must be undone before the next
# one runs, what cannot be undone must fail the case and give the next one a fresh sandbox,
# and the check at the group's end must see what changed after the last case.
set -uo pipefail
sandbox=${1:?sandbox script}
root=${2:?sandbox root}
helper=${3:?testhelper.exe}

"$sandbox" template "$root" >/dev/null || { echo "FAIL: no template"; exit 1; }
mkdir -p "$root/groups"
group=$(mktemp -d "$root/groups/selftest.XXXXXX")
rmdir "$group"
trap '"$sandbox" stop "$group" >/dev/null 2>&1; rm -rf "$group"' EXIT
passed=0 failed=0

# Args: a name, the helper's verb, the exit code wanted, then words the output must hold.
expect() {
  local name=$1 verb=$2 want=$3 out rc word missing="" copied
  shift 3
  out=$("$sandbox" case "$group" "$root/template" "$helper" "$verb" 2>&1)
  rc=$?
  for word in "$@"; do grep -qF -- "$word" <<<"$out" || missing+=" \"$word\""; done
  # Opening the sandbox copies each program once, without a word from cp.
  copied=$(grep '^cp: ' <<<"$out")
  if [ "$rc" -eq "$want" ] && [ -z "$missing" ] && [ -z "$copied" ]; then
    echo "ok: $name"; passed=$((passed + 1))
  else
    echo "FAIL: $name: wanted exit $want, got $rc;${missing:+ missing$missing;}${copied:+ cp complained;} said: $out"; failed=$((failed + 1))
  fi
}
# Which opening of the group's sandbox this is: its recorded state is written once per opening.
opened() { stat -c '%i %y' "$group/state" 2>/dev/null; }

expect "a file, a key, a changed value and a binned file are undone" litter 0 \
  'undone after the case' 'made folder C:\litter' 'made registry key HKCU\Software\QueloraLitter' \
  'changed registry value HKCU\Control Panel\Colors "ActiveBorder"' 'Recycle Bin holds'
first=$(opened)
# Copies share the template's system folder: a full copy per group fills the disk.
k32=prefix/drive_c/windows/system32/kernel32.dll
if [ "$(stat -c %i "$root/template/$k32")" = "$(stat -c %i "$group/$k32" 2>/dev/null)" ]; then
  echo "ok: the system folder is linked, not copied"; passed=$((passed + 1))
else
  echo "FAIL: $group/$k32 is not the template's file"; failed=$((failed + 1))
fi
expect "the next case sees none of it" clean 0 '0 seen'
[ "$(opened)" = "$first" ] && { echo "ok: both ran in one sandbox"; passed=$((passed + 1)); } ||
  { echo "FAIL: the sandbox was opened again for a clean case"; failed=$((failed + 1)); }
expect "a program left running fails the case and is ended" linger 98 \
  'program still running: testhelper.exe' 'ended by the sandbox' 'left behind'
expect "the case after it gets a fresh sandbox" clean 0 'opened afresh' '0 seen'
expect "a key no one may delete fails the case" stuck 98 'QueloraStuck (cannot delete it)'
expect "and the case after it sees no such key" clean 0 'opened afresh' '0 seen'
expect "a start that Wine ends before a word is printed is made once more" silentonce 0 \
  'started once more' 'started again'
expect "a start that Wine ends in the C library's exit code is made once more" exitfaultonce 0 \
  'started once more' 'started again'

# Something appears after the last case: the group's end must see it.
touch "$group/prefix/drive_c/late.txt"
out=$("$sandbox" close "$group" 2>&1)
rc=$?
if [ "$rc" -ne 0 ] && grep -qF 'new file C:\late.txt' <<<"$out" && [ ! -e "$group" ]; then
  echo "ok: the group's end reports a late file and removes the sandbox"; passed=$((passed + 1))
else
  echo "FAIL: group end: exit $rc, sandbox left: $([ -e "$group" ] && echo yes || echo no), said: $out"
  failed=$((failed + 1))
fi

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
