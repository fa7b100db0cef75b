#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test.
source "$(dirname "$0")/tools/setup.sh"
tk_install_packages
tk_build

cd "$TK_BUILD"
export QT_QPA_PLATFORM=offscreen
ctest --output-on-failure --timeout 600 "$@"
