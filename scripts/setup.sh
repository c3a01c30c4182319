#!/usr/bin/env bash
# Installs the Debian packages that building, testing and compiling the data need, and only those missing.
# Runs as root, or through sudo when that is available. Prints nothing when everything is present.
set -euo pipefail

PACKAGES=(
    build-essential g++ cmake ninja-build pkg-config
    libsdl2-dev libfreetype-dev fonts-dejavu-core fonts-dejavu-extra
    libgtest-dev libbenchmark-dev
    xvfb xauth xdotool xfonts-base x11-utils openbox
    espeak-ng sox
    clang libclang-rt-dev
)

if ! command -v dpkg-query >/dev/null 2>&1; then
    echo "setup: not a Debian system; make sure these (or their equivalents) are installed: ${PACKAGES[*]}" >&2
    exit 0
fi

missing=()
for package in "${PACKAGES[@]}"; do
    status=$(dpkg-query -W -f='${Status}' "$package" 2>/dev/null || true)
    [[ $status == "install ok installed" ]] || missing+=("$package")
done
[[ ${#missing[@]} -eq 0 ]] && exit 0

if [[ $(id -u) -eq 0 ]]; then
    as_root=(env)
elif command -v sudo >/dev/null 2>&1; then
    as_root=(sudo env)
else
    echo "setup: missing packages (${missing[*]}); run this script as root or install sudo" >&2
    exit 1
fi

echo "setup: installing ${missing[*]}"
"${as_root[@]}" DEBIAN_FRONTEND=noninteractive apt-get update -qq
"${as_root[@]}" DEBIAN_FRONTEND=noninteractive \
    apt-get install -y -qq --no-install-recommends -o Dpkg::Use-Pty=0 "${missing[@]}" >/dev/null
echo "setup: done"
