# Shared by the project's commands: packages, builds and the Wine bench.
# Source it; it defines functions and sets ROOT, BUILD.

ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
BUILD=${ZENTRA_BUILD:-$ROOT/build}

PACKAGES="cmake make g++ pkg-config clang libclang-rt-14-dev googletest libbenchmark-dev nlohmann-json3-dev
  libcairo2-dev g++-mingw-w64-x86-64 wine wine64 xvfb xdotool imagemagick fonts-liberation fonts-wine locales nsis"

say() { printf '\n== %s\n' "$*"; }

# Installs the Debian packages that are missing.
install_packages() {
    local missing=()
    for p in $PACKAGES; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    say "Installing ${missing[*]}"
    local sudo=
    [ "$(id -u)" -eq 0 ] || sudo=sudo
    $sudo apt-get update -q >"$BUILD/apt.log" 2>&1 || { cat "$BUILD/apt.log"; return 1; }
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q --no-install-recommends "${missing[@]}" \
        >>"$BUILD/apt.log" 2>&1 || { tail -n 30 "$BUILD/apt.log"; return 1; }
}

ncpu() { nproc 2>/dev/null || echo 2; }

build_native() {
    say "Native build"
    cmake -S "$ROOT" -B "$BUILD/native" -G "Unix Makefiles" >"$BUILD/native-configure.log" 2>&1 ||
        { cat "$BUILD/native-configure.log"; return 1; }
    compile native
}

# Builds a configured tree; on failure shows the errors.
compile() {
    local log="$BUILD/$1-build.log"
    if ! cmake --build "$BUILD/$1" -j "$(ncpu)" >"$log" 2>&1; then
        grep -E -A5 'error|Error' "$log" | head -n 80
        echo "The $1 build failed; the whole log is $log"
        return 1
    fi
    echo "built ($(grep -c -i 'warning:' "$log" || true) compiler warnings; log: $log)"
}

build_windows() {
    say "Windows build (mingw-w64)"
    cmake -S "$ROOT" -B "$BUILD/windows" -G "Unix Makefiles" \
        -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw-w64-x86_64.cmake" >"$BUILD/windows-configure.log" 2>&1 ||
        { cat "$BUILD/windows-configure.log"; return 1; }
    compile windows
}

# --- The Wine bench -------------------------------------------------------

wine_env() {
    export WINEPREFIX="${ZENTRA_WINE_PREFIX:-$BUILD/windows/wineprefix}"
    export WINEARCH=win64
    export WINEDEBUG=${WINEDEBUG:--all}
    export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
}

# Wine's own Tahoma, MS Sans Serif and Marlett, which Debian ships apart
# (fonts-wine) and Wine does not load from there. Without them "MS Shell Dlg"
# and "MS Sans Serif" fall back to a font with 12-pixel dialog base units
# where Windows has 13, so that property sheets and dialogs come out 27
# pixels short; without Marlett captions draw their close box as the letter
# "r".
wine_fonts() {
    local fonts="$WINEPREFIX/drive_c/windows/Fonts" f
    mkdir -p "$fonts"
    for f in tahoma.ttf tahomabd.ttf sserife.fon marlett.ttf; do
        [ -f "$fonts/$f" ] || cp "/usr/share/wine/fonts/$f" "$fonts/" ||
            { echo "Wine's font $f is missing (package fonts-wine)"; return 1; }
    done
}

# Creates the build's private prefix once; later runs reuse it.
wine_prefix() {
    wine_env
    [ -f "$WINEPREFIX/.zentra-ready" ] && { wine_fonts; return; }
    say "Creating the Wine prefix (once)"
    rm -rf "$WINEPREFIX"
    mkdir -p "$WINEPREFIX"
    wineboot -i </dev/null >"$BUILD/wineboot.log" 2>&1
    wineserver -w
    wine regedit /S "$(winepath -w "$ROOT/scripts/wine/bench-settings.reg" 2>/dev/null)" \
        </dev/null >>"$BUILD/wineboot.log" 2>&1
    wineserver -w
    wine_fonts
    touch "$WINEPREFIX/.zentra-ready"
}

# A virtual X display when none is set; stopped by stop_bench.
start_display() {
    [ -n "${DISPLAY:-}" ] && return 0
    local fifo="$BUILD/xvfb-display"
    rm -f "$fifo"
    Xvfb -displayfd 3 -screen 0 1600x1200x24 -nolisten tcp 3>"$fifo" </dev/null >"$BUILD/xvfb.log" 2>&1 &
    XVFB_PID=$!
    for _ in $(seq 1 100); do
        [ -s "$fifo" ] && break
        sleep 0.1
    done
    [ -s "$fifo" ] || { echo "Xvfb did not start"; cat "$BUILD/xvfb.log"; return 1; }
    export DISPLAY=":$(head -n 1 "$fifo")"
}

# One Wine session for the whole run: a persistent server and its services.
# Their output goes to a file: they outlive the command that starts them.
start_wine_session() {
    wine_env
    wineserver -p </dev/null >>"$BUILD/wine-session.log" 2>&1
    wine cmd /c exit </dev/null >>"$BUILD/wine-session.log" 2>&1
    # The virtual desktop for the whole session, large enough for the
    # control panel at 200 %. Otherwise every program that
    # touches the desktop starts one that outlives it by a second, holding
    # the caller's output open (CTest waits for it).
    wine explorer /desktop=Default,1600x1140 </dev/null >>"$BUILD/wine-session.log" 2>&1 &
}

