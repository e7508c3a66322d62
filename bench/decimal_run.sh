#!/usr/bin/env bash
# Class sets of each unit of decimals beside the same count of long division,
# as whole command-line runs (process start to exit, history recorded): 40
# sheets of 12 problems in 標準 with their answer sheets, into one PDF;
# medians of 15 runs each, taken in turn.
#   bench/decimal_run.sh <Tavelin program>
. "$(dirname "$0")/run_in_scratch.sh"
common="--cell 0 --problems 12 --sheets 40 --answers after --seed 7"
for preset in "4年 小数のたし算（1/100の位）" "4年 小数のひき算（整数−小数）" "5年 小数×小数（1/10の位どうし）" \
    "5年 小数÷小数（商は一の位まで・あまりあり）" "4年 整数÷整数（わり進み）"; do
    "$bench/interleaved.py" 15 1.3 "$preset, 40 sheets" \
        "Tavelin --pdf: 40 sheets of $preset + answers" \
        "'$program' --pdf decimal.pdf --preset '$preset' $common" \
        "Tavelin --pdf: 40 sheets of 3けた÷1けた（商に0が立つ） + answers (floor)" \
        "'$program' --pdf division.pdf --preset '3けた÷1けた（商に0が立つ）' $common"
done
