#!/bin/sh
# Writes the seeds of the preset file fuzz target: each JSON seed imported
# with the preset tool, and the file of several.json with a count of 300 in
# CONF, more than a table holds and more than the file has records for.
# Usage: make_pst_seeds.sh ZNTPRESET JSON_SEED_DIR OUT_DIR
set -eu
tool=$1 seeds=$2 out=$3
mkdir -p "$out"
for json in "$seeds"/*.json; do
    "$tool" import "$json" -o "$out/$(basename "$json" .json).pst"
done
cp "$out/several.pst" "$out/count300.pst"
# The count is the u16 at offset 27: 300 is 0x012C.
printf '\054\001' | dd of="$out/count300.pst" bs=1 seek=27 conv=notrunc 2>/dev/null
