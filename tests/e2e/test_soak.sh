#!/usr/bin/env bash
# Long use under openbox, keyboard only: CYCLES times (300 unless TK_SOAK_CYCLES says otherwise)
# change an area, open the preview (Alt+N), go to page 2 (End), zoom to 200% and back to 100% in
# the zoom box, close it (Esc). The resident size and the heap are sampled every 50 cycles; after
# the first 50 the resident size grows by less than 1 KB a cycle on average. By hand,
# TK_SOAK_WRAPPER runs the program under a tool (for example "heaptrack -o FILE"); the sizes are
# then the tool's own process's and are not checked.
PROGRAM=$1
OUT=$2
source "$(dirname "$0")/lib.sh"
mkdir -p "$OUT"

CYCLES=${TK_SOAK_CYCLES:-300}
# Under a tool the program is not the process ended first, and it sees its display go.
if [ -n "${TK_SOAK_WRAPPER:-}" ]; then E2E_ALLOWED_WARNINGS='The X11 connection broke'; fi
EVERY=50
[ "$CYCLES" -ge $((2 * EVERY)) ] || fail "TK_SOAK_CYCLES must be at least $((2 * EVERY))"

# A taxpayer without findings, so that "Nyomtatás" goes straight to the preview.
cat >"$E2E_TMP/soak.tkd" <<'EOF'
{"format": "telekado-bevallas", "version": 1,
 "fields": {"m1": "Kovács Őrs", "m3": "15789934-2-51", "m4": "8365670003", "m27": "1500", "m28": "300"},
 "choices": {"CtlRadioGroup5": 0, "CtlRadioGroup6": 4}}
EOF

keys() { xdotool key --delay 30 "$@"; }
# Resident size and heap of the program, in kB.
rss_kb() { awk '/^VmRSS:/ {print $2}' "/proc/$APP_PID/status"; }
heap_kb() { awk '/\[heap\]/ {h = 1; next} h && /^Rss:/ {print $2; exit}' "/proc/$APP_PID/smaps"; }

start_xvfb 1280x1024x24
start_openbox
start_app env LANG=hu_HU.UTF-8 ${TK_SOAK_WRAPPER:-} "$PROGRAM" "$E2E_TMP/soak.tkd"
W=$(wait_window "$MAIN_TITLE_RE")
xdotool windowfocus --sync "$W"
sleep 0.5
# Past the taxpayer's fields and sections I and II to the first area of section III.
for ((i = 0; i < 30; i++)); do keys Tab; done

PREVIEW_RE='^El.*k.*p$'
declare -a RSS
printf '%8s %12s %12s\n' cycles 'VmRSS kB' 'heap kB'
sample() {
  local n=$1
  RSS[$n]=$(rss_kb)
  printf '%8d %12d %12d\n' "$n" "${RSS[$n]}" "$(heap_kb)"
}
sample 0
for ((c = 1; c <= CYCLES; c++)); do
  # Two values in turn: the growth must not depend on what is typed.
  keys End BackSpace BackSpace BackSpace BackSpace BackSpace BackSpace
  keys $(sed 's/./& /g' <<<"$((1500 + c % 2))") Tab
  keys alt+n
  P=$(wait_window "$PREVIEW_RE")
  xdotool windowfocus --sync "$P"
  keys End Tab 2 0 0 Return Tab 1 0 0 Return
  keys Escape
  wait_for 20 "the preview of cycle $c to close" no_window "$PREVIEW_RE"
  xdotool windowfocus --sync "$W"
  keys shift+Tab
  if ((c % EVERY == 0)); then
    sleep 0.3
    sample "$c"
  fi
done

last=$((CYCLES / EVERY * EVERY))
growth=$(( (RSS[last] - RSS[EVERY]) * 1024 / (last - EVERY) ))
echo "average growth after the first $EVERY cycles: $growth bytes a cycle over $((last - EVERY)) cycles"
[ -n "${TK_SOAK_WRAPPER:-}" ] || [ "$growth" -lt 1024 ] || fail "the resident size grows by $growth bytes a cycle"
kill -0 "$APP_PID" || fail "the program ended"
