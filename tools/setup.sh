# Shared set-up of run.sh and test.sh: installs missing Debian packages, configures and
# builds in build/. Sourced, not run.
set -euo pipefail

TK_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
TK_BUILD="$TK_ROOT/build"

TK_PACKAGES=(
  g++ cmake ninja-build pkg-config qt6-base-dev libgl-dev libx11-dev libxcb1-dev
  fonts-liberation fonts-dejavu-core
  xvfb xdotool x11-utils imagemagick
  libbenchmark-dev libxml2-utils
  cups cups-client cups-bsd printer-driver-cups-pdf poppler-utils
  clang libclang-rt-14-dev
)

tk_sudo() {
  if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

tk_install_packages() {
  local missing=()
  local p
  for p in "${TK_PACKAGES[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
      missing+=("$p")
    fi
  done
  if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    tk_sudo apt-get update
    tk_sudo env DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends "${missing[@]}"
  fi
}

tk_build() {
  if [ ! -f "$TK_BUILD/CMakeCache.txt" ]; then
    cmake -S "$TK_ROOT" -B "$TK_BUILD" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
  fi
  cmake --build "$TK_BUILD" --parallel "$(nproc)" "$@"
}
