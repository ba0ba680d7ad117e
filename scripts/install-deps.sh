#!/usr/bin/env bash
# Installs what building and testing need on Debian 12, as root. Quick when
# everything is already there. Usage: install-deps.sh [native|all]
set -euo pipefail
what="${1:-all}"

native=(cmake make g++ libgtest-dev libfltk1.3-dev xvfb xauth x11-utils xdotool imagemagick
        libbenchmark-dev clang libclang-rt-14-dev python3 zip)
# Wine's own fonts (Tahoma and the others it maps the system fonts to): without
# them every Wine rendering uses substitutes of other widths.
cross=(g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix mingw-w64-tools googletest
       wine wine32:i386 wine64 fonts-wine locales)

wanted=("${native[@]}")
[ "$what" = all ] && wanted+=("${cross[@]}")

missing=()
for p in "${wanted[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ "$what" = all ] && ! dpkg --print-foreign-architectures | grep -qx i386; then
  dpkg --add-architecture i386
fi
if [ ${#missing[@]} -gt 0 ]; then
  if [ "$(id -u)" -ne 0 ]; then
    echo "install-deps: missing packages: ${missing[*]}; run this as root (or with sudo)" >&2
    exit 1
  fi
  echo "install-deps: installing ${missing[*]}"
  apt-get update -qq
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

# The Wine locale test needs the German locale generated.
if [ "$what" = all ] && ! locale -a 2>/dev/null | grep -qi '^de_DE.utf8$'; then
  if [ "$(id -u)" -eq 0 ]; then
    sed -i 's/^# *de_DE.UTF-8 UTF-8/de_DE.UTF-8 UTF-8/' /etc/locale.gen
    grep -q '^de_DE.UTF-8 UTF-8' /etc/locale.gen || echo 'de_DE.UTF-8 UTF-8' >> /etc/locale.gen
    locale-gen >/dev/null
  fi
fi
