#!/usr/bin/env bash
# Text model figures: loading, wrapping, reading every line and editing the corpus.
set -euo pipefail
"$VEL_BENCH_BIN/bench/TextBench" "$VEL_CORPUS"
