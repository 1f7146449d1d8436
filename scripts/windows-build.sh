# Sourced by the scripts that configure the Windows builds (MinGW-w64, Release), from the root of
# the sources.
. "$(dirname "${BASH_SOURCE[0]}")/machine.sh"

# wine_prefix_if_tested <build folder>: where the build runs programs under Wine, makes its Wine
# prefix (once) and keeps a wineserver up for it.
wine_prefix_if_tested() {
  if grep -q '^SKX_WINE_TESTS:BOOL=ON' "$1/CMakeCache.txt"; then
    bash scripts/wine-prefix.sh "$1"
  fi
}

# configure_windows_build <build folder> <toolchain file> [cmake arguments]: configures the build
# and its Wine prefix.
configure_windows_build() {
  local build=$1 toolchain=$2
  shift 2
  cmake -S . -B "$build" -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DCMAKE_BUILD_TYPE=Release "$@" >/dev/null
  wine_prefix_if_tested "$build"
}

# configure_i686: build/mingw32, the shipped control, whose release package carries the control of
# the x86_64 build (build/mingw64, which has built it by then) too. Where 32-bit programs do not
# run, it runs nothing under Wine but the package test's 64-bit half and takes the type library
# of the x86_64 build. Both settings are given either way: the build folder keeps them from one
# run to the next.
configure_i686() {
  local x64="-DSKX_PACKAGE_X64_BIN=$(realpath build/mingw64/bin)"
  if runs_32bit_programs; then
    configure_windows_build build/mingw32 cmake/mingw-w64-i686.cmake -DSKX_WINE_TESTS=ON -DSKX_TYPELIB_FILE= "$x64"
  else
    configure_windows_build build/mingw32 cmake/mingw-w64-i686.cmake -DSKX_WINE_TESTS=OFF \
      -DSKX_TYPELIB_FILE="$(realpath build/mingw64/SkedraXControl_TLB/SkedraXControl.tlb)" "$x64"
  fi
}
