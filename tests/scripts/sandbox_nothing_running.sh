#!/usr/bin/env bash
# After the sandbox's own tests: no Wine program of a sandbox they made may still run.
set -uo pipefail
root=$(realpath -m -- "${1:?sandbox root}")
user=${QUELORA_SANDBOX_USER:-quelora-sbx}
[ "$(id -u)" -eq 0 ] || user=$(id -un)
left=""
for pid in $(pgrep -u "$user"); do
  mapfile -d '' -t vars 2>/dev/null </proc/"$pid"/environ || continue
  for v in "${vars[@]}"; do
    case "$v" in
      WINEPREFIX="$root"/refusal.*|WINEPREFIX="$root"/groups/selftest.*)
        left+=" $pid ($(tr '\0' ' ' 2>/dev/null </proc/"$pid"/cmdline))" ;;
    esac
  done
done
[ -z "$left" ] || { echo "FAIL: still running:$left"; exit 1; }
echo "ok: nothing left running"
