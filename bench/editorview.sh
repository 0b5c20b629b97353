#!/usr/bin/env bash
# Editor painting figures: a screen, a page down, and rows of 10 KB scrolled far right.
set -euo pipefail
"$VEL_BENCH_BIN/bench/EditorViewBench" "$VEL_CORPUS"
