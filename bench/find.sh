#!/usr/bin/env bash
# Find, replace-all and emphasis figures of the memo window's editor.
set -euo pipefail
"$VEL_BENCH_BIN/bench/FindBench" "$VEL_CORPUS"
