# Shared set-up of ./play and ./test: Debian packages, configure, build.
# Sourced, not run.

TESSALY_PACKAGES=(
  build-essential cmake ninja-build pkg-config
  libsdl2-dev libsdl2-mixer-dev
  libgl-dev libgl1-mesa-dri libglx-mesa0 libegl1
  libpng-dev libjpeg-dev zlib1g-dev
  libassimp-dev libglm-dev libgtest-dev
  clang libclang-rt-dev
)

tessaly_install_packages() {
  local missing=()
  for p in "${TESSALY_PACKAGES[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  local sudo=""
  if [ "$(id -u)" -ne 0 ]; then
    if command -v sudo >/dev/null 2>&1 && sudo -n true 2>/dev/null; then
      sudo="sudo"
    else
      echo "Missing packages: ${missing[*]}" >&2
      echo "Run as root or with sudo to install them: apt-get install ${missing[*]}" >&2
      return 1
    fi
  fi
  echo "Installing: ${missing[*]}"
  $sudo env DEBIAN_FRONTEND=noninteractive apt-get update -qq || return 1
  $sudo env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${missing[@]}" || return 1
}

# tessaly_build DIR [cmake args...]
tessaly_build() {
  local dir="$1"; shift
  local jobs
  jobs=$(nproc 2>/dev/null || echo 2)
  cmake -S "$TESSALY_ROOT" -B "$dir" -G Ninja "$@" >/dev/null || return 1
  cmake --build "$dir" -j "$jobs" || return 1
}
