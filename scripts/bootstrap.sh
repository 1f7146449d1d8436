#!/usr/bin/env bash
# Installs what a fresh Debian 12 machine lacks for building and testing, and nothing more.
set -euo pipefail

need=()
SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO="sudo"
have_pkg() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q 'install ok installed'; }
. "$(dirname "$0")/apt-sources.sh"

for p in cmake make g++ g++-mingw-w64-i686 g++-mingw-w64-x86-64 mingw-w64-tools googletest libbenchmark-dev wine wine32:i386 wine64 fonts-wine \
         xvfb xauth x11-apps imagemagick locales; do
  have_pkg "$p" || need+=("$p")
done

if [ ${#need[@]} -gt 0 ]; then
  if ! dpkg --print-foreign-architectures | grep -qx i386; then
    $SUDO dpkg --add-architecture i386
  fi
  echo "bootstrap: installing ${need[*]}"
  apt_install "${need[@]}"
else
  echo "bootstrap: all packages present"
fi

# A machine whose kernel refuses 32-bit programs cannot run 32-bit Wine; the tests then run the
# portable suite as a 32-bit program under qemu-i386 instead.
. "$(dirname "$0")/machine.sh"
if ! runs_32bit_programs; then
  extra=()
  for p in g++-multilib qemu-user; do have_pkg "$p" || extra+=("$p"); done
  if [ ${#extra[@]} -gt 0 ]; then
    echo "bootstrap: 32-bit programs do not run here; installing ${extra[*]}"
    apt_install "${extra[@]}"
  fi
fi

# A second user locale for the Windows-side locale test (Wine takes the user locale from LANG).
if ! locale -a 2>/dev/null | grep -qi '^de_DE\.utf-\?8$'; then
  echo "bootstrap: generating the de_DE.UTF-8 locale"
  $SUDO localedef -i de_DE -f UTF-8 de_DE.UTF-8
fi
