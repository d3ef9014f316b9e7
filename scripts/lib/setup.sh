# Shared by scripts/run, scripts/test and scripts/package: installs what is missing and builds.
# Made for Debian 12: the packages come from apt, through sudo when not run as root.

# Debian packages the program needs to build and run (X11 and Wayland); the X client library
# reads a long clipboard text without stopping the windows. The fonts: Liberation
# Sans is the main window's, with the metrics its layout was drawn for; DejaVu Sans is what the
# desktop's "sans-serif" resolves to, for the other windows and the guide (without it, on a
# minimal system, sans-serif falls on Liberation Mono).
TALLIVO_PACKAGES=(
    cmake g++ make
    qt6-base-dev qt6-svg-dev qt6-qpa-plugins qt6-wayland qt6-translations-l10n libxcb1-dev
    fonts-liberation fonts-dejavu-core
)

# What the tests need on top: clang with its fuzzing runtime for the fuzzers, the freedesktop
# validators for the installed desktop entry and metadata, the arm64 cross compiler and qemu
# user-mode emulation to build and run the core's tests for arm64, pdftotext to read the
# text of the exercises' worksheets, and Xvfb for a display whose clipboard a test can own.
TALLIVO_TEST_PACKAGES=(
    clang libclang-rt-14-dev poppler-utils
    desktop-file-utils appstream xvfb
    g++-aarch64-linux-gnu qemu-user
)

# What building the Debian package needs on top: the Debian source package's build tools,
# lintian to check the result, and rsvg-convert for scripts/make-icons.
TALLIVO_PACKAGE_PACKAGES=(
    dpkg-dev debhelper file lintian librsvg2-bin
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
    local sudo=()
    if [ "$(id -u)" -ne 0 ]; then
        if ! command -v sudo >/dev/null 2>&1; then
            echo "These Debian packages are missing: ${missing[*]}" >&2
            echo "Installing them needs root, and sudo is not installed. Either install them as root:" >&2
            echo "  su -c 'apt-get install ${missing[*]}'" >&2
            echo "or install sudo and let your user use it, then log out and in again:" >&2
            echo "  su -c 'apt-get install sudo && usermod -aG sudo $(id -un)'" >&2
            echo "or run this script as root." >&2
            exit 1
        fi
        sudo=(sudo)
        echo "Installing the missing packages with apt, through sudo (it may ask for your password): ${missing[*]}"
    else
        echo "Installing the missing packages with apt: ${missing[*]}"
    fi
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
