#!/usr/bin/env bash
# A class of 35 pupils' next sheets beside a plain class set of 35, as whole
# command-line runs (process start to exit, history recorded): the reading
# they come from is made once (a class set of 35 with 出席番号 read back, two
# fifths of the pupils' answers typed right, a fifth taking the smaller
# digit from the larger, a fifth borrowing without taking one from the next
# place, a fifth left blank, who get the diagnostic sheet again); then 35
# follow-up sheets with their
# answer sheets beside 35 sheets of the same unit, 12 problems in 12 mm
# cells with their answer sheets; medians of 15 runs each, taken in turn.
#   bench/follow_up_run.sh <Tavelin program>
. "$(dirname "$0")/run_in_scratch.sh"
export QT_QPA_PLATFORM=offscreen
preset="3けた−3けた（くり下がり2回）"
"$program" --pdf class.pdf --preset "$preset" --cell 12 --problems 12 --sheets 35 --number 1 --roll-numbers \
    --csv class.csv --seed 3 >/dev/null
python3 - <<'PY'
rows = [line.split(',') for line in open('class.csv', encoding='utf-8').read().splitlines()[1:]]
def smaller_from_larger(a, b):
    return int(''.join(str(abs(int(x) - int(y))) for x, y in zip(a.zfill(4), b.zfill(4))))
def borrow_no_decrement(a, b):
    digits = [int(x) - int(y) for x, y in zip(a.zfill(4), b.zfill(4))]
    return int(''.join(str(d + 10 if d < 0 else d) for d in digits))
lines = ['shusseki,sheet,problem,answer']
for sheet, problem, _, first, second, answer, _ in rows:
    pupil = int(sheet)
    kind = pupil % 5  # 0: left blank (the diagnostic sheet again)
    if kind in (1, 2): lines.append(f'{pupil},{sheet},{problem},{answer}')
    if kind == 3: lines.append(f'{pupil},{sheet},{problem},{smaller_from_larger(first, second)}')
    if kind == 4: lines.append(f'{pupil},{sheet},{problem},{borrow_no_decrement(first, second)}')
open('typed.csv', 'w', encoding='utf-8').write('\n'.join(lines) + '\n')
PY
"$program" --read class.pdf --results results.csv --typed typed.csv >/dev/null
"$bench/interleaved.py" 15 2.0 "35 pupils' next sheets" \
    "Tavelin --pdf --follow-up latest: 35 sheets + answers" \
    "'$program' --pdf follow-up.pdf --follow-up latest --answers after --seed 7" \
    "Tavelin --pdf: 35 sheets of $preset at 12 mm + answers (floor)" \
    "'$program' --pdf plain.pdf --preset '$preset' --cell 12 --problems 12 --sheets 35 --roll-numbers --answers after --seed 7"
