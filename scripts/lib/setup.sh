# Shared set-up of scripts/run and scripts/test: install the Debian packages
# the build needs, then configure and build. Sourced, not run.

# Debian packages the build, the tests and the benchmarks need.
TALVORO_PACKAGES=(
  build-essential cmake ninja-build pkg-config
  libgtest-dev libgmock-dev libbenchmark-dev
  libglib2.0-dev libglib2.0-bin gsettings-desktop-schemas
  libsystemd-dev
  libstb-dev libfreetype-dev libfontconfig-dev fonts-dejavu-core fonts-wqy-microhei
  libpugixml-dev
  libsdl2-dev libwayland-dev xvfb xdotool weston
  groff-base bash-completion
  dpkg-dev file desktop-file-utils appstream lintian
)

talvoro_root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)

# Installs whatever of "$@" is missing: through apt-get as root, else it
# prints the one command to run and stops.
talvoro_install_packages() {
  local missing=() package
  for package in "$@"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
      missing+=("$package")
    fi
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  if [ "$(id -u)" -ne 0 ]; then
    if command -v sudo >/dev/null 2>&1 && sudo -n true 2>/dev/null; then
      sudo apt-get update -qq && sudo DEBIAN_FRONTEND=noninteractive \
        apt-get install -y -qq --no-install-recommends "${missing[@]}"
      return
    fi
    echo "Missing packages. Install them with:" >&2
    echo "  sudo apt-get install ${missing[*]}" >&2
    exit 1
  fi
  echo "Installing ${missing[*]}"
  apt-get update -qq && DEBIAN_FRONTEND=noninteractive \
    apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
}

# Configures and builds into $1 (a folder of the repo) with extra CMake arguments.
talvoro_build() {
  local dir=$1
  shift
  local jobs
  jobs=$(nproc 2>/dev/null || echo 2)
  cmake -S "$talvoro_root" -B "$talvoro_root/$dir" -G Ninja "$@" >/dev/null
  cmake --build "$talvoro_root/$dir" -j "$jobs"
}
