#!/bin/sh
# Builds one libFuzzer target per fuzz/*_fuzz.cpp into build-fuzz/ (or the folder given), with
# clang, AddressSanitizer and UndefinedBehaviorSanitizer. The tests never run these; run one by
# hand, for example for a minute on its seed corpus:
#
#   fuzz/build.sh && build-fuzz/rds_fuzz -max_total_time=60 build-fuzz/corpus-rds fuzz/corpus/rds
#
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
out=${1:-$root/build-fuzz}
cxx=${CXX:-clang++}
jobs=${JOBS:-2}
flags="-std=c++20 -g -O1 -fno-omit-frame-pointer -fsanitize=address,undefined \
-fno-sanitize-recover=undefined -I$root"

mkdir -p "$out/obj"
# The core libraries the readers need, instrumented for coverage but without a main.
for source in "$root"/core/base/*.cpp "$root"/core/io/*.cpp "$root"/core/model/*.cpp; do
    echo "$source"
done | xargs -P "$jobs" -I{} sh -c '
    object="$1/obj/$(basename "$(dirname "{}")")_$(basename "{}" .cpp).o"
    if [ ! -e "$object" ] || [ "{}" -nt "$object" ] ||
       [ -n "$(find "$4/core" -name "*.h" -newer "$object" | head -n 1)" ]; then
        $2 $3 -fsanitize=fuzzer-no-link -c "{}" -o "$object"
    fi' sh "$out" "$cxx" "$flags" "$root"

for target in "$root"/fuzz/*_fuzz.cpp; do
    name=$(basename "$target" .cpp)
    $cxx $flags -fsanitize=fuzzer "$target" "$out"/obj/*.o -o "$out/$name"
    mkdir -p "$out/corpus-${name%_fuzz}"
    echo "built $out/$name"
done
