# The libraries the Windows window links (SDL2, FreeType, pugixml), cross-built with MinGW-w64
# from Debian's own source packages at exactly the versions the Linux build uses, once, into
# build-windows/deps/. Sourced after setup.sh and windows.sh, not run.

# Source package, and the -dev package whose version it must match.
TALVORO_WINDOWS_DEPS=(libsdl2:libsdl2-dev freetype:libfreetype-dev pugixml:libpugixml-dev)
talvoro_windows_deps_prefix="$talvoro_root/build-windows/deps/prefix"

# Lets apt fetch sources from the same Debian archive the machine installs from: a deb-src twin
# of every deb entry in debian.sources (deb822) and sources.list (one-line form).
talvoro_enable_debian_sources() {
  local list=/etc/apt/sources.list.d/talvoro-sources.sources
  [ -f "$list" ] && return 0
  local as_root=()
  if [ "$(id -u)" -ne 0 ]; then
    if command -v sudo >/dev/null 2>&1 && sudo -n true 2>/dev/null; then
      as_root=(sudo)
    else
      echo "Debian's source packages are needed; run this once as root:" >&2
      echo "  printf 'Types: deb-src\\nURIs: http://deb.debian.org/debian\\nSuites: $(. /etc/os-release && echo "$VERSION_CODENAME")\\nComponents: main\\nSigned-By: /usr/share/keyrings/debian-archive-keyring.gpg\\n' > $list" >&2
      exit 1
    fi
  fi
  local entries=""
  if [ -f /etc/apt/sources.list.d/debian.sources ]; then
    entries=$(sed 's/^Types: deb$/Types: deb-src/' /etc/apt/sources.list.d/debian.sources)
  fi
  if [ -f /etc/apt/sources.list ]; then
    while read -r type uri suite components; do
      [ "$type" = deb ] || continue
      entries+=$'\n\n'"Types: deb-src"$'\n'"URIs: $uri"$'\n'"Suites: $suite"$'\n'"Components: $components"
    done < <(grep -E '^deb ' /etc/apt/sources.list)
  fi
  if [ -z "$entries" ]; then
    echo "No Debian archive found in /etc/apt to fetch sources from" >&2
    exit 1
  fi
  printf '%s\n' "$entries" | "${as_root[@]}" tee "$list" >/dev/null
  "${as_root[@]}" apt-get update -qq
}

# CMake options of each library: static, and nothing the program does not use.
talvoro_windows_dep_options() {
  case $1 in
    libsdl2) echo "-DSDL_SHARED=OFF -DSDL_STATIC=ON -DSDL_TEST=OFF -DSDL2_DISABLE_SDL2MAIN=OFF" ;;
    freetype) echo "-DBUILD_SHARED_LIBS=OFF -DFT_DISABLE_ZLIB=ON -DFT_DISABLE_BZIP2=ON \
-DFT_DISABLE_PNG=ON -DFT_DISABLE_HARFBUZZ=ON -DFT_DISABLE_BROTLI=ON" ;;
    pugixml) echo "-DBUILD_SHARED_LIBS=OFF -DPUGIXML_BUILD_TESTS=OFF" ;;
  esac
}

# Builds each library whose stamp (source package and version) is missing; stb, headers only,
# is copied from Debian's libstb-dev.
talvoro_build_windows_deps() {
  local deps="$talvoro_root/build-windows/deps" entry source dev version stamp tree
  local jobs
  jobs=$(nproc 2>/dev/null || echo 2)
  mkdir -p "$deps/src" "$talvoro_windows_deps_prefix/include/stb"
  cp -u /usr/include/stb/*.h "$talvoro_windows_deps_prefix/include/stb/"
  for entry in "${TALVORO_WINDOWS_DEPS[@]}"; do
    source=${entry%%:*}
    dev=${entry#*:}
    version=$(dpkg-query -W -f='${Version}' "$dev")
    stamp="$deps/$source-$version.built"
    [ -f "$stamp" ] && continue
    talvoro_enable_debian_sources
    echo "Cross-building $source $version from Debian's source package"
    rm -rf "$deps/src/$source" "$deps/build/$source"
    mkdir -p "$deps/src/$source"
    (cd "$deps/src/$source" && apt-get source -qq --only-source "$source=$version" >/dev/null)
    # The one folder apt-get unpacked: <source>-<upstream version>.
    tree=$(find "$deps/src/$source" -mindepth 1 -maxdepth 1 -type d | head -n 1)
    if [ -z "$tree" ] || [ ! -f "$tree/CMakeLists.txt" ]; then
      echo "apt-get source $source=$version gave no CMake tree" >&2
      exit 1
    fi
    # shellcheck disable=SC2046 # the options are words
    cmake -S "$tree" -B "$deps/build/$source" -G Ninja -DCMAKE_BUILD_TYPE=Release \
      -DCMAKE_TOOLCHAIN_FILE="$talvoro_root/cmake/mingw-w64-x86_64.cmake" \
      -DCMAKE_INSTALL_PREFIX="$talvoro_windows_deps_prefix" \
      $(talvoro_windows_dep_options "$source") >/dev/null
    cmake --build "$deps/build/$source" -j "$jobs" >/dev/null
    cmake --install "$deps/build/$source" >/dev/null
    rm -f "$deps/$source"-*.built
    touch "$stamp"
  done
}
