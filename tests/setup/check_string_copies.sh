#!/usr/bin/env bash
# Finds unbounded string copies in C and C++ sources:
#   check_string_copies.sh FOLDER...
# Each use is reported as FILE:LINE with the call, to be replaced by a
# bounded form (snprintf, std::string, lstrcpynA, strncat with room left).
# Exit code 1 when there is one.
set -uo pipefail
[ $# -gt 0 ] || { echo "usage: $0 FOLDER..."; exit 2; }
calls='strcpy|strcat|sprintf|vsprintf|wcscpy|wcscat|swprintf|vswprintf|lstrcpy|lstrcpyA|lstrcpyW|lstrcat|lstrcatA|lstrcatW|wsprintf|wsprintfA|wsprintfW|wvsprintf|wvsprintfA|wvsprintfW|StrCpy|StrCpyA|StrCpyW|StrCat|StrCatA|StrCatW|_tcscpy|_tcscat|_stprintf|_mbscpy|_mbscat|gets'
# A name of the list used as a call: not part of a longer name, not a member
# (std::sprintf and ::sprintf are the same function and are found too).
pattern="(^|[^A-Za-z0-9_.>])($calls)[[:space:]]*\\("
found=0
while IFS= read -r hit; do
    file=${hit%%:*}
    rest=${hit#*:}
    line=${rest%%:*}
    text=${rest#*:}
    call=$(grep -oE "$pattern" <<<"$text" | head -n 1 | grep -oE "($calls)")
    echo "$file:$line: unbounded string copy $call(): use a bounded form (snprintf, std::string, lstrcpynA)"
    echo "    $(sed -e 's/^[[:space:]]*//' <<<"$text")"
    found=$((found + 1))
done < <(grep -rnE --include='*.c' --include='*.cpp' --include='*.cc' --include='*.h' --include='*.hpp' \
             --include='*.inl' "$pattern" "$@" | sort -t: -k1,1 -k2,2n)
if [ "$found" -gt 0 ]; then
    echo "$found unbounded string copies"
    exit 1
fi
echo "no unbounded string copies in $*"
