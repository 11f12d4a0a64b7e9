#!/usr/bin/env bash
# Installs what building, running, testing and packaging Quillmere needs on
# Debian (dpkg-dev and file give cpack the package's dependencies; the others
# check the installed package; python3-pandas and python3-numpy run the
# open-format checkers of tools/check-open-formats.py), and generates the de_DE.UTF-8 locale that the
# comma-decimal tests use.
# Safe to run again: it installs only what is missing.
set -euo pipefail

packages=(build-essential cmake qt6-base-dev qt6-svg-dev poppler-utils libgtest-dev libgmock-dev libbenchmark-dev
          locales xvfb xauth imagemagick clang-16 libclang-rt-16-dev ccache lld python3
          libproj-dev proj-data pkg-config dpkg-dev file desktop-file-utils libxml2-utils man-db shared-mime-info bc
          python3-pandas python3-numpy)
# tools/make-doc-pictures.sh drives the window under Xvfb with xdotool.
packages+=(xdotool)

SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ "${#missing[@]}" -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

if ! locale -a 2>/dev/null | grep -qi '^de_DE\.utf-\?8$'; then
  echo "Generating the de_DE.UTF-8 locale"
  $SUDO localedef -i de_DE -f UTF-8 de_DE.UTF-8
fi
