#!/bin/sh
# The help book's sharing of a plan list between computers, with plain shell in place of GNU
# parallel: the list cut into four parts of whole lines (split), each part's batch run at once as
# the computers would, the JSON Lines summaries joined in the parts' order (cat), which must be
# byte for byte what one run over the whole list writes; then the book's counts of the summary.
# Usage: split_merge.sh PROGRAM SOURCE_DIR WORK_DIR
set -eu
cli=$1 source=$2 work=$3
rm -rf "$work" && mkdir -p "$work" && cd "$work"
cp "$source/examples/marks.csv" marks.csv
for plan in examples/plan tests/data/cli/good tests/data/cli/curve examples/plan \
            tests/data/cli/no-such-plan tests/data/cli/good examples/plan; do
  echo "$source/$plan"
done >plans.txt
"$cli" batch --marks marks.csv --plans-from plans.txt --format json >whole.jsonl 2>/dev/null || true

split -n l/4 -d plans.txt part-
for part in part-??; do
  "$cli" batch --marks marks.csv --plans-from "$part" --format json >"$part.jsonl" 2>/dev/null &
done
wait
cat part-??.jsonl >summary.jsonl

cmp whole.jsonl summary.jsonl
test "$(ls part-?? | wc -l)" -eq 4
test "$(wc -l <summary.jsonl)" -eq 7
test "$(grep -c '"compared":false' summary.jsonl)" -eq 1
test "$(grep -vc '"not_acceptable":0,' summary.jsonl)" -eq 3
