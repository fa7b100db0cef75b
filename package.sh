#!/usr/bin/env bash
# Installs what is missing, builds and makes the Debian package build/telekado_<version>_<arch>.deb.
source "$(dirname "$0")/tools/setup.sh"
tk_install_packages
tk_build
cd "$TK_BUILD"
cpack -G DEB
ls -l "$TK_BUILD"/telekado_*.deb
