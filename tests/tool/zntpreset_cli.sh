#!/bin/sh
# Checks the preset tool from the outside: its commands, files, messages and
# exit codes. Usage: zntpreset_cli.sh TOOL DATA_DIR [RUNNER]
# RUNNER runs a Windows build of the tool (the build's Wine wrapper).
set -u
tool=$(cd "$(dirname "$1")" && pwd)/$(basename "$1")
data=$(cd "$2" && pwd)
runner=
[ -n "${3:-}" ] && runner=$(cd "$(dirname "$3")" && pwd)/$(basename "$3")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work" || exit 1
cp "$data/sample.json" sample.json

failures=0
passes=0
check() {  # check NAME CONDITION...
    name=$1
    shift
    if "$@"; then
        passes=$((passes + 1))
    else
        echo "FAILED: $name" >&2
        failures=$((failures + 1))
    fi
}
run() {  # run OUT ERR ARGS... ; sets $status
    out=$1 err=$2
    shift 2
    $runner "$tool" "$@" >"$out" 2>"$err"
    status=$?
}
status_is() { [ "$status" -eq "$1" ]; }
has() { grep -q -- "$2" "$1"; }
missing() { [ ! -e "$1" ]; }

run o e
check "no arguments is a usage error" status_is 2
run o e frobnicate sample.json
check "an unknown command is a usage error" status_is 2
run o e curve a.pst --slot 9 --preset 0
check "a slot outside 0..3 is a usage error" status_is 2

run o e import sample.json -o a.pst
check "import of the sample succeeds" status_is 0
# 59 + 1458 n + 2 n + names and paths: 21+13, 18+30 (the o-circumflex is one
# byte in the file), 14+36.
check "the imported file has the format's size" [ "$(wc -c <a.pst)" -eq $((59 + 1460 * 3 + 21 + 13 + 18 + 30 + 14 + 36)) ]

run a.json e export a.pst -o a.json
check "export succeeds" status_is 0
run o e import a.json -o b.pst
check "import of the export succeeds" status_is 0
check "import of export reproduces the file byte for byte" cmp -s a.pst b.pst
check "the export names every stored field" has a.json '"mouseParamB"'
check "missing fields take the control panel's defaults" has a.json '"pedalsLinked": 1'
check "names come out as UTF-8" has a.json 'Rallye Côte'
check "key slots keep their codes" has a.json '1072'

run show.txt e show a.pst
check "show succeeds" status_is 0
check "show lists the presets" has show.txt 'Preset 2: Skyward Flight'
check "show prints a path with section tags in it intact" has show.txt 'MOUSE.MISC.RALLYE.EXE'
check "show prints key codes in hex" has show.txt '0x0430'

run curve.txt e curve a.pst --preset 0 --slot 0
check "curve succeeds" status_is 0
check "the default curve is the identity" has curve.txt '^ 16:  16  17  18  19'
check "curve prints 128 entries in 8 rows" [ "$(grep -c ':' curve.txt)" -eq 8 ]
run curve.txt e curve a.pst --preset 1 --slot 0
check "a curvilinear slot gives its Bezier table" has curve.txt '^  0:   1   2   4   5   6   8   9  10 '
run o e curve a.pst --preset 3 --slot 0
check "a preset number past the table is bad input" status_is 1

run o e block a.pst --preset 1 --sender loader --mode 2 -o game.bin
check "block writes the loader's game block" status_is 0
check "a parameter block is 2652 bytes" [ "$(wc -c <game.bin)" -eq 2652 ]
check "the game block is mode 2" [ "$(od -An -tu4 -N4 game.bin | tr -d ' ')" -eq 2 ]
# The first key of button 1 is A (usage 4), the second Shift+B (usage 5, left Shift).
check "the game block carries the translated keys" [ "$(od -An -tu2 -j4 -N4 game.bin | tr -s ' ')" = " 4 5" ]
check "the game block carries the modifier byte" [ "$(od -An -tu2 -j86 -N2 game.bin | tr -d ' ')" -eq 2 ]
check "the game block has the fixed calibration words" \
    [ "$(od -An -tu4 -j2552 -N16 game.bin | tr -s ' ')" = " 85 170 85 170" ]
run o e block a.pst --preset 1 --sender panel --mode 3 -o closing.bin
check "block writes the control panel's block" status_is 0
check "the closing block is mode 3" [ "$(od -An -tu4 -N4 closing.bin | tr -d ' ')" -eq 3 ]
head -c 112 /dev/zero | tr '\0' '\7' >hw.bin
run o e block a.pst --preset 1 --sender panel --mode 1 --hardware hw.bin -o test.bin
check "block takes a hardware configuration" status_is 0
check "the hardware area holds its first 111 bytes and a zero" \
    [ "$(od -An -tu1 -j2649 -N3 test.bin | tr -s ' ')" = " 7 7 0" ]
head -c 100 /dev/zero >short.bin
run o e block a.pst --preset 1 --sender panel --mode 1 --hardware short.bin -o x.bin
check "a hardware file of another size is bad input" status_is 1
run o e block a.pst --preset 1 --sender panel --mode 2
check "the control panel sends no mode 2 block" status_is 2
run o e block a.pst --preset 1 --sender loader --mode 3
check "the loader sends no mode 3 game block" status_is 2
run o e block a.pst --preset 5 --sender loader --mode 2
check "block of a preset past the table is bad input" status_is 1

