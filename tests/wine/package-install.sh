#!/usr/bin/env bash
# Installs the release package into a fresh Wine prefix with its install.cmd, creates the control
# and a task there with the C++ example, and removes the registration with uninstall.cmd.
# Usage: package-install.sh <zip> <example.exe> <wine loader> <win32|win64> <work folder>
set -uo pipefail
zip=$1 example=$2 loader=$3 arch=$4 work=$5

fail() { echo "PACKAGE FAILED: $*"; exit 1; }
rm -rf "$work" && mkdir -p "$work" || fail "cannot make $work"
export WINEPREFIX="$work/prefix" WINEARCH=$arch WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
# Nothing here needs a display; without one, the new prefix's first start shows no window over
# the tests that share the screen meanwhile.
unset DISPLAY
trap 'wineserver -k 2>/dev/null; rm -rf "$work"' EXIT

(cd "$work" && cmake -E tar xf "$zip") || fail "cannot unpack $zip"
folder=$(find "$work" -mindepth 1 -maxdepth 1 -type d -name 'SkedraXControl-*')
for file in SkedraXControl.ocx SkedraXControl.tlb SkedraXControl.h README.md LICENSE install.cmd uninstall.cmd; do
  [ -f "$folder/$file" ] || fail "the package lacks $file"
done
cp "$example" "$folder/" || fail "cannot copy the example"

"$loader" wineboot -i </dev/null >/dev/null 2>&1
wineserver -w
[ -f "$WINEPREFIX/system.reg" ] || fail "wineboot did not create the prefix"
registered() { "$loader" reg query 'HKCR\SkedraXControl.SkedraX\CLSID' </dev/null >/dev/null 2>&1; }

cd "$folder" || fail "no package folder"
"$loader" cmd /c install.cmd </dev/null || fail "install.cmd failed"
registered || fail "install.cmd registered no SkedraXControl.SkedraX"
output=$("$loader" "$(basename "$example")" </dev/null) || fail "the example failed: $output"
echo "$output"
[[ $output == "1 task(s): Design review"* ]] || fail "unexpected output from the example"
"$loader" cmd /c uninstall.cmd </dev/null || fail "uninstall.cmd failed"
registered && fail "uninstall.cmd left SkedraXControl.SkedraX registered"
echo "PACKAGE PASSED"
