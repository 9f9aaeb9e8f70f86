#!/usr/bin/env bash
# The executable stands alone: it imports only DLLs that every Windows has as
# KnownDLLs (never looked for in the game folder), and no C++ runtime DLL.
set -euo pipefail
exe=$1
allowed="KERNEL32.dll USER32.dll GDI32.dll msvcrt.dll ADVAPI32.dll SHELL32.dll ole32.dll OLEAUT32.dll"
imports=$(x86_64-w64-mingw32-objdump -p "$exe" | sed -n 's/^\s*DLL Name: //p')
echo "imports: $(echo $imports)"
status=0
for dll in $imports; do
  case " $allowed " in
    *" $dll "*) ;;
    *) echo "not a KnownDLL: $dll"; status=1 ;;
  esac
done
exit $status
