# Shared by scripts/run and scripts/test: package installation and the build.
# shellcheck shell=bash

ORDEVO_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"

ORDEVO_PACKAGES=(
  cmake ninja-build g++ pkg-config
  qt6-base-dev libgtest-dev libgmock-dev libbenchmark-dev libxrl-dev libdcmtk-dev dcmtk
  libqt6sql6-sqlite libqt6sql6-psql postgresql openssl
  fonts-ipafont fonts-liberation2 qt6-translations-l10n
  clang-14 libclang-rt-14-dev clang-format-14
  dpkg-dev file lintian appstream desktop-file-utils
)

# Installs whatever of the package list is missing; only root can, others are told what to install.
ordevo_install_packages() {
  local missing=()
  for pkg in "${ORDEVO_PACKAGES[@]}"; do
    dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q 'install ok installed' || missing+=("$pkg")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  if [ "$(id -u)" -ne 0 ]; then
    echo "missing packages (install them as root): ${missing[*]}" >&2
    return 1
  fi
  echo "installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

# ordevo_build PRESET [cmake options...]: configures with the preset of CMakePresets.json
# (dev: build/, asan: build-sanitize/, release: build-release/) and builds everything in it.
ordevo_build() {
  local preset="$1"; shift
  cmake --preset "$preset" "$@"
  cmake --build --preset "$preset" --parallel "$(nproc)"
}
