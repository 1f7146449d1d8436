# Sourced by bootstrap.sh: apt-get update and install that survive a mirror whose index of one
# suite fails to download (a mirror mid-sync). Installing from the remaining indexes alone would
# mix suites of different ages between amd64 and i386, which Wine's multi-arch libraries refuse;
# so a suite whose index failed for any architecture is left out for every architecture, through a
# private copy of the source lists. The machine's own apt configuration is never changed.

# Reads apt-get update's output; prints "URI SUITE" for each suite with an index that failed.
failed_suites() {
  awk '
    /^Err:[0-9]+ / {
      uri = $2; sub(/\/+$/, "", uri)
      split($3, s, "/"); print uri, s[1]; next
    }
    /^E: Failed to fetch / {
      url = $5
      if (match(url, /\/dists\/[^\/]+\//)) {
        uri = substr(url, 1, RSTART - 1)
        suite = substr(url, RSTART + 7, RLENGTH - 8)
        print uri, suite
      }
    }' | sort -u
}

# Copies the source lists in $2 (a file in one-line format) and $3 (a folder of .list and
# .sources files) into the folder $4, leaving out the "URI SUITE" pairs listed in the file $1.
# A deb822 block loses the failed suite from its Suites field, and the whole block when no suite
# is left; a one-line entry of a failed suite is dropped.
filter_sources() {
  local failed=$1 list=$2 parts=$3 out=$4 f
  mkdir -p "$out/sources.list.d"
  if [ -f "$list" ]; then
    filter_one_line "$failed" "$list" >"$out/sources.list"
  else
    : >"$out/sources.list"
  fi
  for f in "$parts"/*.list; do
    [ -f "$f" ] && filter_one_line "$failed" "$f" >"$out/sources.list.d/$(basename "$f")"
  done
  for f in "$parts"/*.sources; do
    [ -f "$f" ] && filter_deb822 "$failed" "$f" >"$out/sources.list.d/$(basename "$f")"
  done
  return 0
}

filter_one_line() {
  awk 'NR == FNR { bad[$1 " " $2] = 1; next }
    /^[ \t]*deb(-src)?[ \t]/ {
      n = 2
      if ($2 ~ /^\[/) { while (n <= NF && $n !~ /\]$/) n++; n++ }
      uri = $n; sub(/\/+$/, "", uri)
      if ((uri " " $(n + 1)) in bad) next
    }
    { print }' "$1" "$2"
}

filter_deb822() {
  awk 'NR == FNR { bad[$1 " " $2] = 1; next }
    function flush(   i, n, u, s, kept, line, keep) {
      if (nlines == 0) return
      kept = ""; n = split(suites, s, /[ \t]+/)
      for (i = 1; i <= n; i++) {
        if (s[i] == "") continue
        keep = 1
        for (u = 1; u <= nuris; u++) if ((uris[u] " " s[i]) in bad) keep = 0
        if (keep) kept = kept (kept == "" ? "" : " ") s[i]
      }
      if (suites == "" || kept != "") {
        if (printed) print ""
        for (i = 1; i <= nlines; i++) {
          line = lines[i]
          if (line ~ /^Suites:/) line = "Suites: " kept
          print line
        }
        printed = 1
      }
      nlines = 0; nuris = 0; suites = ""
    }
    /^[ \t]*$/ { flush(); next }
    {
      lines[++nlines] = $0
      if ($1 == "URIs:") for (i = 2; i <= NF; i++) { u = $i; sub(/\/+$/, "", u); uris[++nuris] = u }
      if ($1 == "Suites:") { suites = $0; sub(/^Suites:[ \t]*/, "", suites) }
    }
    END { flush() }' "$1" "$2"
}

# The machine's source lists (a test points them elsewhere).
APT_SOURCE_LIST=${APT_SOURCE_LIST:-/etc/apt/sources.list}
APT_SOURCE_PARTS=${APT_SOURCE_PARTS:-/etc/apt/sources.list.d}

# apt-get options for the installs that follow apt_update (empty while every index came through).
APT_OPTS=()
APT_UPDATED=0
APT_DIR=""

# apt-get update, retried while an index fails; at the end, the sources whose indexes failed are
# left out through a private copy of the lists in $APT_DIR, and APT_OPTS points apt-get at it.
apt_update() {
  [ "$APT_UPDATED" = 1 ] && return 0
  local try log failed
  log=$(mktemp)
  for try in 1 2 3; do
    if $SUDO apt-get update -q >"$log" 2>&1 && ! grep -q '^E: \|^Err:' "$log"; then
      rm -f "$log"
      APT_UPDATED=1
      return 0
    fi
    echo "bootstrap: apt-get update failed (try $try of 3)"
    [ "$try" -lt 3 ] && sleep "${SKX_APT_RETRY_PAUSE:-10}"
  done
  failed=$(mktemp)
  failed_suites <"$log" >"$failed"
  if [ ! -s "$failed" ]; then
    cat "$log" >&2
    rm -f "$log" "$failed"
    echo "bootstrap: apt-get update failed, and no single suite is to blame" >&2
    return 1
  fi
  grep '^E: ' "$log" | sed 's/^/bootstrap:   /'
  while read -r uri suite; do
    echo "bootstrap: leaving out suite $suite of $uri: its index did not download (mirror mid-sync?);" \
      "both architectures install from the other suites, and the machine's apt configuration stays as it is"
  done <"$failed"
  APT_DIR=$(mktemp -d)
  trap 'rm -rf "$APT_DIR"' EXIT
  filter_sources "$failed" "$APT_SOURCE_LIST" "$APT_SOURCE_PARTS" "$APT_DIR"
  rm -f "$log" "$failed"
  if ! grep -rqE '^[[:space:]]*(deb[[:space:]]|Suites:[[:space:]]*[^[:space:]])' "$APT_DIR"; then
    echo "bootstrap: apt-get update failed for every suite; is the package mirror reachable?" >&2
    return 1
  fi
  APT_OPTS=(-o "Dir::Etc::SourceList=$APT_DIR/sources.list" -o "Dir::Etc::SourceParts=$APT_DIR/sources.list.d")
  $SUDO apt-get "${APT_OPTS[@]}" update -q
  APT_UPDATED=1
}

apt_install() {
  apt_update || return 1
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get "${APT_OPTS[@]}" install -y -q --no-install-recommends "$@"
}
