#!/usr/bin/env bash
# Regenerates the Monte Carlo comparison of docs/map.md: builds ordevo-map-validation, maps and
# simulates every case, draws one profile plot per case with gnuplot and puts the table between
# the page's "monte-carlo" markers.
# Usage: docs/make_map_validation.sh [BUILD_DIR] [extra ordevo-map-validation options, e.g. --quick]
#        docs/make_map_validation.sh --redraw   (plots and page from the last run's files)
set -euo pipefail

MODE=run
if [ "${1:-}" = --redraw ]; then MODE=redraw; shift; fi

# shellcheck source=../scripts/common.sh
source "$(dirname "${BASH_SOURCE[0]}")/../scripts/common.sh"
cd "$ORDEVO_ROOT"

BUILD="${1:-build}"
[ $# -gt 0 ] && shift

ORDEVO_PACKAGES=(gnuplot-nox)
ordevo_install_packages

OUT=docs/map_validation
mkdir -p "$OUT"
if [ "$MODE" = run ]; then
  [ -f "$BUILD/CMakeCache.txt" ] || cmake -S . -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
  cmake --build "$BUILD" --parallel 2 --target ordevo-map-validation
  /usr/bin/time -f "%e s wall time, %U s CPU time" -o "$OUT/time.txt" \
    nice -n 10 "$BUILD/bin/ordevo-map-validation" --refdata refdata --out "$OUT" "$@"
fi

for dat in "$OUT"/profile_*.dat; do
  id=$(basename "$dat" .dat); id=${id#profile_}
  title=$(grep "^$id " "$OUT/titles.txt" | cut -d' ' -f2-)
  gnuplot <<GNUPLOT
set terminal pngcairo size 900,520 font "Liberation Sans,11"
set output "$OUT/profile_$id.png"
set title "$id: $title"
set xlabel "along the trunk from the map's PSD cell (cm)"
set ylabel "skin dose / K_{a,r}"
set grid
set key top right
set yrange [0:*]
plot "$dat" using 1:2 with linespoints pt 7 ps 0.6 lw 2 lc rgb "#0060c0" title "map (cell centre)", \
     "" using 1:3:(2*\$4) with yerrorbars pt 6 ps 1.2 lw 2 lc rgb "black" title "simulation (cell, ±2u)"
GNUPLOT
done

# The table and the plots between the markers of docs/map.md.
{
  cat "$OUT/summary.md"
  echo
  echo "Run: $(cat "$OUT/time.txt" 2>/dev/null || echo 'time not recorded')."
  echo
  for png in "$OUT"/profile_*.png; do
    echo "![$(basename "$png" .png)](map_validation/$(basename "$png"))"
  done
} > "$OUT/section.part"
awk -v section="$OUT/section.part" '
  /<!-- monte-carlo:begin -->/ { print; while ((getline line < section) > 0) print line; skip = 1; next }
  /<!-- monte-carlo:end -->/ { skip = 0 }
  !skip { print }
' docs/map.md > docs/map.md.part
mv docs/map.md.part docs/map.md
rm -f "$OUT"/*.part
echo "docs/map.md written"
