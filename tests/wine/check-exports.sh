#!/usr/bin/env bash
# Checks the control's export names and ordinals, and that it imports from system DLLs only.
set -euo pipefail
dump=$(i686-w64-mingw32-objdump -p "$1")
status=0
expect_export() {
  if ! grep -Eq "^\s*\[\s*[0-9]+\]\s+\+base\[\s*$1\]\s+[0-9a-f]+\s+$2$" <<<"$dump"; then
    echo "FAIL: export $2 with ordinal $1 missing"
    status=1
  fi
}
expect_export 1 DllUnregisterServer
expect_export 2 DllRegisterServer
expect_export 3 DllCanUnloadNow
expect_export 4 DllGetClassObject
grep -q 'Name SkedraXControl.ocx' <<<"$dump" || { echo "FAIL: export directory does not name SkedraXControl.ocx"; status=1; }
allowed='^(KERNEL32|USER32|GDI32|ADVAPI32|OLE32|OLEAUT32|COMCTL32|COMDLG32|SHELL32|MSVCRT|UXTHEME|api-ms-win-[a-z0-9-]+)\.dll$'
while read -r dll; do
  if ! grep -Eiq "$allowed" <<<"$dll"; then
    echo "FAIL: imports non-system DLL $dll"
    status=1
  fi
done < <(grep -E '^\s*DLL Name:' <<<"$dump" | awk '{print $3}')
[ $status -eq 0 ] && echo "exports and imports OK"
exit $status
