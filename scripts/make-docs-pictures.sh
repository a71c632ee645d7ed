#!/usr/bin/env bash
# Draws the pictures of README.md into docs/ with kalvo3d-cli from the sample models in
# data/samples, so that they show what the program draws today. Run it after a change to the
# drawing and commit the pictures that changed. Needs a configured build/ (./run or ./test).
set -euo pipefail
cd "$(dirname "$0")/.."
cmake --build build --target kalvo3d-cli >/dev/null
cli=build/bin/kalvo3d-cli
samples=data/samples
out=docs
mkdir -p "$out"

# The pyramid in the preview window's four panes, as the split layout shows them.
panes=(--size 320x240 --angles 30,25 --distance 35 --target 0,0,4 --ortho-zoom 24
       --ortho-centre 0,0,5)
for view in persp top side face; do
    "$cli" render "$samples/pyramid.dxf" --view "$view" "${panes[@]}" -o "$out/view-$view.png"
done

# The octahedron in the four display modes of the perspective pane.
modes=(--size 320x240 --angles 30,20 --distance 45 --target 0,0,8 --texture-preview off)
for mode in 0 1 2 3; do
    "$cli" render "$samples/octahedron.dxf" --mode "$mode" "${modes[@]}" -o "$out/mode-$mode.png"
done

# The cube's map template with box-projected (u, v), and the sample texture on the same cube as
# the preview window shows it once the texture is loaded into that template.
"$cli" template "$samples/cube.dxf" --uv box --size 320x240 -o "$out/template.png"
"$cli" render "$samples/cube.dxf" --uv box --texture "$samples/tiles.bmp" --mode 3 --size 320x240 \
    --angles 35,25 --distance 32 --target 5,5,5 -o "$out/textured.png"

echo "Pictures written to $out/."
