#!/usr/bin/env bash
# velgrep on single long lines, next to the same patterns on the corpus.
#   grep_long_line_<pattern>_mbps: -c over a 16 MB line made of the corpus
#   with its line breaks turned into blanks; baseline grep_corpus_<pattern>_mbps,
#   -c over the corpus itself. The line is one match decision for the whole
#   16 MB, so a search that rescans the line per hit shows here.
#   grep_line_of_a_<n>mb_<mode>_<pattern>_mbps: -c, -o and -s over one line of
#   n MB of "a" (1, 4, 16): every position is a hit or a candidate start, the
#   hardest case for repeated searches; linear means the same MB/s at every
#   size (baseline: the 1 MB figure).
set -euo pipefail
source "$(dirname "$0")/lib/timing.sh"
BIN=${VEL_BENCH_BIN:-build/bench}
CORPUS=${VEL_CORPUS:?set VEL_CORPUS}
VELGREP=$BIN/tools/velgrep/velgrep
OUT=$(mktemp)
LONG=$(mktemp)
AS=$(mktemp)
trap 'rm -f "$OUT" "$LONG" "$AS"' EXIT

mbps() { awk -v b="$1" -v s="$2" 'BEGIN { printf "%.0f", b / 1e6 / s }'; }
size() { stat -c %s "$1"; }

head -c 16000000 "$CORPUS" | tr '\r\n' '  ' >"$LONG"
printf '\n' >>"$LONG"
cat "$CORPUS" "$LONG" >/dev/null

declare -A PATTERNS=([a_eol]='a$' [b_digit]='b[0-9]' [a_or_astar_c]='a|a*c')
for name in a_eol b_digit a_or_astar_c; do
  p=${PATTERNS[$name]}
  t=$(best_seconds "$VELGREP" -c "$p" "$LONG")
  echo "grep_long_line_${name}_mbps $(mbps "$(size "$LONG")" "$t") MB/s"
  t=$(best_seconds "$VELGREP" -c "$p" "$CORPUS")
  echo "grep_corpus_${name}_mbps $(mbps "$(size "$CORPUS")" "$t") MB/s"
done

for mb in 1 4 16; do
  head -c $((mb * 1000000)) /dev/zero | tr '\0' a >"$AS"
  printf '\n' >>"$AS"
  for name in a_eol b_digit a_or_astar_c; do
    p=${PATTERNS[$name]}
    for mode in c o s; do
      if [ "$mode" = s ]; then
        t=$(best_seconds "$VELGREP" -s x "$p" "$AS")
      else
        t=$(best_seconds "$VELGREP" "-$mode" "$p" "$AS")
      fi
      echo "grep_line_of_a_${mb}mb_${mode}_${name}_mbps $(mbps "$(size "$AS")" "$t") MB/s"
    done
  done
done
