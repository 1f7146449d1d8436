#!/usr/bin/env bash
# Installs the release package into fresh Wine prefixes with its install.cmd, creates the control
# and a task there with the C++ example of each build, and removes the registrations with
# uninstall.cmd. In a 64-bit prefix both controls are registered, each used by a host of its own
# width; in a 32-bit prefix the 32-bit one alone. Without a 32-bit loader only the 64-bit prefix
# is tried, with "install.cmd x64".
# Usage: package-install.sh <zip> <work folder> <64-bit loader> <64-bit example.exe>
#                           [<32-bit loader> <32-bit example.exe>]
set -uo pipefail
zip=$1 work=$2 loader64=$3 example64=$4 loader32=${5:-} example32=${6:-}

fail() { echo "PACKAGE FAILED: $*"; exit 1; }
rm -rf "$work" && mkdir -p "$work" || fail "cannot make $work"
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
# Nothing here needs a display; without one, a new prefix's first start shows no window over the
# tests that share the screen meanwhile.
unset DISPLAY
stop_servers() {
  local prefix
  for prefix in "$work"/prefix-*; do [ -d "$prefix" ] && WINEPREFIX="$prefix" wineserver -k 2>/dev/null; done
}
trap 'stop_servers; rm -rf "$work"' EXIT

(cd "$work" && cmake -E tar xf "$zip") || fail "cannot unpack $zip"
folder=$(find "$work" -mindepth 1 -maxdepth 1 -type d -name 'SkedraXControl-*')
for file in x86/SkedraXControl.ocx x86/SkedraXControl.tlb x64/SkedraXControl.ocx x64/SkedraXControl.tlb \
            SkedraXControl.h README.md LICENSE install.cmd uninstall.cmd; do
  [ -f "$folder/$file" ] || fail "the package lacks $file"
done
cmp -s "$folder/x86/SkedraXControl.tlb" "$folder/x64/SkedraXControl.tlb" || fail "the two type libraries differ"
cp "$example64" "$folder/example64.exe" || fail "cannot copy the 64-bit example"
[ -z "$example32" ] || cp "$example32" "$folder/example32.exe" || fail "cannot copy the 32-bit example"
cd "$folder" || fail "no package folder"

# new_prefix <win32|win64> <loader>: a fresh prefix for the commands that follow.
new_prefix() {
  export WINEPREFIX="$work/prefix-$1" WINEARCH=$1
  "$2" wineboot -i </dev/null >/dev/null 2>&1
  wineserver -w
  [ -f "$WINEPREFIX/system.reg" ] || fail "wineboot did not create the $1 prefix"
}

# uses <loader> <example> <yes|no>: whether the example of that width creates the control.
uses() {
  local output
  output=$("$1" "$2" </dev/null)
  if [ "$3" = yes ]; then
    [[ $output == "1 task(s): Design review"* ]] || fail "$2 in $WINEARCH: unexpected output: $output"
    echo "$WINEARCH, $2: $output"
  else
    [[ $output == *"not registered"* ]] || fail "$2 in $WINEARCH still creates the control: $output"
  fi
}

# run_cmd <loader> <script> [build]: install.cmd or uninstall.cmd through that loader's cmd.
run_cmd() {
  "$1" cmd /c "$2" ${3:-} </dev/null || fail "$2 ${3:-} failed in $WINEARCH"
}

new_prefix win64 "$loader64"
"$loader64" cmd /c install.cmd x128 </dev/null && fail "install.cmd took an unknown build"
if [ -n "$loader32" ]; then
  run_cmd "$loader64" install.cmd
  uses "$loader64" example64.exe yes
  uses "$loader32" example32.exe yes
  run_cmd "$loader64" uninstall.cmd
  uses "$loader64" example64.exe no
  uses "$loader32" example32.exe no

  new_prefix win32 "$loader32"
  run_cmd "$loader32" install.cmd
  uses "$loader32" example32.exe yes
  "$loader32" cmd /c install.cmd x64 </dev/null && fail "install.cmd x64 succeeded on 32-bit Windows"
  run_cmd "$loader32" uninstall.cmd
  uses "$loader32" example32.exe no
else
  run_cmd "$loader64" install.cmd x64
  uses "$loader64" example64.exe yes
  run_cmd "$loader64" uninstall.cmd x64
  uses "$loader64" example64.exe no
fi
echo "PACKAGE PASSED"
