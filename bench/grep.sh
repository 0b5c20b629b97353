#!/usr/bin/env bash
# velgrep -c throughput next to GNU grep -c in a Shift-JIS locale and
# ripgrep -c -E sjis (which decodes Shift-JIS to UTF-8 before searching), all
# on the corpus in the page cache, whole process, best of three runs; then the
# same over a folder of 10 KB memo files cut from the corpus.
# Counts are checked against GNU grep in the CP932 (WINDOWS-31J) locale, held
# to its regex matcher by an empty back-reference: the corpus holds CP932
# extension characters (①, ㈱) that glibc's SHIFT_JIS charmap lacks, so grep
# there loses character alignment after them, and grep's DFA misses matches
# after a partly matched double-byte branch (no "b" in "あb" for "b|あx").
set -euo pipefail
source "$(dirname "$0")/lib/timing.sh"
BIN=${VEL_BENCH_BIN:-build/bench}
CORPUS=${VEL_CORPUS:?set VEL_CORPUS}
VELGREP=$BIN/tools/velgrep/velgrep
LOC=$BIN/sjis-locale
mkdir -p "$LOC"
[ -f "$LOC/ja_JP.SJIS/LC_CTYPE" ] || localedef -c -i ja_JP -f SHIFT_JIS "$LOC/ja_JP.SJIS" >/dev/null 2>&1 || true
[ -f "$LOC/ja_JP.CP932/LC_CTYPE" ] || localedef -c -i ja_JP -f WINDOWS-31J "$LOC/ja_JP.CP932" >/dev/null 2>&1 || true
[ -f "$LOC/ja_JP.SJIS/LC_CTYPE" ] || { echo "grep.sh: localedef could not build ja_JP.SJIS" >&2; exit 1; }

sjis() { printf '%s' "$1" | iconv -f UTF-8 -t CP932; }
MB=$(awk -v b="$(stat -c %s "$CORPUS")" 'BEGIN { printf "%.3f", b / 1e6 }')
cat "$CORPUS" >/dev/null

OUT=$(mktemp)
trap 'rm -f "$OUT"' EXIT
mbps() { awk -v mb="$1" -v s="$2" 'BEGIN { printf "%.0f", mb / s }'; }

gnu_sjis() { LOCPATH=$LOC LC_ALL=ja_JP.SJIS grep "$@"; }
# ripgrep takes its pattern in UTF-8; --no-ignore because the corpus lies in
# an ignored build folder.
HAVE_RG=0
command -v rg >/dev/null && HAVE_RG=1
rg_sjis() { rg --no-ignore -E sjis "$@"; }
utf8() { printf '%s' "$1" | iconv -f CP932 -t UTF-8; }
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
  if [ "$HAVE_RG" = 1 ]; then
    local rp tr cr
    rp=$(utf8 "$gnupattern")
    tr=$(best_seconds rg_sjis -c "$rp" "$CORPUS")
    cr=$(rg_sjis -c "$rp" "$CORPUS" || true)
    echo "grep_${name}_rg_sjis_mbps $(mbps "$MB" "$tr") MB/s"
    echo "grep_${name}_rg_sjis_count ${cr:-0} lines"
  fi
}

run rare_ascii xylophone "" xylophone
run jp_word "$(sjis 検索)" "" "$(sjis 検索)"
run mail '[a-z]+@[a-z]+\.com' "" '[a-z]+@[a-z]+\.com'
run url 'http://[-a-zA-Z0-9./]+' "" 'http://[-a-zA-Z0-9./]+'
run alt5 "$(sjis '会議|予定|連絡|確認|資料')" "" "$(sjis '会議|予定|連絡|確認|資料')"
run nomatch 'z[0-9][0-9][0-9]y' "" 'z[0-9][0-9][0-9]y'
run fuzzy "$FUZZY_WORD" "-f" "$FUZZY_EXPANDED"

# A folder of memos: the corpus cut at line ends into files of about 10 KB
# (10,000 of them for 100 MB), 100 to a folder, in two levels of folders.
MEMOS=$BIN/memos-$(basename "$CORPUS" .txt)
if [ ! -f "$MEMOS/.complete" ]; then
  rm -rf "$MEMOS"
  mkdir -p "$MEMOS"
  LC_ALL=C awk -v root="$MEMOS" '
    function next_file() {
      if (out != "") close(out)
      dir = sprintf("%s/%02d/%d", root, int(n / 1000), int(n / 100) % 10)
      if (!(dir in made)) { system("mkdir -p \"" dir "\""); made[dir] = 1 }
      out = sprintf("%s/memo%05d.txt", dir, n++)
      size = 0
    }
    BEGIN { next_file() }
    { if (size > 0 && size + length($0) + 1 > 10240) next_file(); print > out; size += length($0) + 1 }
  ' "$CORPUS"
  touch "$MEMOS/.complete"
fi
DIR_MB=$(du -sb --apparent-size "$MEMOS" | awk '{ printf "%.3f", $1 / 1e6 }')
DIR_FILES=$(find "$MEMOS" -name '*.txt' | wc -l)
echo "grep_dir_files $DIR_FILES files"
sum_counts() { awk -F: '{ s += $NF } END { print s + 0 }' "$OUT"; }
run_dir() {
  local name=$1 pattern=$2 t
  t=$(best_seconds "$VELGREP" -r -c "$pattern" "$MEMOS")
  echo "grep_dir_${name}_velgrep_mbps $(mbps "$DIR_MB" "$t") MB/s"
  echo "grep_dir_${name}_velgrep_count $(sum_counts) lines"
  t=$(best_seconds gnu_sjis -r -c -E "$pattern" "$MEMOS")
  echo "grep_dir_${name}_gnu_sjis_mbps $(mbps "$DIR_MB" "$t") MB/s"
  echo "grep_dir_${name}_gnu_sjis_count $(sum_counts) lines"
  if [ "$HAVE_RG" = 1 ]; then
    t=$(best_seconds rg_sjis -c "$(utf8 "$pattern")" "$MEMOS")
    echo "grep_dir_${name}_rg_sjis_mbps $(mbps "$DIR_MB" "$t") MB/s"
    echo "grep_dir_${name}_rg_sjis_count $(sum_counts) lines"
  fi
}
run_dir jp_word "$(sjis 検索)"
run_dir alt5 "$(sjis '会議|予定|連絡|確認|資料')"

# Bounded memory: 2 GB of memo lines through a pipe, velgrep under a 300 MB
# address-space limit, GNU grep beside it without one.
MEMO_LINE="$(sjis '会議の予定を確認します。') xylophone 12345"
two_gb() { yes "$MEMO_LINE" | head -c 2147483648; }
t0=$(now)
c=$( { two_gb || true; } | (ulimit -v 307200; "$VELGREP" -c xylophone)) || c=failed
t1=$(now)
echo "grep_2gb_pipe_ulimit300m_velgrep_mbps $(mbps 2147.483648 "$(awk -v n=$((t1 - t0)) 'BEGIN { printf "%.4f", n / 1e9 }')") MB/s"
echo "grep_2gb_pipe_ulimit300m_velgrep_count $c lines"
t0=$(now)
c=$( { two_gb || true; } | gnu_sjis -c xylophone) || c=failed
t1=$(now)
echo "grep_2gb_pipe_gnu_sjis_mbps $(mbps 2147.483648 "$(awk -v n=$((t1 - t0)) 'BEGIN { printf "%.4f", n / 1e9 }')") MB/s"
echo "grep_2gb_pipe_gnu_sjis_count $c lines"

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
