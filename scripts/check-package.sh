#!/usr/bin/env bash
# Makes the Debian package with cpack from a finished build and checks it: every file the
# package must hold, no test or benchmark program, and the Qt 6 runtime in its dependencies.
# Usage: bash scripts/check-package.sh [BUILD_DIR]   (default: build)
set -euo pipefail
BUILD_DIR=$(cd "${1:-build}" && pwd)
VERSION=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$BUILD_DIR/CMakeCache.txt")
OUT=$(mktemp -d /tmp/uego4100-package-XXXXXX)
trap 'rm -rf "$OUT"' EXIT

(cd "$BUILD_DIR" && cpack -G DEB -B "$OUT" >"$OUT/cpack.log" 2>&1) || {
    cat "$OUT/cpack.log" >&2
    exit 1
}
# Named for the machine's architecture (amd64, arm64, ...).
ARCH=$(dpkg --print-architecture)
DEB="$OUT/uego4100_${VERSION}_${ARCH}.deb"
[ -f "$DEB" ] || { echo "missing $DEB; made: $(ls "$OUT")" >&2; exit 1; }

failed=0
CONTENT=$(dpkg-deb -c "$DEB" | awk '{print $6}' | sed 's|^\./|/|')
for f in /usr/bin/uego4100 /usr/bin/wbx4100-sim \
    /usr/share/applications/uego4100.desktop \
    /usr/share/icons/hicolor/scalable/apps/uego4100.svg \
    /usr/share/icons/hicolor/48x48/apps/uego4100.png \
    /usr/share/icons/hicolor/256x256/apps/uego4100.png \
    /usr/share/metainfo/org.uego4100.interface.metainfo.xml \
    /usr/share/man/man1/uego4100.1.gz \
    /usr/share/doc/uego4100/copyright \
    /usr/lib/uego4100/uego4100-sound.so; do
    if ! grep -qx "$f" <<<"$CONTENT"; then
        echo "not in the package: $f" >&2
        failed=1
    fi
done
if grep -E '/(tests_|bench)' <<<"$CONTENT"; then
    echo "test or benchmark programs in the package (above)" >&2
    failed=1
fi

DEPENDS=$(dpkg-deb -I "$DEB" | sed -n 's/^ Depends: //p')
for p in libqt6core6 libqt6gui6 libqt6widgets6 libqt6multimedia6 qt6-qpa-plugins; do
    if ! grep -qE "(^|, )$p( |,|$)" <<<"$DEPENDS"; then
        echo "Depends lacks $p: $DEPENDS" >&2
        failed=1
    fi
done

[ "$failed" -eq 0 ] && echo "$(basename "$DEB"): content and dependencies complete"
exit "$failed"