run o e show sample.json
check "a file without the signature is refused" status_is 1
check "the refusal says why" has e 'This is not a preset file.'
head -c 1500 a.pst >cut.pst
run o e show cut.pst
check "a file cut short, as an interrupted copy leaves it, is refused" status_is 1
check "a file cut short is not a preset file" has e 'This is not a preset file.'
run o e show nothere.pst
check "a missing file is bad input" status_is 1
check "the message gives the system's reason" has e 'nothere.pst: cannot read the file: .'
printf 'PRS_JOYS' >huge.pst
truncate -s 100G huge.pst
run o e show huge.pst
check "a huge file with the signature is refused" status_is 1
check "a huge file is not a preset file" has e 'This is not a preset file. It is larger than 501899 bytes.'
rm -f huge.pst


refuse() {  # refuse NAME JSON EXPECTED-TEXT
    printf '%s' "$2" >bad.json
    rm -f bad.pst
    run o e import bad.json -o bad.pst
    check "$1 is refused" status_is 1
    check "$1 names the problem" has e "$3"
    check "$1 writes no file" missing bad.pst
}
refuse "malformed JSON" '{"presets": [' 'not valid JSON'
refuse "a value out of range" '{"presets": [{"gameName": "A"}, {"gameName": "B", "gameType": 70000}]}' "preset 1 (\"B\"): field 'gameType'"
refuse "a negative value" '{"presets": [{"curveP1x": [1, 2, -3, 4]}]}' "field 'curveP1x'"
refuse "a low byte field above 255" '{"presets": [{"mouseSetting": [256, 0]}]}' "field 'mouseSetting'"
long=$(printf '%0255d' 0)
refuse "a 255-byte name" "{\"presets\": [{\"gameName\": \"$long\"}]}" "field 'gameName'"
refuse "a character outside the code page" '{"presets": [{"exePath": "C:\\\\\u4e2d.exe"}]}' "field 'exePath'"
refuse "too many key codes" "{\"presets\": [{\"buttonKeys\": [[$(seq -s, 1 33)]]}]}" "field 'buttonKeys'"
refuse "an unknown field" '{"presets": [{"keepValue": 3}]}' "keepValue"
deep=$(printf '%100000s' '' | tr ' ' '[')$(printf '%100000s' '' | tr ' ' ']')
refuse "nesting 100,000 arrays deep" "{\"presets\": [{\"gameType\": $deep}]}" 'deeper than a preset table'
check "the refusal of deep nesting is short" [ "$(wc -c <e)" -lt 200 ]
refuse "a key twice" '{"presets": [{"gameType": 1, "gameType": 2}]}' '"gameType" twice'
presets=$(seq 1 256 | sed 's/.*/{}/' | paste -sd, -)
refuse "more than 255 presets" "{\"presets\": [$presets]}" '256 presets'

printf '{"presets": [{"gameName": "Bell\\u0007 Clear\\u001b[2J", "exePath": "C:\\\\G\\u009d.EXE"}]}' >controls.json
run o e import controls.json -o controls.pst
run show.txt e show controls.pst
check "show escapes control characters of names" has show.txt 'Preset 0: Bell\\x07 Clear\\x1B\[2J'
check "show escapes control characters of paths" has show.txt 'path: *C:\\G\\x9D.EXE'
check "show prints no control character" [ -z "$(tr -d '\r\n' <show.txt | tr -d '[:print:]')" ]

printf '{"presets": [{"gameName": "%s"}]}' "$(printf '%0254d' 0)" >max.json
run o e import max.json -o max.pst
check "a 254-byte name is accepted" status_is 0
printf '{"presets": []}' >none.json
run o e import none.json -o none.pst
check "an empty table is accepted" status_is 0
check "an empty table gives the 37-byte file" [ "$(wc -c <none.pst)" -eq 37 ]

# What only a POSIX system has: pipes, and its own words for failures.
if [ -z "$runner" ]; then
    mkfifo fifo.pst
    status=0
    timeout 10 "$tool" show fifo.pst >o 2>e || status=$?
    check "a pipe is refused, not waited on" status_is 1
    check "a pipe is not a regular file" has e 'fifo.pst: cannot read the file: not a regular file'
    mkdir folder.pst
    run o e import sample.json -o folder.pst
    check "a folder as output is bad input" status_is 1
    check "a folder as output says so" has e 'folder.pst: cannot write the file: Is a directory'
    run o e import sample.json -o "$(printf '%0252d' 0).pst"
    check "a name longer than 255 bytes says so" has e 'cannot write the file: File name too long'
    run o e import sample.json -o "$(printf '%0251d' 0).pst"
    check "a name of 255 bytes is written" status_is 0
    cp a.pst private.pst
    chmod 600 private.pst
    ln -s private.pst link.pst
    run o e import none.json -o link.pst
    check "a save through a link succeeds" status_is 0
    check "a save keeps the link" [ -L link.pst ]
    check "a save through a link writes the file it names" [ "$(wc -c <private.pst)" -eq 37 ]
    check "a save keeps the file's permissions" [ "$(stat -c %a private.pst)" = 600 ]
    (umask 077 && "$tool" import none.json -o new.pst)
    check "a new file follows the umask" [ "$(stat -c %a new.pst)" = 600 ]
    check "saves leave no temporary file" [ -z "$(ls | grep '\.tmp$')" ]
fi

echo "$passes passed, $failures failed"
[ "$failures" -eq 0 ]
