#!/usr/bin/env bash
# Checks the control's export names and ordinals, and that it imports from system DLLs only.
set -euo pipefail
dump=$("$2" -p "$1")
status=0
names=$(sed -n '/^\[Ordinal\/Name Pointer\] Table/,/^$/p' <<<"$dump")
# objdump lists each name with its ordinal less the ordinal base, which is 1.
expect_export() {
  if ! grep -Eq "^\s*\[\s*$(($1 - 1))\]\s+$2$" <<<"$names"; then
    echo "FAIL: export $2 with ordinal $1 missing"
    status=1
  fi
}
expect_export 1 DllUnregisterServer
expect_export 2 DllRegisterServer
expect_export 3 DllCanUnloadNow
expect_export 4 DllGetClassObject
grep -Eq '^Ordinal Base\s+1$' <<<"$dump" || { echo "FAIL: ordinal base is not 1"; status=1; }
grep -Eq '^Name\s+[0-9a-f]+\s+SkedraXControl\.ocx$' <<<"$dump" || { echo "FAIL: export directory does not name SkedraXControl.ocx"; status=1; }
allowed='^(KERNEL32|USER32|GDI32|ADVAPI32|OLE32|OLEAUT32|OLEACC|COMCTL32|COMDLG32|SHELL32|MSVCRT|UXTHEME|api-ms-win-[a-z0-9-]+)\.dll$'
while read -r dll; do
  if ! grep -Eiq "$allowed" <<<"$dll"; then
    echo "FAIL: imports non-system DLL $dll"
    status=1
  fi
done < <(grep -E '^\s*DLL Name:' <<<"$dump" | awk '{print $3}')
[ $status -eq 0 ] && echo "exports and imports OK"
exit $status
