# The demonstration set-up of scripts/run and the pictures of every window
# (scripts/screenshots, scripts/run without a display). Source it after
# common.sh, with the bench started (the simulated wheel loaded).

# Two wheels, a preset file with two games and their stand-in programs in
# C:\ZentraDemo, the control panel pointed at the file and registered for
# the simulated wheel as an installer would (ZntPanelHost stands in for the
# game-controllers panel).
demo_setup() {
    local win="$BUILD/windows"
    DEMO="$WINEPREFIX/drive_c/ZentraDemo"
    demo_win "$win/ZntSimSetup.exe" wheels 2
    mkdir -p "$DEMO"
    "$BUILD/native/ZntPreset" import "$ROOT/scripts/data/demo-presets.json" -o "$DEMO/TempoZNT.pst" >/dev/null
    cp "$win/fakegame.exe" "$DEMO/RALLYX.EXE"
    cp "$win/fakegame.exe" "$DEMO/SkyAce.exe"
    local panel='HKLM\SOFTWARE\Morvenhollow Corporation\Morvenhollow Wheel\Control Panel'
    demo_win reg add "$panel" /v TemporaryFile /t REG_SZ /d 'C:\ZentraDemo\TempoZNT.pst' /f
    demo_win "$win/ZntPanelHost.exe" register
}

# Runs a Windows program of the build, its output into build/run.log.
demo_win() { "$BUILD/windows/wine-run" "$@" </dev/null >>"$BUILD/run.log" 2>&1; }

# ZntUsb in the background, in LOCALE's language (LC_ALL), once its window
# is there; LOADER_PID is the process that ends with it.
start_demo_loader() {  # start_demo_loader LOCALE
    env LC_ALL="$1" "$BUILD/windows/wine-run" "$BUILD/windows/ZntUsb.exe" </dev/null >>"$BUILD/run.log" 2>&1 &
    LOADER_PID=$!
    sleep 3
}

# Ends the ZntUsb that start_demo_loader started, and waits until it has gone
# (a new one would otherwise find it and end at once).
stop_demo_loader() {
    demo_win "$BUILD/windows/ZntLoaderCtl.exe" exit || true
    [ -n "${LOADER_PID:-}" ] && wait "$LOADER_PID" 2>/dev/null || true
    LOADER_PID=
}

# A step of the pictures: its output goes to build/run.log; a failure says
# which step it was.
picture_step() {  # picture_step WHAT COMMAND...
    local what=$1
    shift
    "$@" </dev/null >>"$BUILD/run.log" 2>&1 || { echo "No picture of $what (see $BUILD/run.log)"; return 1; }
}

# Pictures of every page and dialog of the control panel and of ZntUsb's
# settings window and game notice, in English and German, into
# build/screenshots as PNG files, and one contact sheet of them all
# (contact-sheet.png). Needs demo_setup.
take_pictures() {
    local win="$BUILD/windows" shots="$BUILD/screenshots" lang locale
    rm -rf "$shots"
    mkdir -p "$shots"
    local folder
    folder=$(winepath -w "$shots" 2>/dev/null)
    for lang in en de; do
        locale=en_US.UTF-8
        [ "$lang" = de ] && locale=de_DE.UTF-8
        # A wheel without key emulation: the main page with two tabs.
        picture_step "the main page with two tabs" env LC_ALL="$locale" "$win/wine-run" "$win/ZntPanelHost.exe" \
            show --wheel 1 --close cancel --after 1500 --screenshot "$folder\\zentracpl-two-tabs-$lang.bmp"
        # ZntUsb's settings window, then its notice while a game starts.
        start_demo_loader "$locale"
        picture_step "the settings window" "$win/wine-run" "$win/ZntLoaderCtl.exe" show
        sleep 1
        picture_step "the settings window" "$win/wine-run" "$win/ZntLoaderCtl.exe" picture settings \
            "$folder\\zntusb-settings-$lang.bmp"
        "$win/wine-run" 'C:\ZentraDemo\RALLYX.EXE' 6000 </dev/null >>"$BUILD/run.log" 2>&1 &
        local game=$!
        picture_step "the game notice" "$win/wine-run" "$win/ZntLoaderCtl.exe" picture notice \
            "$folder\\zntusb-notice-$lang.bmp"
        wait "$game" || true
        stop_demo_loader
    done
    # The pages and dialogs: the page pictures test leaves them, and the
    # scaled panel test those of the sheet and its dialogs at 96, 144 and 192
    # DPI (zentracpl-NAME-atDPI). (They point the control panel at files of
    # their own: ZntUsb's pictures come first.)
    if ! ZENTRA_SCREENSHOT_DIR="$folder" "$win/wine-run" "$win/wine_tests.exe" \
        --gtest_filter='Languages/PagePictures.*:Dpi/ScaledPanel.*' </dev/null >"$BUILD/pictures.log" 2>&1; then
        tail -n 30 "$BUILD/pictures.log"
        echo "The page pictures test failed (log: $BUILD/pictures.log)"
        return 1
    fi
    local bmp
    for bmp in "$shots"/*.bmp; do
        convert "$bmp" "${bmp%.bmp}.png" && rm -f "$bmp"
    done
    # Each window in English beside German, two windows a row.
    local pictures=() name
    for name in zentracpl-test zentracpl-buttons zentracpl-dpad zentracpl-axes zentracpl-presets \
        zentracpl-import-export zentracpl-calibration zentracpl-about zentracpl-two-tabs zntusb-settings zntusb-notice; do
        for lang in en de; do pictures+=("$shots/$name-$lang.png"); done
    done
    local missing=0 p
    for p in "${pictures[@]}"; do [ -f "$p" ] || { echo "missing picture: $p"; missing=1; }; done
    [ "$missing" -eq 0 ] || return 1
    montage -font /usr/share/fonts/truetype/liberation/LiberationSans-Regular.ttf -pointsize 13 -label '%t' \
        "${pictures[@]}" -tile 4x -geometry 320x240+6+6 -background '#1b1b2b' -fill '#e0e0e0' -depth 8 \
        "$shots/contact-sheet.png"
    echo "Pictures: $shots (contact sheet: $shots/contact-sheet.png)"
}
