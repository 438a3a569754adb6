#!/usr/bin/env bash
# Installs a build into a scratch DESTDIR under /usr, as a package would, and checks that a desktop finds
# the program there: exactly the binary, the desktop entry, the icon and the metainfo, naming each other
# consistently. desktop-file-validate and appstreamcli validate them where they are installed.
#   install_test.sh CMAKE BUILD_DIR
set -euo pipefail

cmake=$1
build=$2
stage=$(mktemp -d "${TMPDIR:-/tmp}/velmora-install.XXXXXX")
trap 'rm -rf "$stage"' EXIT

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

DESTDIR=$stage "$cmake" --install "$build" --prefix /usr >/dev/null

app_id=io.velmora.Velmora
desktop=usr/share/applications/$app_id.desktop
icon=usr/share/icons/hicolor/scalable/apps/velmora.svg
metainfo=usr/share/metainfo/$app_id.metainfo.xml

# Nothing else: no test programs, no screenshot tool, no static libraries; the drawings'
# reader where the programs look for it.
module=usr/lib/velmora/velmora_drawings.so
expected=$(printf '%s\n' usr/bin/velmora usr/bin/velmora-batch "$module" "$desktop" "$icon" "$metainfo" | sort)
installed=$(cd "$stage" && find . ! -type d | sed 's|^\./||' | sort)
[ "$installed" = "$expected" ] || fail "installed files differ from the expected ones:
$(diff <(echo "$expected") <(echo "$installed") || true)"

cd "$stage"
[ -x usr/bin/velmora ] || fail "usr/bin/velmora is not executable"
[ -x usr/bin/velmora-batch ] || fail "usr/bin/velmora-batch is not executable"
# Both start without GDAL; the batch command finds the reader installed beside it.
if command -v ldd >/dev/null 2>&1 && ldd usr/bin/velmora-batch usr/bin/velmora | grep -q libgdal; then
    fail "a program links GDAL at start-up"
fi
printf '0\nSECTION\n2\nENTITIES\n0\nLINE\n8\nG\n10\n0\n20\n0\n11\n10\n21\n0\n0\nENDSEC\n0\nEOF\n' >"$stage/line.dxf"
usr/bin/velmora-batch import "$stage/line.dxf" --nodes-out "$stage/n.csv" --pipes-out "$stage/p.csv" >/dev/null \
    || fail "the installed velmora-batch cannot import a drawing"
rm -f "$stage/line.dxf" "$stage/n.csv" "$stage/p.csv"
# The batch command runs without a display: it never loads Qt Widgets.
if command -v ldd >/dev/null 2>&1 && ldd usr/bin/velmora-batch | grep -q libQt6Widgets; then
    fail "velmora-batch links Qt Widgets"
fi

entry() { sed -n "s/^$1=//p" "$desktop"; }
[ "$(entry Exec)" = velmora ] || fail "the desktop entry does not start velmora: Exec=$(entry Exec)"
[ "$(entry Icon)" = velmora ] || fail "the desktop entry does not show the installed icon: Icon=$(entry Icon)"
[ "$(entry Name)" = Velmora ] || fail "the desktop entry is not named Velmora: Name=$(entry Name)"
[ -n "$(entry 'Name\[zh_CN\]')" ] || fail "the desktop entry has no Chinese name"
[ "$(entry Categories)" = "Science;Engineering;" ] || fail "unexpected Categories=$(entry Categories)"
[ "$(entry Terminal)" = false ] || fail "the desktop entry would open a terminal"

grep -q '<svg[ >]' "$icon" || fail "$icon is not an SVG picture"
grep -q "<launchable type=\"desktop-id\">$app_id.desktop</launchable>" "$metainfo" ||
    fail "the metainfo does not launch $app_id.desktop"
grep -q "<id>$app_id</id>" "$metainfo" || fail "the metainfo's id is not $app_id"

if command -v desktop-file-validate >/dev/null 2>&1; then
    desktop-file-validate "$desktop" || fail "desktop-file-validate rejects $desktop"
else
    echo "desktop-file-validate not installed: desktop entry checked for its keys only"
fi
if command -v appstreamcli >/dev/null 2>&1; then
    appstreamcli validate --no-net "$metainfo" || fail "appstreamcli rejects $metainfo"
    # The tree check also finds the desktop entry that the metainfo launches.
    appstreamcli validate-tree --no-net . >/dev/null || fail "appstreamcli rejects the installed tree"
else
    echo "appstreamcli not installed: metainfo checked for its id and launchable only"
fi
if command -v xmllint >/dev/null 2>&1; then
    xmllint --noout "$icon" "$metainfo" || fail "not well-formed XML"
fi
echo "installed and checked: usr/bin/velmora usr/bin/velmora-batch $desktop $icon $metainfo"
