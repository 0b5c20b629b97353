#!/usr/bin/env bash
# velgrep -c throughput next to GNU grep -c in a Shift-JIS locale, both on the
# corpus in the page cache, whole process, best of three runs.
# Counts are checked against GNU grep in the CP932 (WINDOWS-31J) locale, held
# to its regex matcher by an empty back-reference: the corpus holds CP932
# extension characters (①, ㈱) that glibc's SHIFT_JIS charmap lacks, so grep
# there loses character alignment after them, and grep's DFA misses matches
# after a partly matched double-byte branch (no "b" in "あb" for "b|あx").
set -euo pipefail
BIN=${VEL_BENCH_BIN:-build/bench}
CORPUS=${VEL_CORPUS:?set VEL_CORPUS}
VELGREP=$BIN/tools/velgrep/velgrep
LOC=$BIN/sjis-locale
mkdir -p "$LOC"
[ -f "$LOC/ja_JP.SJIS/LC_CTYPE" ] || localedef -c -i ja_JP -f SHIFT_JIS "$LOC/ja_JP.SJIS" >/dev/null 2>&1 || true
[ -f "$LOC/ja_JP.CP932/LC_CTYPE" ] || localedef -c -i ja_JP -f WINDOWS-31J "$LOC/ja_JP.CP932" >/dev/null 2>&1 || true
[ -f "$LOC/ja_JP.SJIS/LC_CTYPE" ] || { echo "grep.sh: localedef could not build ja_JP.SJIS" >&2; exit 1; }

sjis() { printf '%s' "$1" | iconv -f UTF-8 -t CP932; }
now() { date +%s%N; }
MB=$(awk -v b="$(stat -c %s "$CORPUS")" 'BEGIN { printf "%.3f", b / 1e6 }')
cat "$CORPUS" >/dev/null

# best_seconds CMD...: the fastest of three runs, in seconds. Output goes to
# a file: GNU grep stops at the first match when it writes to /dev/null.
OUT=$(mktemp)
trap 'rm -f "$OUT"' EXIT
best_seconds() {
  local best=""
  for _ in 1 2 3; do
    local t0 t1
    t0=$(now)
    "$@" >"$OUT" 2>/dev/null || true
    t1=$(now)
    local d=$((t1 - t0))
    if [ -z "$best" ] || [ "$d" -lt "$best" ]; then best=$d; fi
  done
  awk -v n="$best" 'BEGIN { printf "%.4f", n / 1e9 }'
}
mbps() { awk -v mb="$1" -v s="$2" 'BEGIN { printf "%.0f", mb / s }'; }

gnu_sjis() { LOCPATH=$LOC LC_ALL=ja_JP.SJIS grep "$@"; }
gnu_cp932() { LOCPATH=$LOC LC_ALL=ja_JP.CP932 grep "$@"; }

FUZZY_WORD=$(sjis "すけじゅーる")
FUZZY_EXPANDED=$("$BIN/bench/GrepBench" --expand "$FUZZY_WORD")

run() {
  local name=$1 pattern=$2 vflags=$3 gnupattern=$4
  local tv tg cv cg cc
  tv=$(best_seconds "$VELGREP" $vflags -c "$pattern" "$CORPUS")
  tg=$(best_seconds gnu_sjis -c -E "$gnupattern" "$CORPUS")
  cv=$("$VELGREP" $vflags -c "$pattern" "$CORPUS" || true)
  cg=$(gnu_sjis -c -E "$gnupattern" "$CORPUS" 2>/dev/null || true)
  cc=$(gnu_cp932 -c -E "()\\1($gnupattern)" "$CORPUS" 2>/dev/null || true)
  echo "grep_${name}_velgrep_mbps $(mbps "$MB" "$tv") MB/s"
  echo "grep_${name}_gnu_sjis_mbps $(mbps "$MB" "$tg") MB/s"
  echo "grep_${name}_velgrep_count $cv lines"
  echo "grep_${name}_gnu_sjis_count $cg lines"
  echo "grep_${name}_gnu_cp932_count $cc lines"
}

run rare_ascii xylophone "" xylophone
run jp_word "$(sjis 検索)" "" "$(sjis 検索)"
run mail '[a-z]+@[a-z]+\.com' "" '[a-z]+@[a-z]+\.com'
run url 'http://[-a-zA-Z0-9./]+' "" 'http://[-a-zA-Z0-9./]+'
run alt5 "$(sjis '会議|予定|連絡|確認|資料')" "" "$(sjis '会議|予定|連絡|確認|資料')"
run nomatch 'z[0-9][0-9][0-9]y' "" 'z[0-9][0-9][0-9]y'
run fuzzy "$FUZZY_WORD" "-f" "$FUZZY_EXPANDED"

# Adversarial cases: one 10 MB line of "a".
ADV=$BIN/adversarial-a.txt
[ -f "$ADV" ] || { head -c 10000000 /dev/zero | tr '\0' a; echo; } >"$ADV"
REP20='(a|b)*a'
for _ in $(seq 20); do REP20="$REP20(a|b)"; done
t=$(best_seconds "$VELGREP" -c 'a*b' "$ADV")
echo "grep_adv_astar_b_velgrep_mbps $(mbps 10 "$t") MB/s"
t=$(best_seconds gnu_sjis -c -E 'a*b' "$ADV")
echo "grep_adv_astar_b_gnu_sjis_mbps $(mbps 10 "$t") MB/s"
t=$(best_seconds "$VELGREP" -o 'a*b' "$ADV")
echo "grep_adv_astar_b_only_velgrep_mbps $(mbps 10 "$t") MB/s"
t=$(best_seconds "$VELGREP" -o 'a|a*b' "$ADV")
echo "grep_adv_alt_only_velgrep_mbps $(mbps 10 "$t") MB/s"
t=$(best_seconds "$VELGREP" -c "$REP20" "$ADV")
echo "grep_adv_rep20_velgrep_mbps $(mbps 10 "$t") MB/s"
t=$(best_seconds gnu_sjis -c -E "$REP20" "$ADV")
echo "grep_adv_rep20_gnu_sjis_mbps $(mbps 10 "$t") MB/s"

# Compile times (Google Benchmark, milliseconds per compile).
"$BIN/bench/GrepBench" --benchmark_format=csv 2>/dev/null | awk -F, '
  /BM_CompileFuzzyKanaWord/ { printf "regexp_compile_fuzzy_kana20_ms %.3f ms\n", $3 }
  /BM_CompileTwentyRepetitions/ { printf "regexp_compile_rep20_ms %.3f ms\n", $3 }'
