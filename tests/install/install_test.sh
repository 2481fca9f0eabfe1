#!/usr/bin/env bash
# Installs the build tree into a temporary DESTDIR and uses it from there as a user and a
# library consumer would. Arguments: BUILD_DIR SOURCE_DIR C_COMPILER LIBDIR GUI(ON/OFF) [SANITIZE_FLAGS]
set -euo pipefail
build=$1 src=$2 cc=$3 libdir=$4 gui=$5 sanitize=${6:-}
prefix=/opt/velquor
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

DESTDIR=$tmp/root cmake --install "$build" --prefix "$prefix" >/dev/null
root=$tmp/root$prefix
for f in bin/velquor-cnc "$libdir/libvelquorcnc.so" include/velquor/cnc_api.h \
         "$libdir/pkgconfig/velquorcnc.pc" "$libdir/cmake/velquorcnc/velquorcncConfig.cmake" \
         share/velquor/examples/demo.cnc share/velquor/examples/tools.INI share/man/man1/velquor-cnc.1; do
  [ -e "$root/$f" ] || fail "$f not installed"
done
fonts=$(ls "$root/share/velquor/Fonts" | wc -l)
[ "$fonts" -eq 10 ] || fail "$fonts fonts installed instead of 10"
[ ! -e "$root/bin/Fonts" ] || fail "Fonts installed beside the executable"

# The installed command line with the installed fonts, found on its own.
demo=$root/share/velquor/examples/demo.cnc
summary=$("$root/bin/velquor-cnc" check "$demo" --settings "$root/share/velquor/examples/tools.INI") ||
  fail "check of the installed demo: $summary"
echo "$summary"
contour=$(sed -n 's/.* \([0-9]*\) contour elements.*/\1/p' <<<"$summary")
[ -n "$contour" ] && [ "$contour" -gt 0 ] || fail "no contour elements in: $summary"
"$root/bin/velquor-cnc" --version | grep -q '^velquor-cnc [0-9]' || fail "--version"

# Consumers: the same program and fonts must give the same count through either route.
consumer=$src/tests/install/consumer
fontdir=$root/share/velquor/Fonts/
expect="$contour contour elements, run 0"
PKG_CONFIG_PATH=$root/$libdir/pkgconfig
export PKG_CONFIG_PATH
# shellcheck disable=SC2046,SC2086
"$cc" $sanitize "$consumer/count_elements.c" -o "$tmp/by_pkgconfig" \
  $(pkg-config --cflags --libs velquorcnc) -Wl,-rpath,"$root/$libdir"
got=$("$tmp/by_pkgconfig" "$demo" "$fontdir")
[ "$got" = "$expect" ] || fail "pkg-config consumer printed '$got', expected '$expect'"
echo "pkg-config: $got"

cmake -S "$consumer" -B "$tmp/consumer" -G Ninja -DCMAKE_C_COMPILER="$cc" -DCMAKE_PREFIX_PATH="$root" \
  -DCMAKE_C_FLAGS="$sanitize" -DCMAKE_EXE_LINKER_FLAGS="$sanitize" >/dev/null
cmake --build "$tmp/consumer" >/dev/null
got=$("$tmp/consumer/count_elements" "$demo" "$fontdir")
[ "$got" = "$expect" ] || fail "find_package consumer printed '$got', expected '$expect'"
echo "find_package: $got"

if [ "$gui" = ON ]; then
  desktop-file-validate "$root/share/applications/velquor.desktop" || fail "desktop entry"
  [ -e "$root/share/icons/hicolor/scalable/apps/velquor.svg" ] || fail "icon not installed"
  python3 -c 'import sys, xml.dom.minidom as m; m.parse(sys.argv[1]); m.parse(sys.argv[2])' \
    "$root/share/mime/packages/velquor.xml" "$root/share/icons/hicolor/scalable/apps/velquor.svg"
  # The installed viewer names its fonts and settings file at start.
  pane=$(QT_QPA_PLATFORM=offscreen "$root/bin/velquor" --grab "$tmp/start.png" --quit)
  grep -qxF "Set font path to ..$root/share/velquor/Fonts/" <<<"$pane" || fail "viewer fonts: $pane"
  grep -qxF "Settings file: $root/bin/velquor.INI" <<<"$pane" || fail "viewer settings: $pane"
fi
echo "installed tree works"
