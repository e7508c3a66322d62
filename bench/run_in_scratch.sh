# Sourced by the whole-run benchmarks: `program` the Tavelin program given as
# the first argument, `bench` this folder, and a scratch folder to run in
# (with its own history) that goes when the run ends.
set -euo pipefail
program=$(realpath "$1")
bench=$(realpath "$(dirname "${BASH_SOURCE[0]}")")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
export XDG_DATA_HOME="$work/data"
