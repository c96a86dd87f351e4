#!/usr/bin/env bash
# Builds the Debian package of qxsetup from a clean build folder and checks it: the desktop entry and
# the AppStream metadata as installed, the package's contents and its Depends, and lintian (errors
# fail, warnings are shown). The package is left in the build folder.
# Usage: scripts/package.sh [build folder, default build-package]
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"
scripts/deps.sh dpkg-dev lintian desktop-file-utils appstream file

build="${1:-build-package}"
launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
export CCACHE_BASEDIR="$root" CCACHE_NOHASHDIR=1

# The normal build's compile flags (-O2 -g): its objects are reused through ccache, and the package is
# stripped, so it is a release build as Debian makes them. Link flags add the hardening Debian expects
# (read-only relocations, bound at start). Only the installed targets are built.
rm -rf "$build"
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_SKIP_INSTALL_ALL_DEPENDENCY=ON \
    "-DCMAKE_EXE_LINKER_FLAGS=-Wl,-z,relro -Wl,-z,now" "${launcher[@]}" >/dev/null
targets=(qxsetup qxctl qxsetup_packaging_files)
cmake --build "$build" -j"$(nproc)" --target "${targets[@]}"
(cd "$build" && cpack -G DEB >/dev/null)
deb=$(ls "$build"/qxsetup_*.deb)
echo "Package: $deb"

fail() {
    echo "package check failed: $*" >&2
    exit 1
}

# The files as installed: unpacked from the package itself.
unpacked="$build/unpacked"
dpkg-deb -x "$deb" "$unpacked"
app=io.github.qxsetup.qxsetup
desktop-file-validate "$unpacked/usr/share/applications/$app.desktop" || fail "desktop entry"
appstreamcli validate --no-net --pedantic "$unpacked/usr/share/metainfo/$app.metainfo.xml" || fail "metadata"

contents=$(dpkg-deb -c "$deb" | awk '{print $NF}')
expected=(usr/bin/qxsetup usr/bin/qxsetup-launch "usr/share/applications/$app.desktop"
    "usr/share/icons/hicolor/scalable/apps/$app.svg" "usr/share/metainfo/$app.metainfo.xml"
    usr/share/doc/qxsetup/copyright usr/share/doc/qxsetup/changelog.gz usr/share/doc/qxsetup/README.md
    usr/share/man/man1/qxsetup.1.gz usr/bin/qxctl usr/share/man/man1/qxctl.1.gz)
for f in "${expected[@]}"; do
    grep -qx "\./$f" <<<"$contents" || fail "$f is not in the package"
done
for program in qxsetup qxctl; do
    file "$unpacked/usr/bin/$program" | grep -q ', stripped' || fail "usr/bin/$program is not stripped"
done

# The changelog and the metadata's latest release follow the project's version.
version=$(dpkg-deb -f "$deb" Version)
[ "$(dpkg-parsechangelog -l packaging/changelog -S Version)" = "$version" ] ||
    fail "packaging/changelog has no entry for $version on top"
grep -q "<release version=\"$version\"" "packaging/$app.metainfo.xml" ||
    fail "packaging/$app.metainfo.xml has no release $version"

depends=$(dpkg-deb -f "$deb" Depends)
echo "Depends: $depends"
for d in libqt6serialport6 libqt6widgets6 libqt6network6 fonts-wqy-zenhei fonts-liberation2; do
    grep -q "\b$d\b" <<<"$depends" || fail "Depends lacks $d"
done

# Errors fail the build; warnings and notes are listed.
lintian --fail-on error "$deb" 2>&1 | sed 's/^/lintian: /'
echo "Package checks passed: $deb"
