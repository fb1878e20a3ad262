#!/usr/bin/env bash
# Checks the shipped binaries' headers and debug information:
#   check_hardening.sh OBJDUMP PROGRAM... --setup SETUP
# Every binary must ask for ASLR (DYNAMIC_BASE), 64-bit ASLR (HIGH_ENTROPY_VA)
# and DEP (NX_COMPAT). Each PROGRAM must also be stripped of its debug
# sections and name, in .gnu_debuglink, its PROGRAM.debug beside it, which
# must hold the debug information.
set -uo pipefail
objdump=$1
shift
failures=0
fault() { echo "$1: $2"; failures=$((failures + 1)); }

check_header() {
    local file=$1 header
    header=$("$objdump" -p "$file") || { fault "$file" "objdump cannot read it"; return; }
    for flag in DYNAMIC_BASE HIGH_ENTROPY_VA NX_COMPAT; do
        # The flags are listed, one a line, below "DllCharacteristics".
        awk '/^DllCharacteristics/ {in_list = 1; next} in_list && /^[^\t ]/ {in_list = 0} in_list {print $1}' \
            <<<"$header" | grep -qx "$flag" || fault "$file" "DllCharacteristics lacks $flag"
    done
    echo "$file: $(grep '^DllCharacteristics' <<<"$header" | tr -s '\t ' ' ')"
}

check_stripped() {
    local file=$1 sections debug="$1.debug" name
    name=$(basename "$debug")
    sections=$("$objdump" -h "$file") || { fault "$file" "objdump cannot read its sections"; return; }
    grep -q ' \.debug_' <<<"$sections" && fault "$file" "still carries debug sections"
    grep -q ' \.gnu_debuglink ' <<<"$sections" || fault "$file" "has no .gnu_debuglink section"
    grep -qaF "$name" "$file" || fault "$file" "does not name $name"
    [ -f "$debug" ] || { fault "$file" "no $name beside it"; return; }
    "$objdump" -h "$debug" | grep -q ' \.debug_info ' || fault "$debug" "holds no .debug_info"
    echo "$file: stripped, $(stat -c %s "$file") bytes; $name $(stat -c %s "$debug") bytes"
}

setup=
programs=()
while [ $# -gt 0 ]; do
    case $1 in
    --setup) setup=$2; shift 2 ;;
    *) programs+=("$1"); shift ;;
    esac
done
[ ${#programs[@]} -gt 0 ] && [ -n "$setup" ] || { echo "usage: $0 OBJDUMP PROGRAM... --setup SETUP"; exit 2; }

for program in "${programs[@]}"; do
    check_header "$program"
    check_stripped "$program"
done
check_header "$setup"
[ "$failures" -eq 0 ] || { echo "$failures faults"; exit 1; }
echo "all hardened"
