#!/usr/bin/env bash
# A long procedure against the toolkit's own reader: writes a 10,000-event dose report with our
# report writer (bench/write_long_report.cpp), then reads it with DCMTK's dsrdump and evaluates
# and maps it with ordevo-cli (rdsr; map at 1 cm cells), each under /usr/bin/time -v, and prints
# the elapsed and CPU seconds and the largest resident set of each with the ratios to dsrdump.
# Not part of scripts/test: timings on a shared machine are read, not asserted.
#   bench/long_procedure.sh [BUILD_DIR (default build)] [EVENTS (default 10000)]
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="$(cd "${1:-$root/build}" && pwd)"
events="${2:-10000}"
if [[ ! -x /usr/bin/time ]]; then
  if [[ $(id -u) -eq 0 ]]; then
    apt-get install -y --no-install-recommends time >/dev/null
  else
    echo "needs /usr/bin/time (apt-get install time)" >&2
    exit 1
  fi
fi
command -v dsrdump >/dev/null || { echo "needs dsrdump (dcmtk)" >&2; exit 1; }
for program in ordevo-bench-report ordevo-cli; do
  [[ -x "$build/bin/$program" ]] || { echo "build $program first (in $build)" >&2; exit 1; }
done

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
report="$work/long.dcm"
"$build/bin/ordevo-bench-report" "$events" "$report"
# A typical angiography room: FAD 75 cm, 12° target, 2.5 mm Al, couch T 0.8, C 1.05.
printf '100.0\r\n75.0\r\n12.0\r\n2.50\r\n0.00\r\n0.10\r\n 0 \r\n---\r\n0\r\n80\r\n0.800\r\n1.200\r\n1.050\r\n' \
  >"$work/Room1.odv3"

# Runs one program under /usr/bin/time; sets the globals elapsed, cpu and rss (kB).
measure() {
  local name="$1"
  shift
  /usr/bin/time -v -o "$work/$name.time" "$@" >"$work/$name.out" 2>"$work/$name.err" || {
    echo "$name failed:" >&2
    tail -5 "$work/$name.err" >&2
    exit 1
  }
  elapsed=$(awk -F': ' '/Elapsed/ {n = split($2, p, ":"); s = 0; for (i = 1; i <= n; ++i) s = s * 60 + p[i]; print s}' "$work/$name.time")
  cpu=$(awk -F': ' '/User time/ {u = $2} /System time/ {s = $2} END {print u + s}' "$work/$name.time")
  rss=$(awk -F': ' '/Maximum resident/ {print $2}' "$work/$name.time")
}

echo "report: $events events, $(stat -c %s "$report") bytes; load before: $(cut -d' ' -f1-3 /proc/loadavg)"
printf '%-10s %10s %10s %12s %9s %9s %9s\n' program elapsed_s cpu_s max_rss_MB x_elapsed x_cpu x_rss
measure dsrdump dsrdump "$report"
base_elapsed=$elapsed base_cpu=$cpu base_rss=$rss
row() {
  awk -v n="$1" -v e="$elapsed" -v c="$cpu" -v r="$rss" -v be="$base_elapsed" -v bc="$base_cpu" \
    -v br="$base_rss" 'BEGIN {printf "%-10s %10.2f %10.2f %12.0f %9.2f %9.2f %9.2f\n", n, e, c, r / 1024, e / be, c / bc, r / br}'
}
row dsrdump
cli=("$build/bin/ordevo-cli")
measure rdsr "${cli[@]}" rdsr --data "$root/refdata" --equipment "$work/Room1.odv3" "$report"
row rdsr
measure map "${cli[@]}" map --data "$root/refdata" --equipment "$work/Room1.odv3" --cell 1 "$report"
row map
echo "load after: $(cut -d' ' -f1-3 /proc/loadavg)"
