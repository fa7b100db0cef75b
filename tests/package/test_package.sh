#!/usr/bin/env bash
# The Debian package as a user meets it. Builds it with cpack, checks its control data and
# lintian's verdict, installs an older version and this one over it with apt, checks the
# installed program, desktop entry, file type, manual page and metadata, then purges it and
# checks that nothing of either version is left.
# Usage: test_package.sh BUILD_DIR VERSION
# TK_REQUIRE_PACKAGE=1 (set by test.sh) turns every skip into a failure.
BUILD=$1
VERSION=$2
source "$(dirname "$0")/../e2e/lib.sh"

cannot() {
  [ -z "${TK_REQUIRE_PACKAGE:-}" ] || fail "$*"
  echo "SKIP: $*"
  exit 77
}

if [ "$(id -u)" -eq 0 ]; then
  as_root() { "$@"; }
elif sudo -n true 2>/dev/null; then
  as_root() { sudo -n "$@"; }
else
  cannot "installing a package needs root or passwordless sudo; run ./test.sh as root"
fi
for tool in cpack apt-get dpkg-deb lintian desktop-file-validate appstreamcli xdg-mime mimetype \
            man pdfinfo pdftotext readelf ldd flock file hardening-check; do
  command -v "$tool" >/dev/null || cannot "$tool is missing (./test.sh installs it)"
done

# Two runs at once would install and purge under each other's feet.
exec 9>"${TMPDIR:-/tmp}/telekado-package-test.lock"
flock -w 900 9 || fail "another package test holds the lock"

APT=(env DEBIAN_FRONTEND=noninteractive apt-get -y -q -o DPkg::Lock::Timeout=300)
installed_version() { dpkg-query -W -f='${Status} ${Version}' telekado 2>/dev/null | sed -n 's/^install ok installed //p'; }
if [ -n "$(installed_version)" ]; then
  echo "NOTE: telekado $(installed_version) is installed; this test replaces and then purges it"
fi

# Whatever happens, the machine is left without the package.
purge() {
  if dpkg-query -W telekado >/dev/null 2>&1; then
    as_root "${APT[@]}" purge telekado >"$E2E_TMP/purge.log" 2>&1 || cat "$E2E_TMP/purge.log" >&2
  fi
}
trap 'purge; e2e_cleanup' EXIT
# A test stopped by ctest's time limit still purges.
trap 'exit 1' TERM INT HUP

# ---- The package file
ARCH=$(dpkg --print-architecture)
DEB="$BUILD/telekado_${VERSION}_${ARCH}.deb"
rm -f "$DEB"
(cd "$BUILD" && cpack -G DEB) >"$E2E_TMP/cpack.log" 2>&1 || { cat "$E2E_TMP/cpack.log" >&2; fail "cpack failed"; }
[ -f "$DEB" ] || fail "cpack wrote no $(basename "$DEB")"
echo "package: $(basename "$DEB"), $(stat -c %s "$DEB") bytes, Installed-Size $(dpkg-deb -f "$DEB" Installed-Size) KiB"

field() { dpkg-deb -f "$DEB" "$1"; }
[ "$(field Package)" = telekado ] || fail "Package is '$(field Package)'"
[ "$(field Version)" = "$VERSION" ] || fail "Version is '$(field Version)', not $VERSION"
[ "$(field Architecture)" = "$ARCH" ] || fail "Architecture is '$(field Architecture)'"
[ "$(field Section)" = misc ] || fail "Section is '$(field Section)'"
field Maintainer | grep -q '<.*@.*>' || fail "no maintainer address: '$(field Maintainer)'"
description=$(field Description)
grep -q 'land-tax declaration' <<<"$description" || fail "the description has no English text"
grep -q 'telekadó-bevallás' <<<"$description" || fail "the description has no Hungarian text"

# Depends names the fonts, Qt's translations and the package of every library the program is
# linked with.
DEPENDS=$(field Depends)
echo "Depends: $DEPENDS"
depends_on() { tr ',|' '\n\n' <<<"$DEPENDS" | sed 's/^ *//; s/ .*//' | grep -qx "$1"; }
for p in fonts-liberation fonts-wine qt6-translations-l10n; do
  depends_on "$p" || fail "Depends lacks $p"
