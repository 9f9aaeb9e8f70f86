#!/usr/bin/env bash
# The executable imports only KnownDLLs (never looked for in the game folder)
# and only functions Windows 7 SP1 has (newer ones are looked up at run time).
set -euo pipefail
list=$(dirname "$0")/win7_imports.txt
allowed=" KERNEL32.dll USER32.dll GDI32.dll msvcrt.dll ADVAPI32.dll SHELL32.dll ole32.dll OLEAUT32.dll "
table=$(x86_64-w64-mingw32-objdump -p "$1")
status=0
for dll in $(sed -n 's/^\s*DLL Name: //p' <<<"$table"); do
  [[ $allowed == *" $dll "* ]] || { echo "not a KnownDLL: $dll"; status=1; }
done
functions=$(awk '/^\tDLL Name:/ { dll = tolower($3); next }
                 dll && /^\t[0-9a-f]+\t/ { print dll, ($3 == "" ? "<ordinal " $2 ">" : $3) }' <<<"$table")
[ -n "$functions" ] || { echo "no imported function found in $1"; exit 1; }
if missing=$(grep -vxFf <(awk '!/^#/ && NF == 2 { print tolower($1), $2 }' "$list") <<<"$functions"); then
  echo "not in win7_imports.txt (functions Windows 7 SP1 has): $missing"
  status=1
fi
echo "$(wc -l <<<"$functions") imported functions checked"
exit $status
