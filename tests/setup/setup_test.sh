#!/usr/bin/env bash
# The setup program under Wine, in a new prefix of its own (the tests' shared
# prefix is not touched):
#   setup_test.sh SETUP.exe BUILD_DIR BENCH_SETTINGS.reg
# 1. a new prefix with the simulated wheel (its driver's entries, "Emulation"
#    among them, exist before the installation, as on a user's machine);
#    the registry (exported) and the files of drive C are recorded;
# 2. silent installation; the files and the registry entries are checked,
#    and that a standard user may write the product's keys;
# 3. the stand-in panel finds the sheet through the registry and opens it;
# 4. the command of the Run value starts the tray program, which stays;
#    a second installation ends it and keeps the user's "Launch";
# 5. silent removal, with the tray program still running; then the registry
#    and the files must be as they were in 1.
# Needs a display (the test bench's); the prefix stays in
# BUILD_DIR/setup-test for a look after a failure.
set -uo pipefail
absolute() { (cd "$(dirname "$1")" && echo "$(pwd)/$(basename "$1")"); }
setup=$(absolute "$1")
build=$(cd "$2" && pwd)
settings=$(absolute "$3")
work=$build/setup-test
prefix=$work/prefix
failures=0

say() { printf '== %s\n' "$*"; }
fatal() { echo "FAIL: $*"; exit 1; }
check() { # check DESCRIPTION COMMAND...
    if "${@:2}"; then echo "ok: $1"; else echo "FAIL: $1"; failures=$((failures + 1)); fi
}
contains() { grep -qF -- "$2" <<<"$1"; }

[ -n "${DISPLAY:-}" ] || { echo "FAIL: no display (run it inside the test bench)"; exit 1; }
for tool in "$setup" "$build/ZntPanelHost.exe" "$build/ZntSimSetup.exe" "$build/ZntSetupProbe.exe"; do
    [ -f "$tool" ] || { echo "FAIL: $tool is missing"; exit 1; }
done

export WINEPREFIX=$prefix WINEARCH=win64 WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
unset ZENTRA_WINE_PREFIX
stop_session() { wineserver -k >/dev/null 2>&1 || true; }
trap stop_session EXIT

# Wine's session processes outlive the command that starts them: no pipe of
# the caller is handed to them.
win() { wine "$@" </dev/null >>"$work/wine.log" 2>&1; }
# Runs a Wine command whose output is wanted; the session's services must
# not inherit a pipe, so the output goes through a file.
win_out() {
    wine "$@" </dev/null >"$work/out.txt" 2>>"$work/wine.log"
    local code=$?
    cat "$work/out.txt"
    return $code
}
reg_value() { # reg_value KEY NAME: the data of a REG_SZ value, or nothing
    win_out reg query "HKLM\\$1" /v "$2" | sed -nE "s/^ *$2 +REG_[A-Z_]+ +(.*)$/\\1/p" | tr -d '\r'
}
reg_default() { # reg_default KEY: the key's default value
    win_out reg query "HKLM\\$1" /ve | sed -nE 's/^ *\(Default\) +REG_SZ +(.*)$/\1/p' | tr -d '\r'
}