done
# A Wayland desktop gets Qt's Wayland platform along.
[ "$(field Recommends)" = qt6-wayland ] || fail "Recommends is '$(field Recommends)', not qt6-wayland"
dpkg-deb -x "$DEB" "$E2E_TMP/tree"
BIN="$E2E_TMP/tree/usr/bin/telekado"
[ -x "$BIN" ] || fail "the package has no /usr/bin/telekado"
file -b "$BIN" | grep -q ', stripped' || fail "the program is not stripped: $(file -b "$BIN")"
ldd "$BIN" >"$E2E_TMP/ldd.txt"
! grep -q 'not found' "$E2E_TMP/ldd.txt" || fail "libraries not found: $(grep 'not found' "$E2E_TMP/ldd.txt")"
readelf -d "$BIN" | sed -n 's/.*(NEEDED).*\[\(.*\)\]/\1/p' >"$E2E_TMP/needed.txt"
[ -s "$E2E_TMP/needed.txt" ] || fail "no libraries needed, which cannot be"
while read -r soname; do
  path=$(awk -v s="$soname" '$1 == s { print $3 }' "$E2E_TMP/ldd.txt")
  [ -n "$path" ] || fail "ldd does not resolve $soname"
  owner=""
  for candidate in "$path" "$(readlink -f "$path")" "/usr$path" "${path#/usr}"; do
    owner=$(dpkg-query -S "$candidate" 2>/dev/null | sed -n '1s/:.*//p') && [ -n "$owner" ] && break
  done
  [ -n "$owner" ] || fail "no package holds $path"
  depends_on "$owner" || fail "Depends lacks $owner, the package of $soname"
done <"$E2E_TMP/needed.txt"

