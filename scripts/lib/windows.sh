# Shared by scripts/build-windows and scripts/test: the Windows cross-build in build-windows/
# and its tests under Wine. Sourced after setup.sh, not run.

# Debian's MinGW-w64 compiler (the posix threading flavour), Wine to run what it builds, and
# GoogleTest's sources, which the cross-build compiles for Windows; the libraries the window links
# come from Debian's source packages (windows_deps.sh), whose -dev packages give their versions.
# NSIS makes the installer, and python3-pefile reads the built files' resources back.
TALVORO_WINDOWS_PACKAGES=(g++-mingw-w64-x86-64-posix wine64 googletest
  libsdl2-dev libfreetype-dev libpugixml-dev libstb-dev fonts-dejavu-core fonts-wqy-microhei
  nsis python3-pefile)

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

# Makes the Windows installer, build-windows/talvoro-VERSION-win64-setup.exe, with CPack's NSIS
# generator from what build-windows/ installs; prints its path.
talvoro_package_windows() {
  (cd "$talvoro_root/build-windows" && rm -f talvoro-*-win64-setup.exe &&
    cpack -G NSIS >/dev/null)
  ls "$talvoro_root"/build-windows/talvoro-*-win64-setup.exe
}

# Runs the Windows edition's end-to-end tests: Linux test programs of build/ that start
# build-windows/'s talvoro_gui.exe and virtual mouse under Wine on a private Xvfb and drive them
# with xdotool, install and remove the installer, and read the built files' resources. Both
# builds and the installer must be there.
talvoro_test_windows_window() {
  local installer older="$talvoro_root/build-windows/older-setup"
  installer=$(talvoro_package_windows)
  # The same programs as an older version, for the test of an upgrade in place.
  (cd "$talvoro_root/build-windows" && cpack -G NSIS -B "$older" -D CPACK_PACKAGE_VERSION=0.9.0 \
    -D CPACK_TALVORO_VERSION_QUAD=0.9.0.0 -D CPACK_PACKAGE_FILE_NAME=talvoro-0.9.0-win64-setup \
    >/dev/null)
  # On a machine where Wine has just made its prefix, the window test has once lost the main
  # window from its UI dump while Wine was still settling; a failed entry runs once more, and
  # fails the run if it fails again.
  TALVORO_WINDOWS_BIN="$talvoro_root/build-windows/bin" TALVORO_WINDOWS_INSTALLER="$installer" \
    TALVORO_WINDOWS_OLDER_INSTALLER="$older/talvoro-0.9.0-win64-setup.exe" \
    ctest --test-dir "$talvoro_root/build" -L wine --output-on-failure --repeat until-pass:2
}
