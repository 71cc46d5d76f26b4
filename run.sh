#!/usr/bin/env bash
# Installs what Pagefold needs, builds it into build/ and starts it.
set -euo pipefail
cd "$(dirname "$0")"
scripts/install-packages.sh cmake g++ make libgtest-dev qt6-base-dev
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j2
echo "Pagefold is built. The window and the command-line front end are not there yet."
