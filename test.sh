#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test.
source "$(dirname "$0")/tools/setup.sh"
tk_install_packages
tk_build

# The printing tests print for real on the cups-pdf printer.
tk_start_cups
trap tk_stop_cups EXIT

cd "$TK_BUILD"
export QT_QPA_PLATFORM=offscreen
ctest --output-on-failure --timeout 600 "$@"
