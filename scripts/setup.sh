#!/usr/bin/env bash
# Installs the Debian packages RYX Creator needs to build, run and test.
# Idempotent: only packages that are missing are installed. Runs as root or through sudo.
set -euo pipefail

PACKAGES=(
  # build
  cmake ninja-build ccache g++ pkg-config
  # tests, benchmarks, fuzzing
  libgtest-dev libgmock-dev libbenchmark-dev clang-14 libclang-rt-14-dev
  # editor window
  qt6-base-dev qt6-qpa-plugins libgl1-mesa-dev
  # sound and MIDI ports
  libfluidsynth-dev timgm6mb-soundfont librtmidi-dev libjack-jackd2-dev
  # drawing layer, ryxtool
  libstb-dev nlohmann-json3-dev libcli11-dev
  # export: OGG Vorbis audio, .osz and .qp archives
  libsndfile1-dev libzip-dev
)

missing=()
for pkg in "${PACKAGES[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$pkg")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  echo "setup: all ${#PACKAGES[@]} packages are installed"
  exit 0
fi

SUDO=""
if [ "$(id -u)" -ne 0 ]; then
  if command -v sudo >/dev/null 2>&1; then
    SUDO="sudo"
  else
    echo "setup: missing packages (${missing[*]}) and not root; install them or run as root" >&2
    exit 1
  fi
fi

echo "setup: installing ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" </dev/null
echo "setup: done"
