#!/usr/bin/env bash
# Installs the Debian packages that are missing, then configures and builds one build folder:
#   scripts/setup.sh         build/, the optimised Release programs (./run)
#   scripts/setup.sh test    build-test/, a Debug build with asserts, AddressSanitizer and
#                            UndefinedBehaviorSanitizer on every target, tests included (./test)
set -euo pipefail
cd "$(dirname "$0")/.."

packages=(g++ cmake ninja-build pkg-config clang-format qt6-base-dev qt6-translations-l10n libgtest-dev
          libgmock-dev libbenchmark-dev libassimp-dev fonts-ipafont-gothic xvfb xauth locales
          qt6-l10n-tools desktop-file-utils appstream shared-mime-info dpkg-dev file)
missing=()
for package in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$package")
    fi
done
if ((${#missing[@]})); then
    echo "Installing missing packages: ${missing[*]}"
    sudo_cmd=()
    if [ "$(id -u)" -ne 0 ]; then sudo_cmd=(sudo); fi
    "${sudo_cmd[@]}" apt-get update -qq
    DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq \
        --no-install-recommends "${missing[@]}"
fi

# The tests check that file numbers do not follow the locale; they need a locale that writes
# decimal commas.
if ! locale -a 2>/dev/null | grep -qi '^de_DE\.utf-\?8$'; then
    if [ -w /etc/locale.gen ]; then
        sed -i 's/^# *\(de_DE.UTF-8 UTF-8\)/\1/; s/^# *\(ja_JP.UTF-8 UTF-8\)/\1/' /etc/locale.gen
        locale-gen >/dev/null || true
    fi
fi

launcher=()
if command -v ccache >/dev/null; then launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache); fi

case "${1:-release}" in
    release)
        cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release -DKALVO_GUI=ON "${launcher[@]}" \
            >/dev/null
        cmake --build build -j2
        ;;
    test)
        cmake -S . -B build-test -G Ninja -DCMAKE_BUILD_TYPE=Debug -DKALVO_GUI=ON \
            -DKALVO_SANITIZE=ON "${launcher[@]}" >/dev/null
        cmake --build build-test -j2
        ;;
    *)
        echo "usage: scripts/setup.sh [release|test]" >&2
        exit 2
        ;;
esac
