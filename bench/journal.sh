#!/usr/bin/env bash
# Recovery journal figures: writing the whole corpus as one page's journal in
# the memo window's steps, and the longest step (the input stall), next to a
# plain save of the same text.
set -euo pipefail
"$VEL_BENCH_BIN/bench/JournalBench" "$VEL_CORPUS"
