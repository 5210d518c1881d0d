#!/usr/bin/env bash
# Installs the Debian packages Tavrel builds, tests and runs with.
# Runs as root (apt-get); installs only what is missing, so a second run is quick.
set -euo pipefail

packages=(
  # toolchain
  build-essential cmake ninja-build ccache pkg-config git clang libclang-rt-14-dev
  # tests and benchmarks
  googletest libgtest-dev libgmock-dev libbenchmark-dev libpugixml-dev
  # checking the PDF files we write (qpdf --check, pdftotext, pdffonts, pdftoppm)
  qpdf poppler-utils locales
  # windows, printing, drawing
  qt6-base-dev qt6-base-dev-tools libgl-dev libcups2-dev
  # fonts and text
  libfontconfig-dev libfreetype-dev libharfbuzz-dev libfribidi-dev
  fonts-liberation2 fonts-dejavu-core
  # pictures, compression, encryption, identifiers
  libjpeg62-turbo-dev libpng-dev zlib1g-dev nettle-dev uuid-dev
  # metafiles: enhanced ones through libemf2svg, Windows ones through libwmf, drawn by Qt SVG
  libemf2svg-dev libwmf-dev qt6-svg-dev
  # desktop hand-offs and a display for people without one
  xdg-utils xvfb xauth
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

if [ "$(id -u)" -ne 0 ]; then
  echo "install-deps: these packages are missing and need root to install: ${missing[*]}" >&2
  exit 1
fi

export DEBIAN_FRONTEND=noninteractive
apt-get update -qq
apt-get install -y -qq --no-install-recommends "${missing[@]}"
