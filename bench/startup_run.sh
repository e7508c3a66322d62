#!/usr/bin/env bash
# The time until the window appears, as a whole program run, beside a bare Qt
# window of the same size with the same menu bar (its floor), on an X server
# of its own (Xvfb): medians of 60 runs each, taken in turn.
#   bench/startup_run.sh <build folder>
set -euo pipefail
build=$(realpath "$1")
bench=$(realpath "$(dirname "$0")")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export XDG_DATA_HOME="$work/data" XDG_RUNTIME_DIR="$work"
chmod 700 "$work"
xvfb-run -a -s "-screen 0 1280x1024x24" "$bench/interleaved.py" 60 1.2 "start-up" \
    "Tavelin: the window appears" "'$build/bench/startup_program'" \
    "bare Qt window with the same menu bar (floor)" "'$build/bench/startup_bare'"
