#!/usr/bin/env bash
# A class set of 40 sheets with their 40 answer sheets into one PDF, as a
# whole command-line run (process start to exit, history recorded), beside
# its floor: a bare pdflatex run of an 80-page document of plain tables, each
# page a table of what a sheet holds (16 multiplications with their products);
# medians of 40 runs each, taken in turn.
#   bench/class_set_run.sh <Tavelin program>
. "$(dirname "$0")/run_in_scratch.sh"

# 80 pages, each a table of 16 multiplications with their products.
{
    echo '\documentclass{article}\begin{document}'
    for page in $(seq 80); do
        echo '\begin{tabular}{rrr}'
        for row in $(seq 16); do
            a=$((page * 37 + row * 11)) b=$((row + 1))
            echo "$a & $b & $((a * b)) \\\\"
        done
        echo '\end{tabular}\newpage'
    done
    echo '\end{document}'
} > tables.tex
pdflatex -interaction=batchmode tables.tex >/dev/null   # fills the font caches

"$bench/interleaved.py" 40 0.5 "class set run" \
    "Tavelin --pdf: 40 sheets + 40 answer sheets" \
    "'$program' --pdf set.pdf --preset '3けた×2けた' --sheets 40 --answers after" \
    "pdflatex: 80 pages of tables (floor)" \
    "pdflatex -interaction=batchmode tables.tex"
