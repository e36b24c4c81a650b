#!/usr/bin/env bash
# Installs what is needed, builds everything and runs the whole test suite: unit tests, peer
# checks and the real window under Xvfb. Screenshots land in build/artifacts/.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bash "$root/scripts/install-deps.sh"
bash "$root/scripts/build.sh"
mkdir -p "$root/build/artifacts"
cd "$root/build"
bash "$root/scripts/with-display.sh" ctest --output-on-failure -j"$(nproc)" --timeout 300
bash "$root/scripts/sanitizers.sh"
