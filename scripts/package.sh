#!/usr/bin/env bash
# Builds the Debian package of Kalvo/3D into build-package/: a Release build of the two programs
# without the tests, installed under /usr. The package's dependencies come from the shared
# libraries the programs link (dpkg-shlibdeps, from dpkg-dev). Run scripts/setup.sh once first
# on a fresh machine: it installs the tools this needs.
set -euo pipefail
cd "$(dirname "$0")/.."

for tool in cmake ninja cpack dpkg-shlibdeps file; do
    if ! command -v "$tool" >/dev/null; then
        echo "package.sh: $tool is missing; scripts/setup.sh installs it." >&2
        exit 1
    fi
done

launcher=()
if command -v ccache >/dev/null; then launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache); fi
cmake -S . -B build-package -G Ninja -DCMAKE_BUILD_TYPE=Release -DKALVO_GUI=ON -DKALVO_TESTS=OFF \
    "${launcher[@]}" >/dev/null
cmake --build build-package -j2
(cd build-package && cpack -G DEB)
for deb in build-package/*.deb; do
    echo
    echo "$deb ($(du -h "$deb" | cut -f1))"
    dpkg-deb --field "$deb" Package Version Depends Recommends
done