# The simulated wheel driver (sim/), loaded once per run as the service
# "ZentraXP". Its output goes to a file: the services keep pipes open. A
# failure is reported and the run goes on; the tests that need the driver
# then fail with the reason.
start_sim_wheel() {
    local setup="$BUILD/windows/ZntSimSetup.exe"
    [ -f "$setup" ] || { echo "No $setup: the simulated wheel is not loaded"; return 0; }
    if "$BUILD/windows/wine-run" "$setup" start </dev/null >"$BUILD/sim-wheel.log" 2>&1; then
        SIM_WHEEL_STARTED=1
    else
        echo "The simulated wheel driver did not start:"
        cat "$BUILD/sim-wheel.log"
    fi
}

stop_sim_wheel() {
    [ -n "${SIM_WHEEL_STARTED:-}" ] || return 0
    "$BUILD/windows/wine-run" "$BUILD/windows/ZntSimSetup.exe" stop </dev/null >>"$BUILD/sim-wheel.log" 2>&1 ||
        echo "Stopping the simulated wheel driver failed (see $BUILD/sim-wheel.log)"
    SIM_WHEEL_STARTED=
}

stop_bench() {
    if [ -n "${WINEPREFIX:-}" ] && command -v wineserver >/dev/null; then
        stop_sim_wheel
        wineserver -k >/dev/null 2>&1 || true
    fi
    if [ -n "${XVFB_PID:-}" ]; then
        kill "$XVFB_PID" 2>/dev/null || true
        wait "$XVFB_PID" 2>/dev/null || true
    fi
}

start_bench() {
    wine_prefix
    start_display
    start_wine_session
    start_sim_wheel
}

# --- Printing -------------------------------------------------------------

PRINT_PACKAGES="cups printer-driver-cups-pdf poppler-utils"
PRINTER_NAME=ZentraPDF
SHORT_PRINTER_NAME=ZentraPDFShort   # the same printer on a small envelope: a preset's printout takes two pages

# A private CUPS server for the bench, with one PDF printer (cups-pdf, which
# writes each job as a PDF named after the document into $HOME/PDF). It
# listens on a socket in the build folder; CUPS_SERVER points Wine at it,
# so the machine's own print setup is left alone. Stopped by stop_print_server.
start_print_server() {
    local p missing=()
    for p in $PRINT_PACKAGES; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
    done
    if [ ${#missing[@]} -gt 0 ]; then
        PACKAGES="${missing[*]}" install_packages || { echo "The print server's packages are missing"; return 0; }
    fi
    local root="${ZENTRA_CUPS_ROOT:-$BUILD/cups}"
    rm -rf "$root"
    mkdir -p "$root/etc/ppd" "$root/spool/tmp" "$root/cache" "$root/state" "$root/log"
    cat >"$root/etc/cupsd.conf" <<CONF
Listen $root/cups.sock
LogLevel warn
WebInterface No
Browsing No
<Location />
  Order allow,deny
  Allow all
</Location>
<Policy default>
  <Limit All>
    Order allow,deny
    Allow all
  </Limit>
</Policy>
CONF
    cat >"$root/etc/cups-files.conf" <<CONF
ServerRoot $root/etc
RequestRoot $root/spool
TempDir $root/spool/tmp
CacheDir $root/cache
StateDir $root/state
ErrorLog $root/log/error_log
AccessLog $root/log/access_log
PageLog $root/log/page_log
SystemGroup root
CONF
    cupsd -c "$root/etc/cupsd.conf" -s "$root/etc/cups-files.conf" -f </dev/null >"$root/log/cupsd.out" 2>&1 &
    CUPSD_PID=$!
    for _ in $(seq 1 50); do
        [ -S "$root/cups.sock" ] && break
        sleep 0.1
    done
    export CUPS_SERVER="$root/cups.sock"
    if ! lpadmin -h "$CUPS_SERVER" -p "$PRINTER_NAME" -E -v cups-pdf:/ -P /usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd \
        >"$root/log/lpadmin.out" 2>&1; then
        echo "The PDF printer could not be set up:"
        cat "$root/log/lpadmin.out"
        return 0
    fi
    lpadmin -h "$CUPS_SERVER" -p "$SHORT_PRINTER_NAME" -E -v cups-pdf:/ -P /usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd \
        -o PageSize=EnvMonarch >>"$root/log/lpadmin.out" 2>&1 || true
    lpadmin -h "$CUPS_SERVER" -d "$PRINTER_NAME" >>"$root/log/lpadmin.out" 2>&1 || true
    # Where the printer's PDF files appear, for the print test.
    export ZENTRA_PDF_DIR="${HOME:-/root}/PDF"
}

stop_print_server() {
    [ -n "${CUPSD_PID:-}" ] || return 0
    kill "$CUPSD_PID" 2>/dev/null || true
    wait "$CUPSD_PID" 2>/dev/null || true
    CUPSD_PID=
}
