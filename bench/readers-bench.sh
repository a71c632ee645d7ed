#!/bin/sh
# Times "kalvo3d-cli convert" to RDS on the same 1 M-triangle grid written three ways: 3DFACE
# DXF, one polyface mesh in a block placed by an INSERT, and Wavefront OBJ (read through
# Assimp), and prints the median wall and CPU time (user + system) and the peak memory of each.
#
#   bench/readers-bench.sh [BUILD_DIR [RUNS]]      (defaults: build, 3)
#
# BUILD_DIR must be a Release build. Files go to $BENCH_DIR (default /tmp/kalvo-readers-bench).
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build}
runs=${2:-3}
work=${BENCH_DIR:-/tmp/kalvo-readers-bench}
cli="$build/bin/kalvo3d-cli"

cmake --build "$build" --target kalvo3d-cli make_grid_dxf >/dev/null
mkdir -p "$work"
[ -s "$work/tri1m.dxf" ] || "$build/bin/make_grid_dxf" 707 "$work/tri1m.dxf" >/dev/null
[ -s "$work/tri1m-polyface.dxf" ] ||
    "$build/bin/make_grid_dxf" 707 --polyface "$work/tri1m-polyface.dxf" >/dev/null
[ -s "$work/tri1m.obj" ] || "$build/bin/make_grid_dxf" 707 --obj "$work/tri1m.obj" >/dev/null

median() { sort -n | awk '{ v[NR] = $1 } END { if (NR % 2) print v[(NR + 1) / 2];
                                                else printf "%.3f\n", (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

printf "%-20s %8s %8s %8s\n" file wall/s cpu/s MiB
for name in tri1m.dxf tri1m-polyface.dxf tri1m.obj; do
    rm -f "$work/times"
    i=0
    while [ "$i" -lt "$runs" ]; do
        /usr/bin/time -f "%e %U %S %M" -o "$work/time.txt" "$cli" convert -o "$work/out.rds" \
            "$work/$name" >/dev/null
        awk '{ printf "%s %.2f %s\n", $1, $2 + $3, $4 }' "$work/time.txt" >>"$work/times"
        i=$((i + 1))
    done
    printf "%-20s %8s %8s %8d\n" "$name" "$(cut -d' ' -f1 "$work/times" | median)" \
        "$(cut -d' ' -f2 "$work/times" | median)" \
        $(($(cut -d' ' -f3 "$work/times" | sort -n | tail -1) / 1024))
done
rm -f "$work/out.rds" "$work/times" "$work/time.txt"
