# Shared set-up of run.sh, test.sh and package.sh: installs missing Debian packages, configures and
# builds in build/. Sourced, not run.
set -euo pipefail

TK_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
TK_BUILD="$TK_ROOT/build"

TK_PACKAGES=(
  g++ cmake ninja-build pkg-config qt6-base-dev qt6-base-private-dev libgl-dev libx11-dev libxcb1-dev
  fonts-liberation fonts-dejavu-core fonts-wine qt6-translations-l10n
  xvfb xdotool x11-utils x11-xserver-utils imagemagick openbox xclip
  at-spi2-core dbus-x11 python3-pyatspi
  orca speech-dispatcher speech-dispatcher-audio-plugins libasound2 libasound2-data
  libbenchmark-dev libxml2-utils
  cups cups-client cups-bsd cups-ipp-utils printer-driver-cups-pdf poppler-utils
  tesseract-ocr tesseract-ocr-hun
  libzxing-dev libpoppler-qt6-dev qt6-image-formats-plugins zbar-tools qrencode img2pdf qpdf
  clang libclang-rt-14-dev
  dpkg-dev file lintian desktop-file-utils appstream shared-mime-info man-db
  xdg-utils libfile-mimeinfo-perl
  weston qt6-wayland
  libreoffice-calc-nogui
  devscripts
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

# Starts a print server with the cups-pdf printer "PDF" as the system default and a second
# cups-pdf printer "PDF2" (tests choose between printers), unless one is already running with
# them. Sets TK_CUPSD_PID when it started one (tk_stop_cups stops it).
TK_CUPSD_PID=""
tk_start_cups() {
  if ! lpstat -r 2>/dev/null | grep -q 'is running'; then
    tk_sudo mkdir -p /run/cups
    # Started directly (not through a function) so that $! is the server itself.
    if [ "$(id -u)" -eq 0 ]; then
      /usr/sbin/cupsd -f >/dev/null 2>&1 &
    else
      sudo /usr/sbin/cupsd -f >/dev/null 2>&1 &
    fi
    TK_CUPSD_PID=$!
    local i
    for i in $(seq 1 100); do
      lpstat -r 2>/dev/null | grep -q 'is running' && break
      sleep 0.1
    done
  fi
  local q
  for q in PDF PDF2; do
    if ! lpstat -p "$q" >/dev/null 2>&1; then
      tk_sudo lpadmin -p "$q" -v cups-pdf:/ -P /usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd -E
    fi
    # Without the cairo renderer the PDF loses its text layer.
    tk_sudo lpadmin -p "$q" -o pdftops-renderer-default=pdftocairo
  done
  tk_sudo lpadmin -d PDF
  lpstat -p -d || true
}

tk_stop_cups() {
  if [ -n "$TK_CUPSD_PID" ]; then
    tk_sudo kill "$TK_CUPSD_PID" 2>/dev/null || true
    wait "$TK_CUPSD_PID" 2>/dev/null || true
    TK_CUPSD_PID=""
  fi
}
