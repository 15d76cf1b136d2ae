#!/usr/bin/env bash
# Installs the build into a temporary prefix and builds its Debian package, then checks what a
# user's machine gets: the file layout, the menu entry and the ship file type as the desktop's
# own tools read them, the package's contents and dependencies, and the programs run from the
# unpacked package. Needs no display and leaves nothing behind.
#   CheckInstall.sh BUILD_DIR VERSION CMAKE CPACK
set -euo pipefail
build=$1 version=$2 cmake=$3 cpack=$4
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }
unset DISPLAY WAYLAND_DISPLAY

echo "== the installed layout"
"$cmake" --install "$build" --prefix "$work/stage/usr" > /dev/null
icon_sizes="16 22 24 32 48 64 128 256"
expected=$({
    printf '%s\n' bin/korvex bin/korvex-demo bin/korvex-shp share/applications/korvex.desktop \
        share/doc/korvex/changelog.gz share/doc/korvex/copyright \
        share/icons/hicolor/scalable/apps/korvex.svg share/man/man1/korvex.1.gz \
        share/man/man1/korvex-demo.1.gz share/man/man1/korvex-shp.1.gz \
        share/metainfo/org.korvex.Korvex.metainfo.xml share/mime/packages/korvex.xml
    for size in $icon_sizes; do echo "share/icons/hicolor/${size}x${size}/apps/korvex.png"; done
} | sort)
installed=$(cd "$work/stage/usr" && find . -type f -printf '%P\n' | sort)
[ "$installed" = "$expected" ] || fail "installed files differ:
$(diff <(echo "$expected") <(echo "$installed"))"
for size in $icon_sizes; do
    icon=$work/stage/usr/share/icons/hicolor/${size}x${size}/apps/korvex.png
    drawn=$(identify -format '%wx%h' "$icon")
    [ "$drawn" = "${size}x${size}" ] || fail "the ${size}px icon is $drawn"
done

echo "== the menu entry and the ship file type"
desktop=$work/stage/usr/share/applications/korvex.desktop
mimexml=$work/stage/usr/share/mime/packages/korvex.xml
desktop-file-validate "$desktop"
appstreamcli validate --no-net "$work/stage/usr/share/metainfo/org.korvex.Korvex.metainfo.xml"
xmllint --noout "$mimexml"
grep -qx 'Exec=korvex %f' "$desktop" || fail "the menu entry does not pass the file on"
grep -qx 'MimeType=application/x-vantaris-ship;' "$desktop" || fail "the entry claims no ship type"
grep -q 'mime-type type="application/x-vantaris-ship"' "$mimexml" || fail "the type is not defined"
man1=$work/stage/usr/share/man/man1
for page in korvex korvex-shp korvex-demo; do
    warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$man1/$page.1.gz" 2>&1 > /dev/null)
    [ -z "$warnings" ] || fail "the man page of $page: $warnings"
done
[[ "$(zcat "$man1/korvex-shp.1.gz")" == *$'\ninfo FILE [\\-\\-json]\n'* ]] ||
    fail "the korvex-shp man page lacks the usage of info"

echo "== the Debian package"
"$cpack" --config "$build/CPackConfig.cmake" -B "$work/package" > "$work/cpack.log" 2>&1 ||
    { cat "$work/cpack.log"; fail "cpack"; }
deb=$work/package/korvex_${version}_$(dpkg --print-architecture).deb
[ -f "$deb" ] || fail "no $(basename "$deb"): $(ls "$work/package")"
[ "$(dpkg-deb -f "$deb" Package)" = korvex ] || fail "package name"
[ "$(dpkg-deb -f "$deb" Version)" = "$version" ] || fail "package version"
depends=$(dpkg-deb -f "$deb" Depends)
# libopengl0 is the GL library (libOpenGL, through which the view draws).
for library in libqt6widgets6 libqt6openglwidgets6 libopengl0 qt6-qpa-plugins libc6; do
    [[ ", $depends," == *", $library "* || ", $depends," == *", $library,"* ]] ||
        fail "Depends lacks $library: $depends"
