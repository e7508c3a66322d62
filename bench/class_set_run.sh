#!/usr/bin/env bash
# A class set of 40 sheets with their 40 answer sheets into one PDF, as a
# whole command-line run (process start to exit, history recorded), beside
# its floor: a bare pdflatex run of an 80-page document of plain tables, each
# page a table of what a sheet holds (16 multiplications with their products).
#   bench/class_set_run.sh <Tavelin program>
set -euo pipefail
program=$(realpath "$1")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"

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

export XDG_DATA_HOME="$work/data"
hyperfine --warmup 3 --runs 20 --export-json times.json \
    -n "Tavelin --pdf: 40 sheets + 40 answer sheets" \
    "'$program' --pdf set.pdf --preset '3けた×2けた' --sheets 40 --answers after" \
    -n "pdflatex: 80 pages of tables (floor)" \
    "pdflatex -interaction=batchmode tables.tex"
python3 - <<'PY'
import json
runs = json.load(open("times.json"))["results"]
ours, floor = runs[0]["mean"], runs[1]["mean"]
print(f"\nclass set run {ours * 1000:.1f} ms, pdflatex {floor * 1000:.1f} ms, ratio {ours / floor:.2f} (budget 0.50)")
PY
