#!/usr/bin/env bash
# Runs the benchmarks on the large database. The database is generated once and kept under
# the build folder; it is generated again only when it is missing or the generator changed.
set -euo pipefail
BUILD=${1:-build/release}
[ $# -gt 0 ] && shift
SRC=$(cd "$(dirname "$0")/.." && pwd)
BIN=$BUILD/bin
DATA=$BUILD/bench-data
DB=$DATA/large.erm
mkdir -p "$DATA"

stamp=$(sha256sum "$BIN/torvane-gen" | cut -d' ' -f1)
if [ ! -f "$DB" ] || [ "$(cat "$DATA/large.stamp" 2>/dev/null)" != "$stamp" ]; then
  echo "Generating the large database (only this once)..."
  rm -f "$DB" "$DATA/large.stamp"
  /usr/bin/time -f "generation: %e s elapsed, %U s user + %S s system CPU, %M kB peak memory" \
    "$BIN/torvane-gen" --scale large --seed 1 --today 2024-06-15 --out "$DB" 2>&1 |
    tee "$DATA/generation.txt"
  echo "$stamp" > "$DATA/large.stamp"
fi

export TORVANE_BENCH_DB=$(cd "$DATA" && pwd)/large.erm
export QT_QPA_PLATFORM=offscreen

echo "Query plans -> $BUILD/bench-plans.txt"
"$BIN/torvane_bench" --plans > "$BUILD/bench-plans.txt"
tail -1 "$BUILD/bench-plans.txt"

"$BIN/torvane_bench" --benchmark_out="$BUILD/bench-results.json" --benchmark_out_format=json \
  --benchmark_min_time=0.2 \
  "$@" 2>&1 | tee "$BUILD/bench-output.txt"

# Peak memory of the program itself, started on the large database for a few seconds.
home=$(mktemp -d)
printf '"%s"\r\n' "$TORVANE_BENCH_DB" > "$home/ruta.fpl"
/usr/bin/time -f "%M" -o "$BUILD/program-peak-kb.txt" timeout 8 "$BIN/torvane" --home "$home" \
  >/dev/null 2>&1 || true
rm -rf "$home"

python3 "$SRC/bench/summarize.py" "$BUILD/bench-results.json" "$BUILD/bench-plans.txt" \
  "$DATA/generation.txt" "$BUILD/program-peak-kb.txt" "$BUILD/bench-output.txt" \
  > "$BUILD/bench-results.md"
echo "Summary -> $BUILD/bench-results.md"