done
packed=$(dpkg-deb -c "$deb" | awk '$1 !~ /^d/ { sub(/^\.\/usr\//, "", $6); print $6 }' | sort)
[ "$packed" = "$expected" ] || fail "the package holds other files:
$(diff <(echo "$expected") <(echo "$packed"))"
dpkg-deb -c "$deb" | awk '$2 != "root/root" { exit 1 }' || fail "files not owned by root"

echo "== the programs from the unpacked package"
root=$work/root
dpkg-deb -x "$deb" "$root"
[ "$("$root/usr/bin/korvex-shp" --version)" = "korvex-shp $version" ] ||
    fail "korvex-shp --version"
[ "$("$root/usr/bin/korvex" --version)" = "korvex $version" ] || fail "korvex --version"
[[ "$("$root/usr/bin/korvex" --help)" == "usage: korvex "* ]] || fail "korvex --help"
"$root/usr/bin/korvex-demo" "$work/demo" > /dev/null
ships=$work/demo/prefix/drive_c/Games/Vantaris/ships
for ship in fighter capship; do
    "$root/usr/bin/korvex-shp" info "$ships/$ship.shp" > "$work/$ship.txt" 2> /dev/null ||
        fail "korvex-shp info $ship.shp"
    [ -s "$work/$ship.txt" ] || fail "korvex-shp info $ship.shp printed nothing"
done

echo "== the distribution's hardening, as dpkg-buildflags asks it"
for program in korvex korvex-shp korvex-demo; do
    binary=$root/usr/bin/$program
    readelf -hW "$binary" | grep -q 'Type: *DYN' || fail "$program is no position-independent executable"
    readelf -lW "$binary" | grep -q GNU_RELRO || fail "$program has no read-only relocations"
    readelf -dW "$binary" | grep -q 'BIND_NOW' || fail "$program is not bound at start-up"
    symbols=$(readelf --dyn-syms -W "$binary")
    grep -q ' __stack_chk_fail' <<< "$symbols" || fail "$program has no stack protector"
    grep -qE ' __[a-z0-9_]+_chk(@| |$)' <<< "$symbols" || fail "$program has no fortified calls"
done

echo "== what the desktop makes of a ship"
# A data folder of our own with the system's file types and our additions, read the way file
# managers read it (shared-mime-info through GIO). A packed ship is known by its first bytes
# even without the .shp name; the menu entry shows only when korvex is on the PATH.
data=$work/data
export XDG_DATA_HOME=$data XDG_DATA_DIRS=$data
export XDG_CONFIG_HOME=$work/config XDG_CONFIG_DIRS=$work/config
export PATH=$root/usr/bin:$PATH
mkdir -p "$data/mime/packages" "$data/applications"
cp /usr/share/mime/packages/freedesktop.org.xml "$mimexml" "$data/mime/packages/"
cp "$desktop" "$data/applications/"
update-mime-database "$data/mime"
update-desktop-database "$data/applications"
cp "$ships/capship.shp" "$work/packed-ship"
for file in "$ships/fighter.shp" "$ships/capship.shp" "$work/packed-ship"; do
    type=$(gio info -a standard::content-type "$file" | sed -n 's/^ *standard::content-type: //p')
    [ "$type" = application/x-vantaris-ship ] || fail "$(basename "$file") is seen as '$type'"
done
# The file manager draws ship files with Korvex's icon.
grep -qx 'application/x-vantaris-ship:korvex' "$data/mime/icons" || fail "ship files have no icon"
opener=$(gio mime application/x-vantaris-ship)
[[ "$opener" == "Default application"*": korvex.desktop"* ]] || fail "ships open in: $opener"

echo "== lintian"
if command -v lintian > /dev/null; then
    lintian --fail-on error,warning "$deb"
fi
echo "All install checks passed."
