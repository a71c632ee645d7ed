#!/usr/bin/env bash
# Installs the build into a staging folder as `cmake --install` does for a user, then checks
# what a desktop and a package would see: the tree, the desktop entry, the catalogue entry, the
# file types, and the installed programs themselves.
# Usage: install_tree_test.sh BUILD_DIR VERSION [EXTRA_FILE...]  (extra files: relative to the
# prefix, e.g. the translations)
set -euo pipefail
build_dir=$1
version=$2
shift 2
extra_files=("$@")
app_id=org.kalvo3d.Kalvo3D

stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
failures=0
fail() {
    echo "FAIL: $*"
    failures=$((failures + 1))
}

cmake --install "$build_dir" --prefix "$stage/usr" >/dev/null
prefix=$stage/usr

# The tree: exactly these files, nothing from the build or the tests.
expected=(
    bin/kalvo3d
    bin/kalvo3d-cli
    share/applications/$app_id.desktop
    share/icons/hicolor/scalable/apps/$app_id.svg
    share/kalvo3d/ESel.cur
    share/kalvo3d/HAND.cur
    share/kalvo3d/Kalvo3D.txt
    share/kalvo3d/PICKUP.cur
    share/kalvo3d/PSel.cur
    share/kalvo3d/Pen.cur
    share/kalvo3d/VIEW.cur
    share/kalvo3d/samples/cube.dxf
    share/kalvo3d/samples/octahedron.dxf
    share/kalvo3d/samples/pyramid.dxf
    share/kalvo3d/samples/tiles.bmp
    share/man/man1/kalvo3d-cli.1.gz
    share/man/man1/kalvo3d.1.gz
    share/metainfo/$app_id.metainfo.xml
    share/mime/packages/$app_id.xml
    "${extra_files[@]}"
)
diff <(printf '%s\n' "${expected[@]}" | LC_ALL=C sort) \
     <(cd "$prefix" && find . -type f -printf '%P\n' | LC_ALL=C sort) ||
    fail "installed tree differs from the expected one (< expected, > installed)"
for program in kalvo3d kalvo3d-cli; do
    [ -x "$prefix/bin/$program" ] || fail "$program is not executable"
    # A run path into the build tree would make the installed program load build libraries.
    if readelf -d "$prefix/bin/$program" | grep -qE 'RPATH|RUNPATH'; then
        fail "$program keeps a run path: $(readelf -d "$prefix/bin/$program" | grep -E 'RPATH|RUNPATH')"
    fi
done

# The programs answer --version with the project's version, from any folder and without a
# display.
elsewhere=$(mktemp -d -p "$stage")
for program in kalvo3d kalvo3d-cli; do
    answer=$(cd "$elsewhere" && env -u DISPLAY -u WAYLAND_DISPLAY "$prefix/bin/$program" --version) ||
        fail "$program --version failed"
    [ "$answer" = "$program $version" ] || fail "$program --version said '$answer'"
done
(cd "$elsewhere" && "$prefix/bin/kalvo3d-cli" info "$prefix/share/kalvo3d/samples/cube.dxf" >/dev/null) ||
    fail "the installed kalvo3d-cli cannot read the installed sample"

# Desktop entry and catalogue entry, as the validators of desktops and software centres see them.
desktop=$prefix/share/applications/$app_id.desktop
metainfo=$prefix/share/metainfo/$app_id.metainfo.xml
if command -v desktop-file-validate >/dev/null; then
    desktop-file-validate "$desktop" || fail "desktop-file-validate"
else
    fail "desktop-file-validate is missing (package desktop-file-utils)"
fi
if command -v appstreamcli >/dev/null; then
    appstreamcli validate --no-net --explain "$metainfo" || fail "appstreamcli validate"
else
    fail "appstreamcli is missing (package appstream)"
fi
grep -qx 'Exec=kalvo3d %F' "$desktop" || fail "the desktop entry does not pass files to kalvo3d"
grep -qx "Icon=$app_id" "$desktop" || fail "the desktop entry names another icon"
grep -q "<launchable type=\"desktop-id\">$app_id.desktop</launchable>" "$metainfo" ||
    fail "the catalogue entry launches another desktop entry"
grep -q "<release version=\"$version\"" "$metainfo" || fail "the catalogue entry lacks release $version"

# File types: the package's definitions compile into a MIME database, and every type the desktop
# entry claims is one the system or the package defines, with .rok and .rds among them.
if command -v update-mime-database >/dev/null; then
    mime=$stage/mime
    mkdir -p "$mime/packages"
    cp "$prefix/share/mime/packages/$app_id.xml" "$mime/packages/"
    XDG_DATA_HOME=$stage XDG_DATA_DIRS=$stage update-mime-database "$mime" 2>&1 | tee "$stage/mime.log"
    [ -s "$stage/mime.log" ] && fail "update-mime-database complained"
    grep -qx 'model/x-rok:\*\.rok' "$mime/globs" || fail "no *.rok glob"
    grep -qx 'model/x-rds:\*\.rds' "$mime/globs" || fail "no *.rds glob"
    known=$(cat "$mime/types" /usr/share/mime/types 2>/dev/null)
    types=$(sed -n 's/^MimeType=//p' "$desktop" | tr ';' '\n' | sed '/^$/d')
    for type in $types; do
        grep -qx "$type" <<<"$known" || fail "the desktop entry claims the unknown type $type"
    done
    for type in model/x-rok model/x-rds; do
        grep -qx "$type" <<<"$types" || fail "the desktop entry does not claim $type"
    done
else
    fail "update-mime-database is missing (package shared-mime-info)"
fi

if ((failures)); then
    echo "$failures check(s) failed"
    exit 1
fi
echo "installed tree checked"
