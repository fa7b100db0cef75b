#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test.
source "$(dirname "$0")/tools/setup.sh"
tk_install_packages
tk_build

# The printing tests print for real on the cups-pdf printer. Here the print server runs, so a
# test that finds no printer fails instead of skipping.
tk_start_cups
trap tk_stop_cups EXIT
export TK_REQUIRE_PRINTER=1
# Likewise the package test installs the package as root here, so it fails instead of skipping.
export TK_REQUIRE_PACKAGE=1

cd "$TK_BUILD"
export QT_QPA_PLATFORM=offscreen
ctest --output-on-failure --timeout 600 "$@"
