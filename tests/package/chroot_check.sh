#!/usr/bin/env bash
# By hand, not part of ctest: proves that the package installs and runs on a Debian 12 that has
# none of the build's packages. Makes a minimal Debian 12 with debootstrap (from the mirror this
# machine's apt uses, or $MIRROR), installs the package there with apt, and runs
# `telekado --version`, `telekado --pdf` and the window under a private Xvfb. Takes several
# minutes and needs root and the network to the mirror.
# Usage: tests/package/chroot_check.sh [PACKAGE.deb]   (default: build/telekado_*.deb)
set -euo pipefail
cd "$(dirname "$0")/../.."
DEB=${1:-$(ls build/telekado_*.deb | sed -n 1p)}
[ -f "$DEB" ] || { echo "no package: run ./package.sh first" >&2; exit 1; }
[ "$(id -u)" -eq 0 ] || { echo "run as root" >&2; exit 1; }
for p in debootstrap xvfb xdotool poppler-utils; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' \
    || DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends "$p"
done
if [ -z "${MIRROR:-}" ]; then
  MIRROR=$(sed -n 's/^URIs: *\([^ ]*\).*/\1/p' /etc/apt/sources.list.d/*.sources 2>/dev/null | grep -v security | sed -n 1p)
  [ -n "$MIRROR" ] || MIRROR=$(sed -n 's/^deb \(\[[^]]*\] \)\{0,1\}\([^ ]*\) bookworm .*/\2/p' /etc/apt/sources.list | sed -n 1p)
fi
[ -n "$MIRROR" ] || { echo "set MIRROR to a Debian mirror" >&2; exit 1; }

ROOT=$(mktemp -d /tmp/telekado-chroot.XXXXXX)
PIDS=()
cleanup() {
  local p
  for p in "${PIDS[@]}"; do kill "$p" 2>/dev/null || true; done
  umount "$ROOT/tmp/.X11-unix" 2>/dev/null || true
  umount "$ROOT/proc" 2>/dev/null || true
  rm -rf --one-file-system "$ROOT"
}
trap cleanup EXIT

echo "== debootstrap bookworm (minbase) from $MIRROR"
debootstrap --variant=minbase bookworm "$ROOT" "$MIRROR" >"$ROOT.log" 2>&1 || { tail -20 "$ROOT.log"; exit 1; }
rm -f "$ROOT.log"
cp /etc/resolv.conf "$ROOT/etc/resolv.conf"
mount -t proc proc "$ROOT/proc"
cp "$DEB" "$ROOT/tmp/telekado.deb"
in_root() { chroot "$ROOT" env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin HOME=/root LANG=C.UTF-8 "$@"; }

echo "== apt-get install ./$(basename "$DEB")"
in_root apt-get update -q
in_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -q /tmp/telekado.deb
echo "== installed packages: $(in_root dpkg-query -W | wc -l)"

cat >"$ROOT/tmp/kovacs.tkd" <<'JSON'
{"format": "telekado-bevallas", "version": 1, "fields": {"m1": "Kovács Őrs"}, "choices": {}}
JSON
echo "== telekado --version"
in_root telekado --version

echo "== telekado --pdf"
in_root telekado --pdf /tmp/kovacs.pdf /tmp/kovacs.tkd
pdfinfo "$ROOT/tmp/kovacs.pdf" | grep -E '^(Pages|Page size):'
pdftotext "$ROOT/tmp/kovacs.pdf" - | grep -F 'Kovács Őrs'
pdffonts "$ROOT/tmp/kovacs.pdf"

echo "== the program on the offscreen platform, 5 seconds"
rc=0
in_root env QT_QPA_PLATFORM=offscreen timeout 5 telekado || rc=$?
[ "$rc" = 124 ] || { echo "FAIL: ended with $rc before the 5 seconds" >&2; exit 1; }

echo "== the window on a private Xvfb"
mkdir -p "$ROOT/tmp/.X11-unix"
mount --bind /tmp/.X11-unix "$ROOT/tmp/.X11-unix"
exec 3< <(Xvfb -displayfd 1 -noreset -screen 0 1280x1024x24 -nolisten tcp 2>/dev/null)
PIDS+=($!)
read -r -t 20 num <&3
in_root env DISPLAY=":$num" telekado /tmp/kovacs.tkd >"$ROOT/tmp/gui.log" 2>&1 &
PIDS+=($!)
DISPLAY=":$num" LC_ALL=C.UTF-8 timeout 30 xdotool search --sync --onlyvisible --name '^Elektronikus nyomtatv' \
  || { cat "$ROOT/tmp/gui.log"; echo "FAIL: no window" >&2; exit 1; }
echo "window shown"
echo "chroot check passed"
