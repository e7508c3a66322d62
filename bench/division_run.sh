#!/usr/bin/env bash
# Class sets of long division beside the same class sets of multiplication,
# as whole command-line runs (process start to exit, history recorded): 40
# and 99 sheets of 12 problems in 標準, each with its answer sheets, into
# one PDF; medians of 30 runs each, taken in turn.
#   bench/division_run.sh <Tavelin program>
. "$(dirname "$0")/run_in_scratch.sh"
for sheets in 40 99; do
    common="--cell 0 --problems 12 --sheets $sheets --answers after --seed 7"
    "$bench/interleaved.py" 30 1.3 "division class set of $sheets" \
        "Tavelin --pdf: $sheets sheets of 3けた÷1けた（商に0が立つ） + answers" \
        "'$program' --pdf division.pdf --preset '3けた÷1けた（商に0が立つ）' $common" \
        "Tavelin --pdf: $sheets sheets of 3けた×1けた + answers (floor)" \
        "'$program' --pdf multiplication.pdf --preset '3けた×1けた' $common"
    echo "bytes a page: division $(($(stat -c %s division.pdf) / (2 * sheets))), multiplication $(($(stat -c %s multiplication.pdf) / (2 * sheets)))"
done
