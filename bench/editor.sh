#!/usr/bin/env bash
# Editor control figures: typing through the control, select-all and box copies.
set -euo pipefail
"$VEL_BENCH_BIN/bench/EditorBench" "$VEL_CORPUS"
