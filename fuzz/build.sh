#!/bin/sh
# Builds one libFuzzer target per fuzz/*_fuzz.cpp into build-fuzz/ (or the folder given), with
# clang, AddressSanitizer and UndefinedBehaviorSanitizer. The target bodies (fuzz/*_targets.cpp)
# are also linked into the corpus replay test of ./test; fuzz/run.sh runs a campaign.
#
# FUZZ_SANITIZE=undefined leaves AddressSanitizer out, for a target whose cost is a library's
# large allocations (Assimp's OBJ reader zeroes 32 MB per file, ten times slower under it);
# build such a variant into its own folder and replay its corpus through the full build.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
out=${1:-$root/build-fuzz}
cxx=${CXX:-clang++}
jobs=${JOBS:-2}
flags="-std=c++20 -g -O2 -fno-omit-frame-pointer -fsanitize=${FUZZ_SANITIZE:-address,undefined} \
-fno-sanitize-recover=undefined -I$root"

mkdir -p "$out/obj"
# The core libraries and the target bodies, instrumented for coverage but without a main.
# Objects of sources that no longer exist are dropped.
for object in "$out"/obj/*.o; do
    [ -e "$object" ] || continue
    source=$(cat "$object.source" 2>/dev/null || true)
    [ -n "$source" ] && [ -e "$source" ] || rm -f "$object" "$object.source"
done
find "$root/core" "$root/fuzz" -name '*.cpp' ! -name '*_fuzz.cpp' | sort |
    xargs -P "$jobs" -I{} sh -c '
    relative=$(echo "{}" | sed "s|^$4/||; s|/|_|g")
    object="$1/obj/${relative%.cpp}.o"
    if [ ! -e "$object" ] || [ "{}" -nt "$object" ] ||
       [ -n "$(find "$4/core" "$4/fuzz" -name "*.h" -newer "$object" | head -n 1)" ]; then
        $2 $3 -fsanitize=fuzzer-no-link -c "{}" -o "$object" && echo "{}" > "$object.source"
    fi' sh "$out" "$cxx" "$flags" "$root"

for target in "$root"/fuzz/*_fuzz.cpp; do
    name=$(basename "$target" .cpp)
    $cxx $flags -fsanitize=fuzzer "$target" "$out"/obj/*.o -lassimp -o "$out/$name"
    echo "built $out/$name"
done
