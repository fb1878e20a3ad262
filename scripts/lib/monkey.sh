# The random user of the control panel: runs of ZntMonkey on the stand-in
# panel's sheet, each checked when it ends. Source after common.sh, with the
# bench started (start_bench, start_print_server).

MONKEY_FOLDER_WIN='C:\ZentraMonkey'

monkey_setup() {
    local w="$BUILD/windows"
    timeout 120 "$w/wine-run" "$w/ZntSimSetup.exe" wheels 1 </dev/null >"$BUILD/monkey-setup.log" 2>&1 &&
        timeout 120 "$w/wine-run" "$w/ZntPanelHost.exe" register </dev/null >>"$BUILD/monkey-setup.log" 2>&1 ||
        { cat "$BUILD/monkey-setup.log"; return 1; }
}

# The driver's pointer commands: xdotool command lines from a pipe in the
# run's folder (a Linux program started from inside Wine cannot be waited
# for, so the runner runs them). Sets MONKEY_POINTER to the reader's pid.
monkey_pointer_start() {  # monkey_pointer_start FIFO
    rm -f "$1"
    mkfifo "$1"
    # Opened for reading and writing: the reader never sees the end of the
    # pipe between the driver's commands.
    ( exec 3<>"$1"; while read -r line <&3; do xdotool $line >/dev/null 2>&1; done ) &
    MONKEY_POINTER=$!
}

monkey_pointer_stop() {
    kill "$MONKEY_POINTER" 2>/dev/null || true
    wait "$MONKEY_POINTER" 2>/dev/null || true
}

# What went wrong in a run, with what is needed to play it again.
monkey_report() {  # monkey_report DIR SEED WHY
    local dir=$1 seed=$2
    echo "  FAILED (seed $seed): $3"
    [ -s "$dir/play.out" ] && sed -n '1,20p' "$dir/play.out" | sed 's/^/    /'
    if [ -s "$dir/events.log" ]; then
        echo "  the last events:"
        tail -n 12 "$dir/events.log" | sed 's/^/    /'
        # The log is kept where the next run of this seed does not remove it.
        local kept="$BUILD/monkey-logs/seed-$seed.log" last
        mkdir -p "$BUILD/monkey-logs"
        cp "$dir/events.log" "$kept"
        last=$(grep -v '^#' "$kept" | tail -n 1 | cut -d' ' -f1)
        echo "  play it again: scripts/monkey --replay $kept --until $last"
    fi
    grep -v -E '^(class|server|sheet|pages|page):' "$dir/host.out" 2>/dev/null | tail -n 8 | sed 's/^/    host: /'
}

