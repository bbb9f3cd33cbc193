#!/bin/sh
# The launcher stub imports only Windows system libraries and carries no symbol
# table behind its sections.
set -e
stub="$1"
objdump="$2"
imports=$("$objdump" -p "$stub" | sed -n 's/^[[:space:]]*DLL Name: //p' | tr 'A-Z' 'a-z' | sort -u)
echo "imports: $(echo $imports)"
allowed="kernel32.dll user32.dll gdi32.dll advapi32.dll msvcrt.dll shell32.dll comctl32.dll ole32.dll"
for dll in $imports; do
  case " $allowed " in
    *" $dll "*) ;;
    *) echo "not a Windows system library: $dll" >&2; exit 1 ;;
  esac
done
if "$objdump" -h "$stub" >/dev/null && "$objdump" -t "$stub" 2>/dev/null | grep -q '\[ *[0-9]'; then
  echo "the stub carries a symbol table" >&2
  exit 1
fi
echo "stub ok"
