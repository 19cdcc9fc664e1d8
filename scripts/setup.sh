#!/usr/bin/env bash
# Installs what the build and the tests need on Debian 12, as root. Safe to run
# again: it only adds what is missing.
set -euo pipefail

packages=(
    cmake make
    mingw-w64 g++-mingw-w64-i686-win32 g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix
    googletest
    wine wine64 wine32:i386
    qemu-user
    xvfb xauth x11-utils
    locales-all
    python3 python3-pefile python3-pil icoutils imagemagick
)

missing=()
if ! dpkg --print-foreign-architectures | grep -qx i386; then
    dpkg --add-architecture i386
    missing=("${packages[@]}")
else
    for p in "${packages[@]}"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
    done
fi
if [ "${#missing[@]}" -gt 0 ]; then
    echo "installing: ${missing[*]}" >&2
    apt-get update -q
    DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "${missing[@]}"
fi

# This kernel runs no 32-bit Linux programs by itself; 32-bit Wine goes through
# qemu-i386. Flag F opens the interpreter now, so it keeps working in namespaces.
binfmt=/proc/sys/fs/binfmt_misc
if [ ! -e "$binfmt/register" ]; then
    mount -t binfmt_misc binfmt_misc "$binfmt" 2>/dev/null || true
fi
if [ -e "$binfmt/register" ] && [ ! -e "$binfmt/qemu-i386" ] && [ ! -e "$binfmt/tandrel-qemu-i386" ]; then
    printf '%s' ':tandrel-qemu-i386:M::\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00:\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff:/usr/bin/qemu-i386:F' \
        > "$binfmt/register" || echo "warning: could not register qemu-i386; 32-bit runs will be skipped" >&2
fi
