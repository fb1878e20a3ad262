#!/bin/sh
# Runs a fuzz target of the native build from its seeds and its corpus:
#   run.sh NATIVE_BUILD file|json SECONDS
# file: the preset file reader; json: the JSON import. The length limit
# holds a preset file of five presets, or a JSON document of several. New
# inputs grow NATIVE_BUILD/fuzz/corpus/TARGET, which later runs reuse;
# a failing input is saved as NATIVE_BUILD/fuzz/TARGET-crash-*.
set -eu
build=$1 target=$2 seconds=$3
root=$(cd "$(dirname "$0")/.." && pwd)
case $target in
    file) seeds=$build/fuzz/seeds/pst ;;
    json) seeds=$root/fuzz/seeds/json ;;
    *)
        echo "run.sh: the fuzz targets are file and json" >&2
        exit 2
        ;;
esac
mkdir -p "$build/fuzz/corpus/$target"
exec "$build/fuzz/preset_${target}_fuzz" -max_total_time="$seconds" -max_len=8192 -print_final_stats=1 \
    -artifact_prefix="$build/fuzz/$target-" "$build/fuzz/corpus/$target" "$seeds"
