# shellcheck shell=bash
# Debian packages the scripts need, and a quiet, idempotent installer for them.
# Sourced by ./run and ./test.
# shellcheck disable=SC2034  # the lists are for the sourcing scripts

KELVARINE_BUILD_PACKAGES=(
    cmake ninja-build g++ pkg-config
    qt6-base-dev qt6-multimedia-dev qt6-tools-dev qt6-l10n-tools libx11-dev libxext-dev libxfixes-dev libpng-dev
    libpulse-dev
    libgtest-dev libbenchmark-dev
    fonts-liberation fonts-wqy-microhei tzdata qt6-translations-l10n
    xdg-utils desktop-file-utils
)
# What the install, package and script checks run: AppStream's validator, man, dpkg-shlibdeps,
# lintian, shellcheck.
KELVARINE_PACKAGING_PACKAGES=(
    appstream man-db dpkg-dev file lintian shellcheck
    binutils devscripts  # readelf and objcopy; hardening-check
)
# The sanitizer build and its fuzz targets: clang with its sanitizer and libFuzzer runtimes.
KELVARINE_SANITIZE_PACKAGES=(
    clang-14 libclang-rt-14-dev
)
# A virtual desktop: X server, window managers, compositors, input and screenshots, a
# headless Wayland session with XWayland, and a sound server for the alarm.
KELVARINE_DESKTOP_PACKAGES=(
    xvfb openbox icewm fluxbox xfwm4 xcompmgr picom xdotool wmctrl x11-utils x11-xserver-utils
    xclip imagemagick weston xwayland dex dbus-daemon libgtk-3-bin at-spi2-core python3-pyatspi
    pulseaudio pulseaudio-utils
)
# What the tests try beyond that: full desktops' window managers, each with its own
# compositor, and Wayland sessions nested into an X server (mutter's comes with mutter).
KELVARINE_FULL_DESKTOP_PACKAGES=(
    mutter kwin-x11 metacity marco mate-settings-daemon-common
    sway kwin-wayland
)

ensure_packages() {
    local missing=() pkg
    for pkg in "$@"; do
        dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q 'install ok installed' ||
            missing+=("$pkg")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    local sudo=()
    [ "$(id -u)" -eq 0 ] || sudo=(sudo)
    echo "Installing: ${missing[*]}" >&2
    "${sudo[@]}" apt-get update -qq >/dev/null
    DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends \
        "${missing[@]}" >/dev/null
}