# The files the package holds: one desktop entry named by the desktop id, the metainfo under the
# same id, the icon in every size of its folder.
DESKTOP=$(ls "$E2E_TMP"/tree/usr/share/applications/*.desktop 2>/dev/null) || fail "no desktop entry"
[ "$(wc -l <<<"$DESKTOP")" = 1 ] || fail "not one desktop entry: $DESKTOP"
APP_ID=$(basename "$DESKTOP" .desktop)
[ -f "$E2E_TMP/tree/usr/share/metainfo/$APP_ID.metainfo.xml" ] || fail "no metainfo named $APP_ID"
for size in 16 32 48 64 128 256; do
  png="$E2E_TMP/tree/usr/share/icons/hicolor/${size}x${size}/apps/telekado.png"
  file -b "$png" | grep -q "PNG image data, $size x $size," || fail "icon $png is not ${size}x${size}"
done
[ -f "$E2E_TMP/tree/usr/share/icons/hicolor/scalable/apps/telekado.svg" ] || fail "no scalable icon"
appstreamcli validate-tree --no-net "$E2E_TMP/tree" >"$E2E_TMP/tree.txt" 2>&1 \
  || { cat "$E2E_TMP/tree.txt" >&2; fail "appstreamcli validate-tree failed on the package's files"; }

# lintian: neither errors nor warnings (its notes are shown in the log).
lintian --tag-display-limit 0 --display-info "$DEB" >"$E2E_TMP/lintian.txt" 2>&1 || true
cat "$E2E_TMP/lintian.txt"
! grep -q '^[EW]:' "$E2E_TMP/lintian.txt" || fail "lintian reports errors or warnings"
# The program is built with Debian's hardening and installed without the compilers' notes:
# lintian has nothing to say about it.
! grep -qE 'hardening-|binary-has-unneeded-section' "$E2E_TMP/lintian.txt" \
  || fail "lintian: $(grep -E 'hardening-|binary-has-unneeded-section' "$E2E_TMP/lintian.txt")"

# Anything named after the program in the system's folders, to compare after the purge: this
# catches what maintainer scripts or triggers make, which no file list names.
named_files() {
  find /usr /etc /opt /var/lib /var/cache -xdev \( -name '*telekado*' -o -name "*$APP_ID*" \) \
    2>/dev/null | sort
}
named_files >"$E2E_TMP/named-before.list"

# ---- Installing over an older version
# The older package is this one relabelled, with a file this version no longer has: upgrading
# must take that file away.
OLD_VERSION=0.9.0
dpkg --compare-versions "$OLD_VERSION" lt "$VERSION" || fail "$OLD_VERSION is not older than $VERSION"
OLD="$E2E_TMP/old"
dpkg-deb -R "$DEB" "$OLD"
sed -i "s/^Version: .*/Version: $OLD_VERSION/" "$OLD/DEBIAN/control"
echo "Notes of the older version." >"$OLD/usr/share/doc/telekado/NEWS.old"
(cd "$OLD" && find usr -type f -print0 | sort -z | xargs -0 md5sum >DEBIAN/md5sums)
dpkg-deb --root-owner-group -b "$OLD" "$E2E_TMP/telekado_${OLD_VERSION}_${ARCH}.deb" >/dev/null
chmod a+r "$E2E_TMP"/*.deb

as_root "${APT[@]}" install "$E2E_TMP/telekado_${OLD_VERSION}_${ARCH}.deb" >"$E2E_TMP/apt-old.log" 2>&1 \
  || { cat "$E2E_TMP/apt-old.log" >&2; fail "apt-get could not install the older package"; }
[ "$(installed_version)" = "$OLD_VERSION" ] || fail "installed '$(installed_version)', not $OLD_VERSION"
dpkg-query -L telekado | grep '^/' | sort >"$E2E_TMP/old.list"
grep -qx /usr/share/doc/telekado/NEWS.old "$E2E_TMP/old.list" || fail "the older package lacks its own file"

as_root "${APT[@]}" install "$DEB" >"$E2E_TMP/apt.log" 2>&1 \
  || { cat "$E2E_TMP/apt.log" >&2; fail "apt-get could not install the package over the older one"; }
[ "$(installed_version)" = "$VERSION" ] || fail "installed '$(installed_version)' after the upgrade, not $VERSION"
dpkg-query -L telekado | grep '^/' | sort >"$E2E_TMP/new.list"

# Paths of a list that still exist: only folders that other packages share may stay.
left_over() {
  local path
  while read -r path; do
    [ -e "$path" ] || [ -L "$path" ] || continue
    if [ -d "$path" ] && [ ! -L "$path" ]; then
      if [ -n "$(ls -A "$path")" ] || dpkg-query -S "$path" >/dev/null 2>&1; then continue; fi
    fi
    echo "$path"
  done
}
stray=$(comm -23 "$E2E_TMP/old.list" "$E2E_TMP/new.list" | left_over)
[ -z "$stray" ] || fail "files of $OLD_VERSION left after the upgrade: $stray"

# ---- The installed program, as a user meets it
cd "$E2E_TMP"
[ "$(command -v telekado)" = /usr/bin/telekado ] || fail "telekado on PATH is '$(command -v telekado)'"
# Fortified, stack-protected, PIE, RELRO with immediate binding and control-flow protection.
hardening-check /usr/bin/telekado >"$E2E_TMP/hardening.txt" 2>&1 || true
cat "$E2E_TMP/hardening.txt"
! grep -q ': no' "$E2E_TMP/hardening.txt" || fail "hardening-check: $(grep ': no' "$E2E_TMP/hardening.txt")"
grep -q 'Control flow integrity: yes' "$E2E_TMP/hardening.txt" || fail "hardening-check lists no control-flow protection"
# No display for the command line.
headless=(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM timeout 60)
cat >"$E2E_TMP/kovacs.tkd" <<'JSON'
{"format": "telekado-bevallas", "version": 1, "fields": {"m1": "Kovács Őrs"}, "choices": {}}
JSON
version_out=$("${headless[@]}" telekado --version) || fail "telekado --version failed"
grep -qx "telekado $VERSION" <<<"$version_out" || fail "telekado --version printed '$version_out'"
# Qt's part of the usage from the translation the package depends on, on an English desktop.
help_out=$("${headless[@]}" env LANG=C.UTF-8 telekado --help) || fail "telekado --help failed"
[[ "$help_out" == "Használat: telekado "* ]] || fail "telekado --help begins with '${help_out%%$'\n'*}'"
"${headless[@]}" telekado --pdf "$E2E_TMP/kovacs.pdf" "$E2E_TMP/kovacs.tkd" \
  || fail "telekado --pdf failed"
pages=$(pdfinfo "$E2E_TMP/kovacs.pdf" | sed -n 's/^Pages: *//p')
[ "$pages" = 2 ] || fail "the PDF has $pages pages, not 2"
text=$(pdftotext "$E2E_TMP/kovacs.pdf" -)
grep -qF 'Kovács Őrs' <<<"$text" || fail "the PDF lacks the taxpayer's name"

# The file type and the program that opens it, as a desktop without its own tools finds them.
generic=(env -u XDG_CURRENT_DESKTOP -u DESKTOP_SESSION -u KDE_FULL_SESSION -u GNOME_DESKTOP_SESSION_ID)
type=$("${generic[@]}" xdg-mime query filetype "$E2E_TMP/kovacs.tkd")
[ "$type" = application/x-telekado ] || fail "xdg-mime gives '$type' for a .tkd file"
handler=$("${generic[@]}" xdg-mime query default application/x-telekado)
[ "$handler" = "$APP_ID.desktop" ] || fail "xdg-mime opens .tkd files with '$handler'"

[ "$(man -w telekado)" = /usr/share/man/man1/telekado.1.gz ] || fail "man -w gives '$(man -w telekado)'"
[ "$(man -L hu -w telekado)" = /usr/share/man/hu/man1/telekado.1.gz ] \
  || fail "man -L hu -w gives '$(man -L hu -w telekado)'"
# Formatted from the file: `man telekado` would leave a formatted copy in man-db's cache, which
# man-db expires by itself but which is no file of the package.
page=$(MANWIDTH=80 man -l "$(man -w telekado)" 2>&1) || fail "man telekado failed: $page"
# The shell completes the options from the installed completion.
completions=$(bash -c 'source /usr/share/bash-completion/completions/telekado
  COMP_WORDS=(telekado --s); COMP_CWORD=1; _telekado; printf "%s\n" "${COMPREPLY[@]}"') \
  || fail "the bash completion does not load"
[ "$completions" = --scan ] || fail "the bash completion of --s gives '$completions'"
grep -q -- '--pdf' <<<"$page" || fail "the manual page does not show"

DESKTOP=/usr/share/applications/$APP_ID.desktop
out=$(desktop-file-validate "$DESKTOP" 2>&1) || fail "desktop-file-validate: $out"
[ -z "$out" ] || fail "desktop-file-validate: $out"
appstreamcli validate --no-net "/usr/share/metainfo/$APP_ID.metainfo.xml" \
  || fail "appstreamcli validate failed"

# The window, started the way the menu starts it: the entry's Exec line with a file for %f.
exec_line=$(sed -n 's/^Exec=//p' "$DESKTOP")
[ "$(wc -l <<<"$exec_line")" = 1 ] || fail "not one Exec line: $exec_line"
read -ra argv <<<"${exec_line//%f/$E2E_TMP/kovacs.tkd}"
start_xvfb 1280x1024x24
start_app env PATH=/usr/bin:/bin LC_ALL=C.UTF-8 "${argv[@]}"
W=$(wait_window "$MAIN_TITLE_RE" 30)
[ "$(readlink "/proc/$APP_PID/exe")" = /usr/bin/telekado ] || fail "the window is not the installed program's"
wm_class=$(sed -n 's/^StartupWMClass=//p' "$DESKTOP")
xprop -id "$W" WM_CLASS | grep -q "\"$wm_class\"" || fail "WM_CLASS $(xprop -id "$W" WM_CLASS) lacks '$wm_class'"
wait_window 'kovacs\.tkd' 10 >/dev/null
kill "$APP_PID"
wait_exit "$APP_PID" 20 >/dev/null

# ---- Removing
cd /
as_root "${APT[@]}" purge telekado >"$E2E_TMP/purge.log" 2>&1 \
  || { cat "$E2E_TMP/purge.log" >&2; fail "apt-get purge failed"; }
! dpkg-query -W telekado >/dev/null 2>&1 || fail "dpkg still knows telekado after the purge"
stray=$(sort -u "$E2E_TMP/old.list" "$E2E_TMP/new.list" | left_over)
[ -z "$stray" ] || fail "left after the purge: $stray"
# What the system's triggers built from our files goes too.
[ ! -e /usr/share/mime/application/x-telekado.xml ] || fail "the file type outlived the package"
! grep -qs "$APP_ID" /usr/share/applications/mimeinfo.cache || fail "mimeinfo.cache still names $APP_ID"
named_files | comm -13 "$E2E_TMP/named-before.list" - >"$E2E_TMP/named-after.list"
[ ! -s "$E2E_TMP/named-after.list" ] || fail "left after the purge: $(cat "$E2E_TMP/named-after.list")"
echo "package test passed"