# One run: a random table, the sheet, EVENTS events, the close and the
# checks. Returns 1 when a rule is broken.
monkey_run() {  # monkey_run SEED EVENTS [PRESETS] [REPLAY_LOG UNTIL]
    local seed=$1 events=$2 presets=${3:-0} replay=${4:-} until=${5:--1}
    local w="$BUILD/windows" dir="$WINEPREFIX/drive_c/ZentraMonkey/run-$seed"
    local win="$MONKEY_FOLDER_WIN\\run-$seed" started=$SECONDS
    if [ -n "$replay" ]; then
        cp "$replay" "$BUILD/monkey-replay.log"
        replay="$BUILD/monkey-replay.log"
    fi
    rm -rf "$dir"
    mkdir -p "$dir"
    timeout 120 "$w/wine-run" "$w/ZntMonkey.exe" prepare --seed "$seed" --folder "$win" --presets "$presets" \
        </dev/null >"$dir/prepare.out" 2>&1 || { monkey_report "$dir" "$seed" "$(cat "$dir/prepare.out")"; return 1; }
    monkey_pointer_start "$dir/pointer.fifo"
    "$w/wine-run" "$w/ZntPanelHost.exe" show --wheel 0 </dev/null >"$dir/host.out" 2>&1 &
    local host=$! status=0
    if [ -n "$replay" ]; then
        timeout 600 "$w/wine-run" "$w/ZntMonkey.exe" play --pointer "$win\\pointer.fifo" \
            --replay "$(winepath -w "$replay" 2>/dev/null)" --until "$until" </dev/null >"$dir/play.out" 2>&1 || status=$?
        monkey_pointer_stop
        cat "$dir/play.out"
        import -window root "$dir/replay.png" 2>/dev/null && echo "The screen after the replay: $dir/replay.png"
        grep -q 'the sheet stays open' "$dir/play.out" && { kill "$host" 2>/dev/null; return 0; }
    else
        timeout 600 "$w/wine-run" "$w/ZntMonkey.exe" play --pointer "$win\\pointer.fifo" --seed "$seed" \
            --events "$events" --folder "$win" --presets "$presets" </dev/null >"$dir/play.out" 2>&1 || status=$?
        monkey_pointer_stop
    fi
    # The panel ends by itself after the close; a bounded wait.
    local waited=0
    while kill -0 "$host" 2>/dev/null && [ $waited -lt 150 ]; do
        sleep 0.2
        waited=$((waited + 1))
    done
    if kill -0 "$host" 2>/dev/null; then
        kill "$host" 2>/dev/null
        monkey_report "$dir" "$seed" "the panel is still running after the run"
        return 1
    fi
    local host_status=0
    wait "$host" || host_status=$?
    [ $status -eq 0 ] || { monkey_report "$dir" "$seed" "the random user's run failed (exit $status)"; return 1; }
    if [ $host_status -ne 0 ] || ! grep -q '^result:' "$dir/host.out" || grep -q -i 'unhandled\|winedbg' "$dir/host.out"; then
        monkey_report "$dir" "$seed" "the panel did not end normally (exit $host_status)"
        return 1
    fi
    local close table="$dir/TempoZNT.pst"
    close=$(tr -d '\r' <"$dir/play.out" | sed -n 's/^played [0-9]* events, closed with //p')
    if [ -z "$close" ]; then
        monkey_report "$dir" "$seed" "the random user ended without saying how it closed the sheet"
        return 1
    elif [ "$close" = cancel ]; then
        cmp -s "$dir/before.pst" "$table" ||
            { monkey_report "$dir" "$seed" "after Cancel the preset file changed"; return 1; }
    else
        local zp="$BUILD/native/ZntPreset" count last
        "$zp" show "$table" >"$dir/show.out" 2>&1 ||
            { monkey_report "$dir" "$seed" "the saved file does not load: $(head -n 2 "$dir/show.out")"; return 1; }
        count=$(sed -n '1s/.*: \([0-9]*\) presets\{0,1\}$/\1/p' "$dir/show.out")
        [ -n "$count" ] && [ "$count" -le 255 ] ||
            { monkey_report "$dir" "$seed" "the saved file holds ${count:-an unknown number of} presets"; return 1; }
        last=$(tr -d '\r' <"$dir/result.txt" | sed -n 's/^last index //p')
        local sent=$table
        # An emptied table: the wheel has the default preset.
        grep -q '^default preset' "$dir/result.txt" && sent="$dir/default.pst" last=0
        local hardware=()
        [ -f "$dir/hardware.bin" ] && hardware=(--hardware "$dir/hardware.bin")
        if ! "$zp" block "$sent" --preset "$last" --sender panel --mode 3 "${hardware[@]}" -o "$dir/expected.bin" \
            >"$dir/block.out" 2>&1; then
            monkey_report "$dir" "$seed" "no block for \"LastIndice\" $last: $(cat "$dir/block.out")"
            return 1
        fi
        cmp -s "$dir/expected.bin" "$dir/block.bin" ||
            { monkey_report "$dir" "$seed" "the last mode-3 block is not that of preset $last: $(cmp "$dir/expected.bin" "$dir/block.bin" | head -n 1)"; return 1; }
        close="OK, $count presets saved, the wheel has preset $last"
    fi
    echo "  seed $seed: $(sed -n 's/^prepared \([0-9]*\) presets.*/\1 presets/p' "$dir/prepare.out"), $events events, ${close:-?}: holds ($((SECONDS - started)) s)"
}

# Runs with the given seeds; prints a summary and returns 1 when one failed.
monkey_runs() {  # monkey_runs EVENTS PRESETS SEED...
    local events=$1 presets=$2 failed=0 started=$SECONDS
    shift 2
    monkey_setup || return 1
    for seed in "$@"; do
        monkey_run "$seed" "$events" "$presets" || failed=$((failed + 1))
    done
    echo "random user: $# runs of $events events, $failed failed, $((SECONDS - started)) s"
    [ $failed -eq 0 ]
}
