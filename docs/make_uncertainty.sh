#!/usr/bin/env bash
# Regenerates docs/uncertainty.md: builds ordevo-uncertainty, runs the three typical cases with
# 10,000 draws each (under a minute) and fills the page's template.
# Usage: docs/make_uncertainty.sh [BUILD_DIR]
set -euo pipefail
# shellcheck source=../scripts/common.sh
source "$(dirname "${BASH_SOURCE[0]}")/../scripts/common.sh"
cd "$ORDEVO_ROOT"

BUILD="${1:-build}"
[ -f "$BUILD/CMakeCache.txt" ] || cmake -S . -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build "$BUILD" --parallel 2 --target ordevo-uncertainty
OUT=$(mktemp -d)
trap 'rm -rf "$OUT"' EXIT
"$BUILD/bin/ordevo-uncertainty" --refdata refdata --out "$OUT" --samples 10000 > /dev/null

# A line "@name@" of the template becomes the file $OUT/name.md.
while IFS= read -r line; do
  if [[ "$line" =~ ^@([a-z-]+)@$ ]]; then
    cat "$OUT/${BASH_REMATCH[1]}.md"
  else
    printf '%s\n' "$line"
  fi
done < docs/uncertainty.md.in > docs/uncertainty.md.part
mv docs/uncertainty.md.part docs/uncertainty.md
echo "docs/uncertainty.md written"
