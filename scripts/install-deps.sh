#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs the Debian packages that building, testing and running need, when
# they are missing. As root it installs them; otherwise it uses sudo when it
# can, or says which packages to install.
set -euo pipefail

packages=(cmake ninja-build g++ pkg-config qt6-base-dev qt6-serialport-dev libqt6sql6-sqlite
          libqt6sql6-psql qt6-qpa-plugins fonts-dejavu-core poppler-utils "$@")

installed()
{
    dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q "install ok installed"
}

missing=()
for p in "${packages[@]}"; do
    if ! installed "$p"; then
        missing+=("$p")
    fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
if [ "$(id -u)" -eq 0 ]; then
    sudo=()
elif command -v sudo >/dev/null 2>&1; then
    sudo=(sudo)
else
    echo "Please install these Debian packages as root: ${missing[*]}" >&2
    exit 1
fi
export DEBIAN_FRONTEND=noninteractive
# Debian's postgresql makes and starts a cluster of its own unless told not
# to before postgresql-common is installed; the tests start their own server.
if [[ " ${missing[*]} " == *" postgresql "* ]] && ! installed postgresql-common; then
    "${sudo[@]}" mkdir -p /etc/postgresql-common/createcluster.d
    echo "create_main_cluster = false" \
        | "${sudo[@]}" tee /etc/postgresql-common/createcluster.d/velno-no-main-cluster.conf >/dev/null
fi
"${sudo[@]}" apt-get update -qq
"${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}" </dev/null
