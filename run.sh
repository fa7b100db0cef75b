#!/usr/bin/env bash
# Installs what is missing, builds and starts the program.
source "$(dirname "$0")/tools/setup.sh"
tk_install_packages
tk_build --target telekado
exec "$TK_BUILD/app/telekado"
