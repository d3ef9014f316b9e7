# Shared by scripts/run and scripts/test: installs what is missing and builds.

# Debian packages the program needs to build and run (X11 and Wayland).
TALLIVO_PACKAGES=(
    cmake g++ make
    qt6-base-dev qt6-svg-dev qt6-qpa-plugins qt6-wayland qt6-translations-l10n
    fonts-liberation
)

# What the tests need on top: clang with its fuzzing runtime for the fuzzers, and the
# freedesktop validators for the installed desktop entry and metadata, the X client library the
# start-up benchmark watches the display with, and the arm64 cross compiler and qemu
# user-mode emulation to build and run the core's tests for arm64.
TALLIVO_TEST_PACKAGES=(
    clang libclang-rt-14-dev
    desktop-file-utils appstream
    libxcb1-dev
    g++-aarch64-linux-gnu qemu-user
)

# What building the Debian package needs on top: dpkg-shlibdeps, and lintian to check it.
TALLIVO_PACKAGE_PACKAGES=(
    dpkg-dev file lintian
)

# Installs the Debian packages named as arguments that are not installed yet.
tallivo_install() {
    local missing=()
    local package
    for package in "$@"; do
        if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
            missing+=("$package")
        fi
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "Installing: ${missing[*]}"
    local sudo=()
    [ "$(id -u)" -ne 0 ] && sudo=(sudo)
    "${sudo[@]}" apt-get update -qq
    DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

# Configures and builds the tree in build folder $1 with the extra CMake arguments that follow.
tallivo_build() {
    local folder=$1
    shift
    cmake -S "$TALLIVO_ROOT" -B "$TALLIVO_ROOT/$folder" "$@" >/dev/null
    cmake --build "$TALLIVO_ROOT/$folder" -j "$(nproc)"
}
