# Sourced by the bench scripts: whole-process timing.
now() { date +%s%N; }

# best_seconds CMD...: the fastest of three runs, in seconds. Output goes to
# the file $OUT: GNU grep stops at the first match when it writes to /dev/null.
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
