#!/usr/bin/env bash
# The executable stands alone and starts on 64-bit Windows 7 SP1 to 11:
# - it imports only DLLs that every Windows has as KnownDLLs (never looked for
#   in the game folder), and no C++ runtime DLL;
# - every function it imports statically is in tests/win7_imports.txt, the
#   functions Windows 7 SP1 has. Anything newer is looked up at run time with
#   GetProcAddress, or the loader would refuse to start the program there.
set -euo pipefail
exe=$1
list=$(dirname "$0")/win7_imports.txt
allowed="KERNEL32.dll USER32.dll GDI32.dll msvcrt.dll ADVAPI32.dll SHELL32.dll ole32.dll OLEAUT32.dll"
table=$(x86_64-w64-mingw32-objdump -p "$exe")
imports=$(sed -n 's/^\s*DLL Name: //p' <<<"$table")
echo "imports: $(echo $imports)"
status=0
for dll in $imports; do
  case " $allowed " in
    *" $dll "*) ;;
    *) echo "not a KnownDLL: $dll"; status=1 ;;
  esac
done

# "DLL function" per imported function; an import by ordinal has no name.
functions=$(awk '/^\tDLL Name:/ { dll = $3; next }
                 /^$/ { next }
                 dll && /^\t[0-9a-f]+\t/ { print dll, ($3 == "" ? "<ordinal " $2 ">" : $3) }' <<<"$table")
[ -n "$functions" ] || { echo "no imported function found in $exe"; exit 1; }
known=$(grep -v '^#' "$list" | awk 'NF == 2 { print tolower($1), $2 }')
count=0
while read -r dll fn; do
  count=$((count + 1))
  grep -qxF "${dll,,} $fn" <<<"$known" && continue
  echo "not in $(basename "$list") (functions Windows 7 SP1 has): $dll $fn"
  status=1
done <<<"$functions"
echo "$count imported functions checked against $(basename "$list")"
exit $status
