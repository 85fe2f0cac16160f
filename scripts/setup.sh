#!/usr/bin/env bash
# Installs what a fresh Debian 12 machine lacks for building and testing
# CallsignCheck: the i686 and x86_64 mingw-w64 compilers, 32-bit and 64-bit
# Wine, a virtual X display, the Japanese locale and font, the -m32 multilib
# toolchain, GoogleTest sources, and pandoc for the HTML guides of the release
# packages. The 32-bit packages install (and the 32-bit build is made) also
# where the kernel cannot run 32-bit programs; scripts/platform.sh decides
# what runs. Does nothing when everything is already there.
set -euo pipefail

need=()
have_pkg() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q 'install ok installed'; }

PKGS=(cmake ninja-build g++-multilib g++-mingw-w64-i686-posix binutils-mingw-w64-i686
      g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
      wine wine32:i386 wine64 xvfb xauth x11-utils locales fonts-ipafont-gothic googletest
      imagemagick zip unzip pandoc)
for p in "${PKGS[@]}"; do have_pkg "$p" || need+=("$p"); done

if [ ${#need[@]} -gt 0 ]; then
  if [ "$(id -u)" -ne 0 ]; then
    echo "setup: missing packages ${need[*]} and not root; install them first" >&2
    exit 1
  fi
  if ! dpkg --print-foreign-architectures | grep -qx i386; then
    dpkg --add-architecture i386
  fi
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${need[@]}" >/dev/null
fi

# The Japanese locale gives Wine the ANSI code page 932.
if ! locale -a 2>/dev/null | grep -qi '^ja_JP\.utf8$'; then
  if [ "$(id -u)" -eq 0 ]; then
    sed -i 's/^# *ja_JP.UTF-8 UTF-8/ja_JP.UTF-8 UTF-8/' /etc/locale.gen
    grep -q '^ja_JP.UTF-8 UTF-8' /etc/locale.gen || echo 'ja_JP.UTF-8 UTF-8' >> /etc/locale.gen
    locale-gen >/dev/null
  else
    echo "setup: locale ja_JP.UTF-8 missing and not root" >&2
    exit 1
  fi
fi
echo "setup: ready"
