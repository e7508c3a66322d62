# Shared by the scripts: root access and Debian packages.
# shellcheck shell=bash

# Runs a command as root: directly when we are root, else through sudo.
as_root() {
    if [ "$(id -u)" -eq 0 ]; then
        "$@"
    elif command -v sudo >/dev/null 2>&1; then
        sudo "$@"
    else
        echo "This step needs root or sudo: $*" >&2
        return 1
    fi
}

# What the program needs to build and run: compiler and CMake, Qt 6 base
# and print support with Qt's Japanese translations, the CUPS, SQLite and
# poppler (the reader's PDFs) libraries, the IPA fonts, CUPS with the PDF printer, Xvfb, clang.
RUN_PACKAGES=(
    g++ make cmake ninja-build pkg-config
    qt6-base-dev libgl-dev qt6-translations-l10n libcups2-dev libsqlite3-dev nlohmann-json3-dev libpoppler-cpp-dev
    fonts-ipafont-gothic fonts-ipafont-mincho fonts-morisawa-bizud-gothic fonts-klee
    cups cups-client cups-filters ghostscript printer-driver-cups-pdf
    xvfb xauth
    clang
)

# What the browser edition is built with: Debian's Emscripten, and the font
# tools that cut the sheets' faces to what they draw.
WEB_PACKAGES=(emscripten python3-fonttools python3-brotli fontconfig)

# What the tests need besides: GoogleTest, Google Benchmark, libFuzzer and
# the sanitizer runtimes, the CUPS client library, the PDF tools, the
# handwriting faces of the reader's simulated pupils, and the
# accessibility bus with its Python client (the window walked as a screen
# reader walks it), and the browser edition with Chromium to test it in.
TEST_PACKAGES=(
    "${RUN_PACKAGES[@]}"
    libgtest-dev libgmock-dev libbenchmark-dev
    libclang-rt-14-dev
    libcups2-dev poppler-utils
    fonts-seto fonts-humor-sans
    at-spi2-core dbus-daemon python3-pyatspi
    "${WEB_PACKAGES[@]}" chromium
)

# What the benchmarks need besides: pdflatex is the floor of the class-set
# run; whole program runs are timed in Python.
BENCH_PACKAGES=(
    "${TEST_PACKAGES[@]}"
    texlive-latex-base python3
    fonts-breip fonts-femkeklaver
)

# Installs those of the named Debian packages that are not installed yet.
ensure_packages() {
    local missing=() p
    for p in "$@"; do
        dpkg-query -W -f='${Status}\n' "$p" 2>/dev/null | grep -q '^install ok installed$' || missing+=("$p")
    done
    [ "${#missing[@]}" -eq 0 ] && return 0
    echo "Installing: ${missing[*]}"
    as_root env DEBIAN_FRONTEND=noninteractive apt-get update -q
    as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "${missing[@]}"
}

# npm for the browser tests' driver (puppeteer-core, pointed at Debian's
# Chromium): Debian's, unless a node with its own npm is installed already.
ensure_npm() {
    command -v npm >/dev/null 2>&1 || ensure_packages npm
}

# Number of parallel build jobs.
build_jobs() {
    nproc 2>/dev/null || echo 2
}
