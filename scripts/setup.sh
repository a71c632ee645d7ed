#!/usr/bin/env bash
# Installs the Debian packages that are missing, then configures and builds build/.
# Shared by ./run and ./test.
set -euo pipefail
cd "$(dirname "$0")/.."

packages=(g++ cmake ninja-build pkg-config clang-format qt6-base-dev qt6-translations-l10n libgtest-dev
          libgmock-dev libbenchmark-dev fonts-ipafont-gothic xvfb xauth locales
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

cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release -DKALVO_GUI=ON >/dev/null
cmake --build build -j2
