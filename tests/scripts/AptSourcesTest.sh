#!/usr/bin/env bash
# The bootstrap's handling of a mirror whose index of one suite fails: which suites it leaves out,
# given apt-get update's output, and the apt-get calls it then makes. A stand-in apt-get replays
# recorded output, so nothing reaches the network.
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
. "$here/../../scripts/apt-sources.sh"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
passed=0 failed=0

check() {
  local name=$1 want=$2 got=$3
  if [ "$want" == "$got" ]; then
    passed=$((passed + 1))
  else
    failed=$((failed + 1))
    printf 'FAILED: %s\n--- wanted\n%s\n--- got\n%s\n' "$name" "$want" "$got"
  fi
}

mid_sync='Hit:1 http://deb.debian.org/debian bookworm InRelease
Get:2 http://deb.debian.org/debian bookworm-updates InRelease [55.4 kB]
Get:3 http://deb.debian.org/debian-security bookworm-security InRelease [48.0 kB]
Ign:6 http://deb.debian.org/debian-security bookworm-security/main i386 Packages
Get:6 http://deb.debian.org/debian-security bookworm-security/main i386 Packages [376 kB]
Err:6 http://deb.debian.org/debian-security bookworm-security/main i386 Packages
  File has unexpected size (374820 != 376004). Mirror sync in progress? [IP: 203.0.113.80 80]
Fetched 8930 kB in 1s (6791 kB/s)
Reading package lists...
E: Failed to fetch http://deb.debian.org/debian-security/dists/bookworm-security/main/binary-i386/Packages.xz  File has unexpected size (374820 != 376004). Mirror sync in progress? [IP: 203.0.113.80 80]
E: Some index files failed to download. They have been ignored, or old ones used instead.'

check "a failed package index names its suite once" \
  "http://deb.debian.org/debian-security bookworm-security" "$(failed_suites <<<"$mid_sync")"

check "a failed release file names its suite; ignored tries do not" \
  "http://ftp.example.org/debian bookworm-updates" \
  "$(failed_suites <<'EOF'
Ign:1 http://ftp.example.org/debian bookworm InRelease
Hit:1 http://ftp.example.org/debian bookworm InRelease
Err:2 http://ftp.example.org/debian/ bookworm-updates InRelease
  Connection failed [IP: 192.0.2.1 80]
E: Failed to fetch http://ftp.example.org/debian/dists/bookworm-updates/InRelease  Connection failed
EOF
)"

check "a clean update names no suite" "" "$(failed_suites <<<'Hit:1 http://deb.debian.org/debian bookworm InRelease')"

mkdir -p "$work/etc/sources.list.d"
cat >"$work/etc/sources.list.d/debian.sources" <<'EOF'
Types: deb
URIs: http://deb.debian.org/debian
Suites: bookworm bookworm-updates
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg

Types: deb
# the security archive
URIs: http://deb.debian.org/debian-security/
Suites: bookworm-security
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
EOF
cat >"$work/etc/sources.list" <<'EOF'
# one-line entries
deb http://deb.debian.org/debian-security bookworm-security main
deb [arch=amd64,i386 signed-by=/k.gpg] http://deb.debian.org/debian bookworm-updates main
deb http://deb.debian.org/debian bookworm main
EOF
cp "$work/etc/sources.list.d/debian.sources" "$work/etc/sources.list.d/extra.list.disabled"

lists_before=$(cd "$work/etc" && md5sum sources.list sources.list.d/*)
printf 'http://deb.debian.org/debian-security bookworm-security\nhttp://deb.debian.org/debian bookworm-updates\n' \
  >"$work/failed"
filter_sources "$work/failed" "$work/etc/sources.list" "$work/etc/sources.list.d" "$work/out"

check "deb822: the failed suites leave their blocks, a block with no suite left goes" \
  "Types: deb
URIs: http://deb.debian.org/debian
Suites: bookworm
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg" "$(cat "$work/out/sources.list.d/debian.sources")"

check "one-line entries of failed suites go, options and all" \
  "# one-line entries
deb http://deb.debian.org/debian bookworm main" "$(cat "$work/out/sources.list")"

check "files that apt does not read are not copied" "debian.sources" "$(ls "$work/out/sources.list.d")"

check "the machine's lists stay as they were" "$lists_before" \
  "$(cd "$work/etc" && md5sum sources.list sources.list.d/*)"

# A stand-in apt-get: each update prints the recorded output and fails until the call whose number
# is in $work/updates-fail-until; every call is logged with its options.
mkdir -p "$work/bin"
cat >"$work/bin/apt-get" <<EOF
#!/usr/bin/env bash
echo "\$*" >>"$work/calls"
n=\$(grep -c ' update\|^update' "$work/calls")
if [[ " \$* " == *" update "* ]] && [ "\$n" -le "\$(cat "$work/updates-fail-until")" ]; then
  cat "$work/update-output"
  exit 100
fi
EOF
chmod +x "$work/bin/apt-get"

run_bootstrap_install() {
  : >"$work/calls"
  echo "$1" >"$work/updates-fail-until"
  printf '%s\n' "$2" >"$work/update-output"
  (
    PATH="$work/bin:$PATH" SUDO="" SKX_APT_RETRY_PAUSE=0 APT_UPDATED=0 APT_OPTS=()
    APT_SOURCE_LIST="$work/etc/sources.list" APT_SOURCE_PARTS="$work/etc/sources.list.d"
    apt_install wine wine32:i386 >"$work/said" 2>&1
  )
  echo "rc=$?"
  sed -E "s#/tmp/[^/ ]+#TMP#g" "$work/calls"
}

check "an update that fails once is tried again; the install uses the machine's lists" \
  "rc=0
update -q
update -q
install -y -q --no-install-recommends wine wine32:i386" "$(run_bootstrap_install 1 "$mid_sync")"

check "an index that keeps failing: three tries, then update and install from the other suites" \
  "rc=0
update -q
update -q
update -q
-o Dir::Etc::SourceList=TMP/sources.list -o Dir::Etc::SourceParts=TMP/sources.list.d update -q
-o Dir::Etc::SourceList=TMP/sources.list -o Dir::Etc::SourceParts=TMP/sources.list.d install -y -q --no-install-recommends wine wine32:i386" \
  "$(run_bootstrap_install 3 "$mid_sync")"
check "the bootstrap says which suite it left out and why" 1 \
  "$(grep -c 'leaving out suite bookworm-security of http://deb.debian.org/debian-security: its index did not download' "$work/said")"

check "an update that fails with no suite to blame stops the bootstrap" "rc=1
update -q
update -q
update -q" "$(run_bootstrap_install 3 'E: Could not get lock /var/lib/apt/lists/lock')"

every_suite='Err:1 http://deb.debian.org/debian bookworm InRelease
Err:2 http://deb.debian.org/debian bookworm-updates InRelease
Err:3 http://deb.debian.org/debian-security bookworm-security InRelease
Err:4 http://deb.debian.org/debian-security bookworm-security/main i386 Packages'
check "when every suite fails there is nothing to install from" "rc=1
update -q
update -q
update -q" "$(run_bootstrap_install 3 "$every_suite")"

check "the private lists are gone after the bootstrap" "" "$(ls -d "${TMPDIR:-/tmp}"/tmp.* 2>/dev/null | while read -r d; do [ -d "$d/sources.list.d" ] && echo "$d"; done)"

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