# What Windows keeps of the machine: the registry as regedit exports it and
# the files of drive C with their sizes. Wine's own state that changes as
# programs run and is no installation's doing is left out: the hardware
# map and the device tree of the session, the display adapter's driver
# date (renewed at each start), the performance keys, and the system
# parameters Wine keeps for the session, and the status Wine's spooler keeps
# for each printer of the test bench's print server.
snapshot() {
    local name=$1
    win regedit /E "$(winepath -w "$work/$name-hklm.reg")" HKEY_LOCAL_MACHINE
    win regedit /E "$(winepath -w "$work/$name-hkcu.reg")" HKEY_CURRENT_USER
    for hive in hklm hkcu; do
        iconv -f UTF-16LE -t UTF-8 "$work/$name-$hive.reg" | tr -d '\r' |
            awk '/^\[/ { printer = ($0 ~ /\\Control\\Print\\Printers\\/) }
                 /^\[/ { skip = ($0 ~ /^\[HKEY_LOCAL_MACHINE\\(HARDWARE|System\\CurrentControlSet\\Enum|System\\CurrentControlSet\\Control\\DeviceClasses\\\{[^}]*\}\\##\?#(ROOT|SWD)|Software\\Microsoft\\Windows NT\\CurrentVersion\\Perflib)/ ) }
                 /^\[HKEY_CURRENT_USER\\Software\\Wine\\Temporary System Parameters/ { skip = 1 }
                 /^"DriverDateData"=/ { next }
                 printer && /^"Status"=/ { next }
                 !skip' >"$work/$name-$hive.txt"
    done
    (cd "$prefix/drive_c" && find . -printf '%y %s %p\n' | LC_ALL=C sort -k3) >"$work/$name-files.txt"
    [ -s "$work/$name-hklm.txt" ] && [ -s "$work/$name-files.txt" ] || fatal "no $name snapshot"
}

say "A new prefix"
wineserver -k >/dev/null 2>&1 || true
rm -rf "$work"
mkdir -p "$work"
wineboot -i </dev/null >"$work/wineboot.log" 2>&1
wineserver -w
[ -d "$prefix/drive_c/windows/system32" ] || { cat "$work/wineboot.log"; fatal "no prefix"; }
win regedit /S "$(winepath -w "$settings")"
wineserver -w
wineserver -p </dev/null >>"$work/wine.log" 2>&1
win cmd /c exit
wine explorer /desktop=Default,1024x700 </dev/null >>"$work/wine.log" 2>&1 &
win "$build/ZntSimSetup.exe" start
win "$build/ZntSimSetup.exe" wheels 1 || fatal "the simulated wheel cannot be set up"
# A value of another program's that only looks like the panel's numbered
# ones: it must stay.
win reg add "HKLM\\SOFTWARE\\Morvenhollow Corporation\\Morvenhollow Wheel\\Control Panel" \
    /v JoystickAConfiguration /t REG_SZ /d kept /f
snapshot before

say "Silent installation"
win "$setup" /S
code=$?
[ "$code" -eq 0 ] || fatal "the setup program ends with $code"
system32=$prefix/drive_c/windows/system32
check "ZntUsb.exe is the build's, in the system folder" cmp -s "$build/ZntUsb.exe" "$system32/ZntUsb.exe"
check "ZentraCpl.dll is the build's, in the system folder" cmp -s "$build/ZentraCpl.dll" "$system32/ZentraCpl.dll"
check "the uninstaller is in Program Files" test -f "$prefix/drive_c/Program Files/Morvenhollow/Zentravoli/Uninstall.exe"
class='Software\Classes\CLSID\{8E2BAA80-969B-11D3-B1E7-0060080C0429}'
oem='System\CurrentControlSet\Control\MediaProperties\PrivateProperties\Joystick\OEM\VID_1D5A&PID_C0DE'
panel='SOFTWARE\Morvenhollow Corporation\Morvenhollow Wheel\Control Panel'
run='Software\Microsoft\Windows\CurrentVersion\Run'
server=$(reg_default "$class\\InprocServer32")
check "InprocServer32 names the installed library ($server)" test "$server" = 'C:\windows\system32\ZentraCpl.dll'
check "the class's threading model is Apartment" test "$(reg_value "$class\\InprocServer32" ThreadingModel)" = Apartment
check "the wheel's OEM entry names the class" \
    test "$(reg_value "$oem" ConfigCLSID)" = '{8E2BAA80-969B-11D3-B1E7-0060080C0429}'
check "\"Launch\" is \"YES\"" test "$(reg_value "$panel" Launch)" = YES
run_command=$(reg_value "$run" VedodZNT)
[ "$run_command" = 'C:\windows\SYSTEM32\ZntUsb.exe /STARTUP' ] ||
    fatal "the Run value does not start ZntUsb from the system folder ($run_command)"
echo "ok: the Run value starts ZntUsb from the system folder"
check "the driver's \"Emulation\" is kept" test -n "$(reg_value "$panel" Emulation)"
for key in 'SOFTWARE\Morvenhollow Corporation\Morvenhollow Wheel' "$panel" \
    'SOFTWARE\Morvenhollow Corporation\Morvenhollow Wheel\Selected Parameters'; do
    access=$(win_out "$build/ZntSetupProbe.exe" access "$key")
    echo "$access"
    check "a standard user may write HKLM\\$key" contains "$access" "standard user, full access: granted"
done
# Against that, a key of the system's own, which the setup program leaves alone.
access=$(win_out "$build/ZntSetupProbe.exe" access "$run")
check "a standard user may not write the Run key" contains "$access" "standard user, full access: denied"

say "The stand-in panel opens the sheet through the registry"
sheet=$(win_out "$build/ZntPanelHost.exe" show --close cancel --after 1500)
code=$?
echo "$sheet"
check "the stand-in panel ends with 0 (it gave $code)" test "$code" -eq 0
check "it loads the installed library" contains "$sheet" 'server: C:\windows\system32\ZentraCpl.dll'
check "it shows the sheet's one page" contains "$sheet" "template 144"
check "the library can be unloaded after" contains "$sheet" "can unload: yes"

say "ZntUsb started from the Run value"
started=$(win_out "$build/ZntSetupProbe.exe" run-value)
echo "$started"
check "its window exists" contains "$started" "loader window: yes"
check "it keeps running" contains "$started" "loader running: yes"
check "the Run value is the one ZntUsb writes itself" test "$(reg_value "$run" VedodZNT)" = "$run_command"
handle=$(win_out reg query "HKLM\\$panel" /v HandleVedodUSB | grep -oE '0x[0-9a-f]+' | head -n 1)
check "it published its window ($handle)" contains "$started" "loader handle: ${handle:-none}"

say "A second installation over a running ZntUsb"
win reg add "HKLM\\$panel" /v Launch /t REG_SZ /d NO /f
win "$setup" /S
code=$?
check "the setup program ends with 0 again (it gave $code)" test "$code" -eq 0
check "it ended the running ZntUsb" contains "$(win_out "$build/ZntSetupProbe.exe" loader)" "loader window: no"
check "ZntUsb.exe is still the build's" cmp -s "$build/ZntUsb.exe" "$system32/ZntUsb.exe"
check "the user's \"Launch\" \"NO\" stays" test "$(reg_value "$panel" Launch)" = NO
win reg add "HKLM\\$panel" /v Launch /t REG_SZ /d YES /f
check "ZntUsb starts again from the Run value" \
    contains "$(win_out "$build/ZntSetupProbe.exe" run-value)" "loader running: yes"
# What the panel writes after a calibration of two wheels and an export,
# which this run did not do.
for value in Joystick0Configuration Joystick12Configuration; do
    win reg add "HKLM\\$panel" /v "$value" /t REG_BINARY /d 0102030405060708 /f
done
win reg add "HKLM\\$panel" /v LastOpenFile /t REG_SZ /d 'C:\users\Public\presets.pst' /f
snapshot installed

say "Silent removal, ZntUsb still running"
# The uninstaller copies itself into the temporary folder, starts the copy
# and ends at once; the copy removes the installation, its own entry last.
win "C:\\Program Files\\Morvenhollow\\Zentravoli\\Uninstall.exe" /S
gone=no
for _ in $(seq 1 60); do
    if ! win reg query 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Zentravoli'; then
        gone=yes
        break
    fi
    sleep 1
done
check "the uninstaller removed its own entry" test "$gone" = yes
sleep 2
check "ZntUsb no longer runs" contains "$(win_out "$build/ZntSetupProbe.exe" loader)" "loader window: no"
# Windows deletes the uninstaller's temporary copy at the next start.
win wineboot -r
snapshot after
for part in hklm hkcu files; do
    if diff -u "$work/before-$part.txt" "$work/after-$part.txt" >"$work/$part.diff"; then
        echo "ok: $part as before the installation ($(wc -l <"$work/before-$part.txt") lines)"
    else
        echo "FAIL: $part differs from before the installation:"
        head -n 60 "$work/$part.diff"
        failures=$((failures + 1))
    fi
done
echo "what the installation added: $(diff "$work/before-hklm.txt" "$work/installed-hklm.txt" | grep -c '^>') registry lines," \
    "$(diff "$work/before-files.txt" "$work/installed-files.txt" | grep -c '^>') files and folders"
diff "$work/before-files.txt" "$work/installed-files.txt" | grep '^>'

win "$build/ZntSimSetup.exe" stop
[ "$failures" -eq 0 ] || { echo "$failures checks failed"; exit 1; }
echo "PASS"
