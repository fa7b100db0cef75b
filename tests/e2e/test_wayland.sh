#!/usr/bin/env bash
# On a native Wayland desktop (weston's headless backend with its desktop shell and panel, the
# program on Qt's Wayland platform): the main window's frame fills the space under the panel,
# maximised, since Wayland tells a program no work area; "Nyomtatás" opens the preview and its
# print button the print dialog, each a child of the window that opened it; "Kilépés" ends the
# program with exit code 0, and nothing is logged. The headless backend has no keyboard or
# pointer: everything is pressed through AT-SPI, as a screen reader does.
PROGRAM=$1
OUT=$2
source "$(dirname "$0")/lib.sh"
mkdir -p "$OUT"

PY=/usr/bin/python3
if ! command -v weston >/dev/null || ! ls /usr/lib/*/qt6/plugins/platforms/libqwayland-generic.so >/dev/null 2>&1 \
    || [ ! -x /usr/libexec/at-spi-bus-launcher ] || ! command -v dbus-launch >/dev/null \
    || ! "$PY" -c 'import pyatspi' 2>/dev/null; then
  echo "SKIP: weston, qt6-wayland, at-spi2-core, dbus-x11 or python3-pyatspi missing"
  exit 77
fi
client() { "$PY" "$(dirname "$0")/atspi_client.py" "$@"; }

# The output, and the space weston's desktop shell leaves under its 32-pixel panel.
WIDTH=1366
HEIGHT=768
PANEL=32

unset DISPLAY
export XDG_RUNTIME_DIR="$E2E_TMP/xdg"
mkdir -m 0700 "$XDG_RUNTIME_DIR"
SOCKET=telekado-e2e
weston --backend=headless-backend.so --socket="$SOCKET" --width=$WIDTH --height=$HEIGHT --idle-time=0 \
  --use-pixman --debug >"$E2E_TMP/weston.log" 2>&1 &
WESTON_PID=$!
E2E_PIDS+=($WESTON_PID)
wait_for 20 "weston's socket" test -S "$XDG_RUNTIME_DIR/$SOCKET"
# The desktop shell, with its panel, is a client of its own.
wait_for 20 "weston's desktop shell" pgrep -P "$WESTON_PID" -f weston-desktop-shell

cat >"$E2E_TMP/wayland.tkd" <<'EOF'
{"format": "telekado-bevallas", "version": 1,
 "fields": {"m1": "Kovács Őrs", "m3": "15789934-2-51", "m4": "8365670003", "m27": "1500", "m28": "300"},
 "choices": {"CtlRadioGroup5": 0, "CtlRadioGroup6": 4}}
EOF

start_a11y_bus
# WAYLAND_DEBUG logs every request the program makes to the compositor on its standard error,
# one line each, starting with a time stamp in brackets: they are told apart from messages.
E2E_ALLOWED_WARNINGS='^\[ *[0-9]+\.[0-9]+\]'
start_app env QT_QPA_PLATFORM=wayland WAYLAND_DISPLAY="$SOCKET" WAYLAND_DEBUG=1 \
  QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 LANG=hu_HU.UTF-8 "$PROGRAM" "$E2E_TMP/wayland.tkd"
client wait-app 30
client window "$MAIN_TITLE - wayland.tkd"

requests() { grep -E '^\[ *[0-9]+\.[0-9]+\] +-> ' "$APP_STDERR" || true; }
# The last window geometry (frame included) the main window's surface asked for: "width height".
main_geometry() {
  local surface
  surface=$(requests | grep -m1 -o 'xdg_surface@[0-9]*\.set_window_geometry' | cut -d. -f1)
  [ -n "$surface" ] || return 1
  requests | grep -F "$surface.set_window_geometry" | tail -1 | sed 's/.*(\(.*\))/\1/' | tr -d ' ' \
    | awk -F, '{print $3, $4}'
}
fills_space() { [ "$(main_geometry)" = "$WIDTH $((HEIGHT - PANEL))" ]; }
wait_for 20 "the main window's frame ($(main_geometry)) to fill the space under the panel" fills_space
requests | grep -q 'xdg_toplevel@[0-9]*\.set_maximized()' || fail "the main window did not ask to be maximised"

# Each window after the main one is given a parent: "xdg_toplevel@N.set_parent(xdg_toplevel@M)".
parented_windows() { requests | grep -c 'xdg_toplevel@[0-9]*\.set_parent(xdg_toplevel@[0-9]*)' || true; }
toplevels() { requests | grep -c '\.get_toplevel(new id xdg_toplevel@' || true; }

# "Nyomtatás" runs the preview's loop inside the call: pressed apart, it answers when that ends.
client act menu-item "Nyomtatás" >/dev/null 2>&1 &
E2E_PIDS+=($!)
client window "Előkép"
if WAYLAND_DISPLAY="$SOCKET" weston-screenshooter >/dev/null 2>&1; then
  mv wayland-screenshot-*.png "$OUT/wayland-preview.png" 2>/dev/null || true
fi

# The print dialog shows only when there is a printer.
if lpstat -d 2>/dev/null | grep -q 'system default destination'; then
  client act button "Nyomtat" >/dev/null 2>&1 &
  E2E_PIDS+=($!)
  client window "Nyomtat"
  client act button "Mégsem"
  client no-window "Nyomtat"
else
  echo "no default printer: the print dialog is not opened"
fi
client act button "Bezár"
client no-window "Előkép"

opened=$(toplevels)
parented=$(parented_windows)
[ "$opened" -ge 2 ] || fail "only $opened windows were opened"
[ "$parented" -eq $((opened - 1)) ] \
  || fail "$parented of the $((opened - 1)) windows opened from the main window had a parent"

client act menu-item "Kilépés" >/dev/null 2>&1 &
E2E_PIDS+=($!)
wait_exit "$APP_PID" 20
[ "$EXIT_RC" = 0 ] || fail "exit code $EXIT_RC"
echo "main window $(main_geometry) under a ${PANEL}-pixel panel on ${WIDTH}x$HEIGHT; $parented windows with a parent"
