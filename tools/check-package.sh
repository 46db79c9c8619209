#!/usr/bin/env bash
# Builds the Debian package from a finished build and checks it: its file list
# and fields, Debian's own checker (lintian), the desktop entries, AppStream
# data and file type it installs, the start scripts' --help and --version
# without a display, and, under Xvfb, the packaged editor opening a map named
# on its command line.
#
# Usage: tools/check-package.sh [BUILD_DIR]    (default: build)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$root/build}" && pwd)
scratch=$(mktemp -d "${TMPDIR:-/tmp}/tessel-package.XXXXXX")
trap 'rm -rf "$scratch"' EXIT

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

rm -f "$build"/tessel_*.deb
(cd "$build" && cpack -G DEB)
package=$(ls "$build"/tessel_*.deb)
echo "checking $package"

listing=$scratch/listing
dpkg-deb -c "$package" | awk '{print $1, $6}' >"$listing"
for path in opt/tessel/launcher opt/tessel/Tessel/Tessel opt/tessel/Tessel/assets/lamp.png \
    opt/tessel/Tessel/textures/Wall/brick.png usr/bin/tessel usr/bin/tessel-launcher \
    usr/share/applications/tessel.desktop usr/share/applications/tessel-launcher.desktop \
    usr/share/metainfo/org.example.tessel.metainfo.xml usr/share/mime/packages/tessel.xml \
    usr/share/icons/hicolor/{48x48,128x128,256x256}/apps/tessel{,-launcher}.png \
    usr/share/man/man1/tessel.1.gz usr/share/man/man1/tessel-launcher.1.gz \
    usr/share/doc/tessel/copyright usr/share/doc/tessel/changelog.gz; do
    grep -q " \./$path\$" "$listing" || fail "the package lacks /$path"
done
if grep -q ' \./usr/bin/tessel-map$' "$listing"; then
    grep -q ' \./opt/tessel/Tessel/tessel-map$' "$listing" || fail "/usr/bin/tessel-map starts nothing"
    grep -q ' \./usr/share/man/man1/tessel-map.1.gz$' "$listing" || fail "tessel-map has no manual page"
fi
# Nothing the package installs is writable by users.
! grep -E '^.{4}w|^.{7}w' "$listing" || fail "group- or world-writable files in the package"

[ "$(dpkg-deb -f "$package" Package)" = tessel ] || fail "the package is not named tessel"
[ "$(dpkg-deb -f "$package" Section)" = graphics ] || fail "the package's section is not graphics"
depends=$(dpkg-deb -f "$package" Depends)
needed=(libc6 gstreamer1.0-plugins-good gstreamer1.0-libav)
if grep -qx 'TESSEL_QT_MAJOR:STRING=6' "$build/CMakeCache.txt"; then
    needed+=(libqt6widgets6 libqt6multimedia6)
else
    needed+=(libqt5widgets5 libqt5multimedia5-plugins)
fi
for needed in "${needed[@]}"; do
    [[ $depends == *"$needed"* ]] || fail "Depends lacks $needed: $depends"
done

# Debian's checker: no error but the tree under /opt, which is where an add-on
# package outside the distribution belongs; the warnings kept are listed with
# their reasons in packaging/lintian-warnings.md.
lintian --tag-display-limit 0 "$package" >"$scratch/lintian.txt" 2>&1 || true
echo "lintian: $(grep -c ' dir-or-file-in-opt ' "$scratch/lintian.txt") x dir-or-file-in-opt, and:"
grep -v ' dir-or-file-in-opt ' "$scratch/lintian.txt" || true
! grep -E '^E: ' "$scratch/lintian.txt" | grep -v ' dir-or-file-in-opt ' || fail "lintian reports errors"
! grep -E '^W: .* no-manual-page ' "$scratch/lintian.txt" || fail "lintian misses a manual page"
kept=$(sed -n 's/^| `\([a-z0-9-]*\)`.*/\1/p' "$root/packaging/lintian-warnings.md")
while read -r _ _ tag _; do
    grep -qx "$tag" <<<"$kept" || fail "lintian warns $tag, which packaging/lintian-warnings.md does not list"
done < <(grep -E '^W: ' "$scratch/lintian.txt")

unpacked=$scratch/root
dpkg-deb -x "$package" "$unpacked"
desktop-file-validate "$unpacked"/usr/share/applications/*.desktop
appstreamcli validate --no-net "$unpacked"/usr/share/metainfo/*.metainfo.xml
cp -r "$unpacked/usr/share/mime" "$scratch/mime"
# It prints a note about its folder not being searched; anything else is a fault in the file.
update-mime-database "$scratch/mime" 2>"$scratch/mime.log"
! grep -iE 'error|warning|unknown|invalid' "$scratch/mime.log" || fail "update-mime-database complains"
grep -qx '50:application/x-tessel-map:\*\.map' "$scratch/mime/globs2" || fail "no *.map glob for Tessel maps"
grep -qa 'application/x-tessel-map' "$scratch/mime/magic" || fail "no content match for Tessel maps"

for option in --help --version; do
    env -u DISPLAY "$unpacked/usr/bin/tessel" "$option" | grep -q Tessel || fail "tessel $option"
done
# tessel-map runs in the caller's folder, where a relative map name is found.
if [ -e "$unpacked/usr/bin/tessel-map" ]; then
    printf '#Wall\r\n104,\r\n\r\n#Definitions\r\n104,Wall,Solid,tiny/brick.png\r\n' >"$scratch/tiny.map"
    (cd "$scratch" && env -u DISPLAY "$unpacked/usr/bin/tessel-map" info tiny.map) | grep -q '^cells: 1 ' ||
        fail "tessel-map info on a relative path"
fi

# The end-to-end tests' helper, built with the launcher's tests or with theirs.
x11close=$(find "$build/tests" -name x11close -type f -perm -u+x | head -n 1)
[ -n "$x11close" ] || fail "x11close is not built in $build"
bash "$root/tests/e2e/package-opens-map.sh" "$package" "$x11close" "$build/package-check"
