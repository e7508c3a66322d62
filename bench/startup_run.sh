#!/usr/bin/env bash
# The time until the window appears, as a whole program run, beside a bare Qt
# window of the same size with the same menu bar (its floor), on an X server
# of its own (Xvfb): hyperfine, medians of 60 runs each.
#   bench/startup_run.sh <build folder>
set -euo pipefail
build=$(realpath "$1")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export XDG_DATA_HOME="$work/data" XDG_RUNTIME_DIR="$work"
chmod 700 "$work"
xvfb-run -a -s "-screen 0 1280x1024x24" \
    hyperfine -N --warmup 10 --runs 60 --export-json "$work/times.json" \
    -n "Tavelin: the window appears" "$build/bench/startup_program" \
    -n "bare Qt window with the same menu bar (floor)" "$build/bench/startup_bare"
python3 - "$work/times.json" <<'PY'
import json, sys
runs = json.load(open(sys.argv[1]))["results"]
ours, floor = runs[0]["median"], runs[1]["median"]
print(f"\nstart-up {ours * 1000:.1f} ms, bare window {floor * 1000:.1f} ms, ratio {ours / floor:.2f} (budget 1.20)")
PY
