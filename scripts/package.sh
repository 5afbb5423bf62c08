#!/usr/bin/env bash
# Builds the Debian package in build-package/ and checks it before anyone installs it: lintian,
# the AppStream metadata and the menu entry, and the files it puts on a machine, unpacked into
# a scratch root. Ends with the command that installs it.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build_dir="$here/build-package"

fail() {
  echo "package.sh: $*" >&2
  exit 1
}

"$here/scripts/install-deps.sh" --packaging

# Built with the hardening that Debian's own packages get (fortified calls, stack protector,
# read-only relocations bound at start).
cd "$here"
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
cmake -S "$here" -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DSORVELL_TESTS=OFF -DSORVELL_BENCH=OFF \
  -DCMAKE_CXX_FLAGS="$(dpkg-buildflags --get CPPFLAGS) $(dpkg-buildflags --get CXXFLAGS)" \
  -DCMAKE_EXE_LINKER_FLAGS="$(dpkg-buildflags --get LDFLAGS)" >/dev/null
ninja -C "$build_dir"
rm -f "$build_dir"/sorvell_*.deb
(cd "$build_dir" && cpack -G DEB >/dev/null)

shopt -s nullglob
debs=("$build_dir"/sorvell_*.deb)
((${#debs[@]} == 1)) || fail "cpack made ${#debs[@]} packages, expected one"
deb=${debs[0]}
version=$(dpkg-deb --field "$deb" Version)
expected="$build_dir/sorvell_${version}_$(dpkg --print-architecture).deb"
[[ $deb == "$expected" ]] || fail "$deb should be $expected"

# The hand-written release notes must name the version that is packaged.
changelog_version=$(dpkg-parsechangelog --file "$here/install/changelog" --show-field Version)
[[ $changelog_version == "$version" ]] ||
  fail "install/changelog is at $changelog_version, the package at $version"
grep -q "<release version=\"$version\"" "$here"/install/*.metainfo.xml ||
  fail "the metainfo in install/ has no release $version"

depends=$(dpkg-deb --field "$deb" Depends)
[[ $depends == *libqt6widgets6* && $depends == *qt6-qpa-plugins* ]] ||
  fail "dependencies incomplete: $depends"

echo "== lintian"
lintian --fail-on error "$deb"

root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
dpkg-deb --extract "$deb" "$root"

echo "== files"
executables=(usr/bin/sorvell usr/bin/sorvell-sim)
files=(
  usr/share/applications/nl.velmar.sorvell.desktop
  usr/share/icons/hicolor/scalable/apps/sorvell.svg
  usr/share/metainfo/nl.velmar.sorvell.metainfo.xml
  usr/share/man/man1/sorvell.1.gz
  usr/share/man/man1/sorvell-sim.1.gz
  usr/share/doc/sorvell/copyright
  usr/share/doc/sorvell/changelog.gz
)
for file in "${executables[@]}"; do
  [[ -f $root/$file && -x $root/$file ]] || fail "no executable /$file in the package"
done
for file in "${files[@]}"; do
  [[ -f $root/$file && -s $root/$file ]] || fail "no /$file in the package"
done

echo "== metadata"
appstreamcli validate --no-net "$root/usr/share/metainfo/nl.velmar.sorvell.metainfo.xml"
desktop="$root/usr/share/applications/nl.velmar.sorvell.desktop"
desktop-file-validate "$desktop"
grep -qx 'Exec=sorvell' "$desktop" || fail "the menu entry does not start /usr/bin/sorvell"
grep -qx 'Icon=sorvell' "$desktop" || fail "the menu entry names another icon"

# The unpacked program answers from its own version block, with the system's libraries.
echo "== the program"
answer=$(env -u DISPLAY -u WAYLAND_DISPLAY "$root/usr/bin/sorvell" --version)
[[ $answer == "Sorvell $version"* ]] || fail "sorvell --version says: $answer"
echo "$answer"

echo "Built and checked: $deb"
echo "Install it with: apt install ./${deb#"$here"/}"
