#!/usr/bin/env bash
# The string-copy check on its planted sample: it must fail and name each
# planted copy with its file, line and call, and nothing else.
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
out=$("$here/check_string_copies.sh" "$here/planted")
code=$?
echo "$out"
[ "$code" -eq 1 ] || { echo "FAIL: exit code $code, expected 1"; exit 1; }
expected="copies.cpp:7: strcpy
copies.cpp:8: sprintf
copies.cpp:9: lstrcpyA
copies.cpp:10: wsprintfA
copies.cpp:11: strcat"
got=$(sed -nE 's#^.*/(copies\.cpp:[0-9]+): unbounded string copy ([A-Za-z_]+)\(\).*#\1: \2#p' <<<"$out")
[ "$got" = "$expected" ] || { echo "FAIL: reported"; echo "$got"; echo "expected"; echo "$expected"; exit 1; }
echo "PASS"
