#!/usr/bin/env bash
# Token parser throughput over the corpus, row by row, with its byte-scan baseline.
set -euo pipefail
"$VEL_BENCH_BIN/bench/ParserBench" "$VEL_CORPUS" 2>/dev/null
