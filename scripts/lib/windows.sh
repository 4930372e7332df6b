# Shared by scripts/build-windows and scripts/test: the Windows cross-build in build-windows/
# and its tests under Wine. Sourced after setup.sh, not run.

# Debian's MinGW-w64 compiler (the posix threading flavour), Wine to run what it builds, and
# GoogleTest's sources, which the cross-build compiles for Windows; the libraries the window links
# come from Debian's source packages (windows_deps.sh), whose -dev packages give their versions.
TALVORO_WINDOWS_PACKAGES=(g++-mingw-w64-x86-64-posix wine64 googletest
  libsdl2-dev libfreetype-dev libpugixml-dev libstb-dev fonts-dejavu-core fonts-wqy-microhei)

source "$(dirname "${BASH_SOURCE[0]}")/windows_deps.sh"

# Configures and builds build-windows/ with the MinGW toolchain file, after the libraries the
# window links (windows_deps.sh); extra arguments go to CMake. Optimised as the Linux build, but
# without debug information: nothing under Wine reads it, and it is a third of the build's time
# (a debugging build passes -DCMAKE_BUILD_TYPE=RelWithDebInfo).
talvoro_build_windows() {
  talvoro_build_windows_deps
  talvoro_build build-windows -DCMAKE_TOOLCHAIN_FILE="$talvoro_root/cmake/mingw-w64-x86_64.cmake" \
    -DTALVORO_WINDOWS_DEPS="$talvoro_windows_deps_prefix" -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_C_FLAGS_RELEASE="-O2 -DNDEBUG" -DCMAKE_CXX_FLAGS_RELEASE="-O2 -DNDEBUG" "$@"
}

# Runs build-windows/'s tests under Wine. One wineserver serves the whole run, so each test
# program starts in tens of milliseconds rather than seconds.
talvoro_test_windows() {
  local prefix="$talvoro_root/build-windows/wine-prefix" wineserver=/usr/lib/wine/wineserver
  local status=0
  # The prefix is made once; its first boot takes a few seconds. Then, once the server of that
  # boot has gone, a persistent one starts and Wine's own services come up under it before the
  # first test program, whose test list must arrive within ctest's few seconds.
  "$talvoro_root/build-windows/wine-run" cmd /c exit >/dev/null 2>&1 || true
  WINEPREFIX="$prefix" "$wineserver" -w 2>/dev/null || true
  WINEPREFIX="$prefix" "$wineserver" -p 60 || true
  "$talvoro_root/build-windows/wine-run" cmd /c exit >/dev/null 2>&1 || true
  # Now and then Wine fails to start a test program at all (it ends at once with no output);
  # a test that fails is run once more, so only a failure that repeats counts.
  ctest --test-dir "$talvoro_root/build-windows" --output-on-failure -j 2 \
    --repeat until-pass:2 || status=$?
  WINEPREFIX="$prefix" "$wineserver" -k 2>/dev/null || true
  return "$status"
}

# Runs the Windows window's end-to-end tests: a Linux test program of build/ that starts
# build-windows/'s talvoro_gui.exe and virtual mouse under Wine on a private Xvfb and drives them
# with xdotool. Both builds must be there.
talvoro_test_windows_window() {
  TALVORO_WINDOWS_BIN="$talvoro_root/build-windows/bin" \
    ctest --test-dir "$talvoro_root/build" -L wine --output-on-failure
}
