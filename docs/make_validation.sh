#!/usr/bin/env bash
# Regenerates docs/validation.md and its plots: builds ordevo-validation, runs every case
# (the full run takes a quarter of an hour on two shared cores), runs the large-phantom
# comparison, draws the plots with gnuplot and fills the page's template.
# Usage: docs/make_validation.sh [BUILD_DIR] [extra ordevo-validation options, e.g. --quick]
#        docs/make_validation.sh --redraw   (plots and page from the last run's files, no simulation)
#        docs/make_validation.sh --rechain [BUILD_DIR]   (the chain's values evaluated again by the
#          current program against the stored simulations, then plots and page; seconds)
set -euo pipefail

MODE=run
case "${1:-}" in
  --redraw) MODE=redraw; shift ;;
  --rechain) MODE=rechain; shift ;;
esac

# shellcheck source=../scripts/common.sh
source "$(dirname "${BASH_SOURCE[0]}")/../scripts/common.sh"
cd "$ORDEVO_ROOT"

BUILD="${1:-build}"
[ $# -gt 0 ] && shift

# Only this script needs gnuplot; the build and the tests do not.
ORDEVO_PACKAGES=(gnuplot-nox)
ordevo_install_packages

OUT=docs/validation
mkdir -p "$OUT"
if [ "$MODE" != redraw ]; then
  [ -f "$BUILD/CMakeCache.txt" ] || cmake -S . -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
  cmake --build "$BUILD" --parallel 2 --target ordevo-validation
  run() { nice -n 10 "$BUILD/bin/ordevo-validation" --refdata refdata "$@"; }
fi
if [ "$MODE" = rechain ]; then
  # Each folder with the geometry options of its run; the simulations stay as they are.
  run --out "$OUT" --rechain
  run --out "$OUT/large-phantom" --rechain --phantom 100x40
  run --out "$OUT/far-focus" --rechain --fad 975
  run --out "$OUT/first-bin" --rechain
fi
if [ "$MODE" = run ]; then
  # The diagnostics run half the histories unless options were given.
  DIAGNOSTIC=("$@")
  [ $# -eq 0 ] && DIAGNOSTIC=(--histories 16000000)

  start=$(date +%s)
  /usr/bin/time -f "%e s wall time, %U s CPU time in the tool" -o "$OUT/time.txt" \
    nice -n 10 "$BUILD/bin/ordevo-validation" --refdata refdata --out "$OUT" "$@"
  # Why the deviations are what they are:
  # the widest fields again in a 100 × 100 × 40 cm phantom,
  run --out "$OUT/large-phantom" --cases N5,N7,L4,L6 --phantom 100x40 "${DIAGNOSTIC[@]}"
  # three no-couch cases with the focus 16 times further away (a nearly parallel beam),
  run --out "$OUT/far-focus" --cases N3,N5,N7 --fad 975 "${DIAGNOSTIC[@]}"
  # a tissue layer of 0.25 cm (the first depth-bin centre, where F is 1) for the beams of L2, L4, L5,
  run --out "$OUT/first-bin" --cases D2,D4,D5 "${DIAGNOSTIC[@]}"
  # and single energies in a parallel beam against the reference data's ring integration.
  run --out "$OUT/single-energy" --bsf-check "${DIAGNOSTIC[@]}"
  end=$(date +%s)
  {
    echo "Standard set: $(cat "$OUT/time.txt")."
    echo "With the four diagnostic runs: $((end - start)) s wall time in all."
  } > "$OUT/time.md"
fi

gnuplot <<GNUPLOT
set terminal pngcairo size 1500,520 font "Liberation Sans,11"
set output "$OUT/fsd.png"
set multiplot layout 1,3 title "80 kV, 3.5 mm Al, 10 cm square field at the reference point (60 cm): skin dose per unit K_{a,r}"
set xlabel "focus-skin distance FSD (cm)"
set ylabel "skin dose / K_{a,r}"
set xrange [40:80]
set grid
set key top right
do for [i=0:2] {
  set title (i == 0 ? "no couch" : (i == 1 ? "soft-tissue layer, 1 cm" : "realistic couch (panel + mattress)"))
  plot "$OUT/fsd.dat" index i using 1:4 with linespoints lw 2 pt 5 ps 0.8 lc rgb "#0060c0" title "chain", \
       "" index i using 1:5 with linespoints lw 2 dt 2 pt 4 lc rgb "#c03000" title "old chain", \
       "" index i using 1:2:(2*\$3) with yerrorbars pt 6 ps 2 lw 2 lc rgb "black" title "simulation (±2u)"
}
unset multiplot

set terminal pngcairo size 1200,900 font "Liberation Sans,11"
set output "$OUT/deviations.png"
set multiplot layout 2,1
unset xlabel
set xrange [-0.7:*]
set autoscale xmax
set offsets 0,0.7,0,0
set grid ytics
set key bottom right opaque box
set ylabel "chain / simulation − 1 (%)"
set title "Deviation of the chain (filled) and of the old chain (open) from the simulation, per case"
set yrange [-70:70]
set ytics 10
plot "$OUT/deviations.dat" using 1:(100*\$5):xtic(2) with points pt 4 ps 1.5 lc rgb "#c03000" title "old chain", \
     "" using 1:(100*\$3) with points pt 7 ps 1.3 lc rgb "#0060c0" title "chain"
set title "The chain alone, enlarged; error bars ±2 statistical u, dotted lines ±3 %"
set yrange [-4:16]
set ytics 2
set arrow 1 from graph 0, first 3 to graph 1, first 3 nohead dt 3 lw 2 lc rgb "gray30"
set arrow 2 from graph 0, first -3 to graph 1, first -3 nohead dt 3 lw 2 lc rgb "gray30"
set key top left opaque box
plot "$OUT/deviations.dat" using 1:(100*\$3):(200*\$4):xtic(2) with yerrorbars pt 7 ps 1.3 lc rgb "#0060c0" title "chain"
unset multiplot
GNUPLOT

# Fill the template: a line "@name@" becomes the file $OUT/name.md (large-phantom/... allowed).
while IFS= read -r line; do
  if [[ "$line" =~ ^@([a-z/-]+)@$ ]]; then
    cat "$OUT/${BASH_REMATCH[1]}.md"
  else
    printf '%s\n' "$line"
  fi
done < docs/validation.md.in > docs/validation.md.part
mv docs/validation.md.part docs/validation.md
rm -f "$OUT"/*.part
echo "docs/validation.md written"
