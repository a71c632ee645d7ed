#!/bin/sh
# Times "kalvo3d-cli convert" on triangulated grid DXF files of about 10 k, 100 k and 1 M
# triangles and on a grid of about 500 k four-cornered faces, alternating every run with
# "assimp export FILE out.obj" (Debian's assimp-utils, installed here if missing), and prints
# median wall time, median CPU time (user + system) and peak memory of each.
#
#   bench/convert-bench.sh [BUILD_DIR [RUNS]]      (defaults: build, 5)
#
# BUILD_DIR must be a Release build. Files go to $BENCH_DIR (default /tmp/kalvo-convert-bench).
# On a busy machine wall times grow with the load; the CPU column shows the work itself.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build}
runs=${2:-5}
work=${BENCH_DIR:-/tmp/kalvo-convert-bench}
cli="$build/bin/kalvo3d-cli"

need=""
command -v assimp >/dev/null 2>&1 || need="$need assimp-utils"
[ -x /usr/bin/time ] || need="$need time"
if [ -n "$need" ]; then
    echo "installing:$need"
    sudo=""
    [ "$(id -u)" -eq 0 ] || sudo=sudo
    $sudo apt-get update -qq
    # shellcheck disable=SC2086
    $sudo apt-get install -y -qq --no-install-recommends $need >/dev/null
fi

cmake --build "$build" --target kalvo3d-cli make_grid_dxf >/dev/null
mkdir -p "$work"
make_grid() { # name cells [--quads]
    [ -s "$work/$1.dxf" ] || "$build/bin/make_grid_dxf" "$2" ${3:-} "$work/$1.dxf" >/dev/null
}
make_grid tri10k 71
make_grid tri100k 224
make_grid tri1m 707
make_grid quad500k 707 --quads

# median of the numbers on stdin
median() { sort -n | awk '{ v[NR] = $1 } END { if (NR % 2) print v[(NR + 1) / 2];
                                                else printf "%.3f\n", (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

# run LOG COMMAND...: appends "wall cpu peakKiB" of one run to LOG
run() {
    log=$1
    shift
    /usr/bin/time -f "%e %U %S %M" -o "$work/time.txt" "$@" >/dev/null 2>"$work/stderr.txt" ||
        { echo "failed: $*" >&2; cat "$work/stderr.txt" >&2; exit 1; }
    awk '{ printf "%s %.2f %s\n", $1, $2 + $3, $4 }' "$work/time.txt" >>"$log"
}

printf "%-10s %7s | %-25s | %-25s | %s\n" file MB "kalvo3d-cli wall/cpu/MiB" \
    "assimp wall/cpu/MiB" "speed-up"
for name in tri10k tri100k tri1m quad500k; do
    file="$work/$name.dxf"
    rm -f "$work/k.log" "$work/a.log"
    i=0
    while [ "$i" -lt "$runs" ]; do
        run "$work/k.log" "$cli" convert -o "$work/out.rds" "$file"
        run "$work/a.log" assimp export "$file" "$work/out.obj"
        i=$((i + 1))
    done
    kw=$(cut -d' ' -f1 "$work/k.log" | median)
    kc=$(cut -d' ' -f2 "$work/k.log" | median)
    km=$(cut -d' ' -f3 "$work/k.log" | sort -n | tail -1)
    aw=$(cut -d' ' -f1 "$work/a.log" | median)
    ac=$(cut -d' ' -f2 "$work/a.log" | median)
    am=$(cut -d' ' -f3 "$work/a.log" | sort -n | tail -1)
    mb=$(du -m "$file" | cut -f1)
    printf "%-10s %7s | %7ss %7ss %6d | %7ss %7ss %6d | %.1fx wall, %.1fx cpu\n" "$name" "$mb" \
        "$kw" "$kc" $((km / 1024)) "$aw" "$ac" $((am / 1024)) \
        "$(echo "$aw $kw" | awk '{ print $1 / $2 }')" "$(echo "$ac $kc" | awk '{ print $1 / $2 }')"
    echo "$name $kw $kc" >>"$work/summary.$$"
done
awk '{ w[$1] = $2; c[$1] = $3 } END {
    printf "growth 100k -> 1M triangles (9.96x the faces): %.1fx wall, %.1fx cpu\n",
           w["tri1m"] / w["tri100k"], c["tri1m"] / c["tri100k"] }' "$work/summary.$$"
rm -f "$work/summary.$$" "$work/out.rds" "$work/out.obj"
