#!/usr/bin/env bash
# The sandbox must refuse to run anything when one of its guarantees does not hold. Each
# case breaks one guarantee in a fresh copy of the template and expects a refusal, and no
# trace of the program having run.
set -uo pipefail
sandbox=${1:?sandbox script}
root=${2:?sandbox root}
program=${3:?a program that writes C:\marker.txt}

"$sandbox" template "$root" >/dev/null || { echo "FAIL: no template"; exit 1; }
work=$(mktemp -d "$root/refusal.XXXXXX")
chmod 755 "$work"
trap 'rm -rf "$work"' EXIT
passed=0 failed=0

sbx_user=${QUELORA_SANDBOX_USER:-quelora-sbx}
as_sbx() { if [ "$(id -u)" -eq 0 ]; then chown -h "$sbx_user:$sbx_user" "$@"; fi; }

# Args: a name, then a shell snippet that breaks $dir, then "refused" or "runs".
check() {
  local name=$1 breakit=$2 want=$3 dir="$work/$1" out rc
  "$sandbox" prepare "$root/template" "$dir" >/dev/null 2>&1
  (cd "$dir" && eval "$breakit")
  out=$("$sandbox" exec "$dir" "$program" folders 'C:\marker.txt' 2>&1)
  rc=$?
  local ran=no
  [ -f "$dir/prefix/drive_c/marker.txt" ] && ran=yes
  if [ "$want" = refused ] && [ $rc -eq 97 ] && [ $ran = no ] && grep -q 'refused' <<<"$out"; then
    echo "ok: $name: ${out##*refused: }"; passed=$((passed + 1))
  elif [ "$want" = runs ] && [ $rc -eq 0 ] && [ $ran = yes ]; then
    echo "ok: $name runs"; passed=$((passed + 1))
  else
    echo "FAIL: $name: wanted $want, exit $rc, program ran: $ran, said: $out"; failed=$((failed + 1))
  fi
  rm -rf "$dir"
}

reg_set() { # value line in a key of user.reg, replacing the old one
  python3 - "$@" <<'PY'
import sys
path, key, name, value = sys.argv[1:5]
want = '[' + key.replace('\\', '\\\\') + ']'
out, on = [], False
for line in open(path, encoding='utf-8').read().split('\n'):
    if line.startswith('['):
        on = line.split(']')[0] + ']' == want
    if on and line.startswith('"' + name + '"='):
        if value == '-':
            continue
        line = '"' + name + '"="' + value.replace('\\', '\\\\') + '"'
    out.append(line)
open(path, 'w', encoding='utf-8').write('\n'.join(out))
PY
}
SF='Software\Microsoft\Windows\CurrentVersion\Explorer\Shell Folders'
USF='Software\Microsoft\Windows\CurrentVersion\Explorer\User Shell Folders'

check intact ':' runs
check drive-z 'ln -s / prefix/dosdevices/z: && as_sbx prefix/dosdevices/z:' refused
check drive-d-outside 'ln -s /tmp prefix/dosdevices/d: && as_sbx prefix/dosdevices/d:' refused
check raw-device 'ln -s /dev/null prefix/dosdevices/c::' refused
check link-out-of-c 'rmdir prefix/drive_c/users/*/Documents && ln -s / prefix/drive_c/users/$(ls prefix/drive_c/users | grep -v Public | head -1)/Documents' refused
check home-outside 'rm -rf home && ln -s /tmp home' refused
check appdata-on-z "reg_set prefix/user.reg '$SF' AppData 'Z:\\root'" refused
check cache-missing "reg_set prefix/user.reg '$USF' Cache -" refused
check history-relative "reg_set prefix/user.reg '$USF' History 'History'" refused
check tmp-outside "reg_set prefix/user.reg 'Environment' TMP 'Z:\\tmp'" refused
check temp-unix "reg_set prefix/user.reg 'Environment' TEMP '/tmp'" refused
check program-folder-link 'rmdir prefix/drive_c/Quelora && ln -s /tmp prefix/drive_c/Quelora' refused
if [ "$(id -u)" -eq 0 ]; then
  QUELORA_SANDBOX_USER=root check wine-as-root ':' refused
  QUELORA_SANDBOX_USER=no-such-user-here check missing-user ':' refused
fi

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
