# Sourced by the scripts: what this machine can run. SKX_NO_I386=1 takes the path of a machine
# whose kernel refuses 32-bit x86 programs, so that path can be tried anywhere.
runs_32bit_programs() {
  [ "${SKX_NO_I386:-0}" != 1 ] && /usr/lib/wine/wine --version >/dev/null 2>&1
}
