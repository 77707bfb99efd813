#!/usr/bin/env bash
# The binary check reports each fault of a library built to have them, and fails.
#   check_binaries_faults.sh <check-binaries> <functions file> <bad library>
set -uo pipefail
check=$1 functions=$2 library=$3
failed=0
output=$("$check" --arch i686 --windows 5.1 --functions "$functions" \
         --expect "$(basename "$library")=StartMonitor,StopMonitor" "$library")
rc=$?
printf '%s\n' "$output"
expect() {
  if printf '%s\n' "$output" | grep -qF -- "$1"; then
    echo "reported: $1"
  else
    echo "NOT REPORTED: $1"
    failed=1
  fi
}
[ "$rc" -eq 1 ] || { echo "check exited with $rc, not 1"; failed=1; }
expect "declares Windows 6.0 as its oldest (subsystem version), not 5.1"
expect "imports GetTickCount64 from KERNEL32.dll, which Windows XP lacks (first in Windows Vista)"
expect "imports GetNumaHighestNodeNumber from KERNEL32.dll, which is not in"
expect "imports WaitForInputIdle from KERNEL32.dll, which is not in"
expect "has a delay-import directory (later.dll)"
expect "exports the decorated name StartMonitor@0"
expect "does not export StartMonitor"
expect "does not export StopMonitor"
# A program of the other architecture is refused, whatever else it holds.
output=$("$check" --arch x86_64 --windows 6.0 --functions "$functions" "$library")
expect "machine 0x14c is not x86_64"
exit "$failed"
