#!/bin/sh
# Runs one fuzz target for SECONDS (or for N executions: runs=N), continuing from the kept
# corpus in fuzz/corpus/TARGET.
# New inputs go to build-fuzz/corpus-TARGET (the working corpus); a finding is written to
# build-fuzz/findings-TARGET/. Runs at the lowest priority: the machine is shared.
#
#   fuzz/build.sh && fuzz/run.sh scene 600
#   fuzz/run.sh dxf runs=1000000
#
# Afterwards, fuzz/run.sh TARGET merge folds the working corpus into the kept one, keeping
# the fewest inputs that give the same coverage.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
out=${FUZZ_OUT:-$root/build-fuzz}
target=${1:?usage: fuzz/run.sh TARGET SECONDS|runs=N|merge}
what=${2:?usage: fuzz/run.sh TARGET SECONDS|runs=N|merge}
binary="$out/${target}_fuzz"
kept="$root/fuzz/corpus/$target"
work="$out/corpus-$target"
[ -x "$binary" ] || { echo "no $binary: run fuzz/build.sh first" >&2; exit 2; }
mkdir -p "$kept" "$work" "$out/findings-$target"
# The timeout is wall-clock time, and a niced process on a busy machine can wait seconds for a
# core; inputs slower than a second show in -report_slow_units and are timed again afterwards.
# Leaks inside libraries we do not build (Assimp keeps parser objects of refused files) are not
# findings; the tests' suppressions say which.
export LSAN_OPTIONS="${LSAN_OPTIONS:-suppressions=$root/tests/lsan.supp:print_suppressions=0}"
limits="-rss_limit_mb=2048 -timeout=${FUZZ_TIMEOUT:-10} -report_slow_units=1 -max_len=8192"
# Assimp leaks on most refused files, and each input that leaks costs a whole leak scan (tens of
# milliseconds, most of the run). Those targets run without the per-input scan; the replay test
# still checks their code for leaks when it ends.
case "$target" in
obj | stl) limits="$limits -detect_leaks=0" ;;
esac

if [ "$what" = merge ]; then
    merged="$out/merged-$target"
    rm -rf "$merged" && mkdir -p "$merged"
    nice -n 19 "$binary" -set_cover_merge=1 $limits "$merged" "$kept" "$work"
    # Inputs kept under a name of their own (findings of earlier campaigns) stay whatever
    # coverage they add; libFuzzer names its inputs by their SHA-1.
    find "$kept" -type f ! -regex '.*/[0-9a-f]\{40\}' -exec cp {} "$merged" \;
    rm -rf "$kept" && mv "$merged" "$kept"
    echo "kept corpus: $(ls "$kept" | wc -l) files, $(du -sh "$kept" | cut -f1)"
    exit 0
fi

case "$what" in
runs=*) length="-runs=${what#runs=}" ;;
*) length="-max_total_time=$what" ;;
esac
exec nice -n 19 "$binary" $length -print_final_stats=1 $limits \
    -artifact_prefix="$out/findings-$target/" "$work" "$kept"
