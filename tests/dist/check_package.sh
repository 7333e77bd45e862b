#!/usr/bin/env bash
# Makes the Debian package with cpack and checks its name, its Depends and its
# files. Usage: check_package.sh BUILD_DIR VERSION
source "$(dirname "$0")/common.sh"
build="$1" version="$2"
# CPack finds the executables to hand to dpkg-shlibdeps with file.
require_tools cpack dpkg-deb dpkg-shlibdeps file

out="$(mktemp -d)"
trap 'rm -rf "$out"' EXIT
log="$(cpack --config "$build/CPackConfig.cmake" -G DEB -B "$out" 2>&1)" || fail "cpack: $log"
deb="$(ls "$out"/zarvo_"$version"_*.deb)" || fail "cpack made no zarvo_${version}_*.deb"

[ "$(dpkg-deb --field "$deb" Package)" = zarvo ] || fail "the package is not named zarvo"
depends="$(dpkg-deb --field "$deb" Depends)"
names="$(sed 's/ ([^)]*)//g; s/, */\n/g' <<<"$depends")"
# The libraries the executable links, found by dpkg-shlibdeps, and the
# platform plugins Qt loads at run time.
for package in libqt6widgets6 libqt6gui6 libqt6core6 libstdc++6 libc6 qt6-qpa-plugins; do
  grep -Fqx "$package" <<<"$names" || fail "Depends lacks $package: $depends"
done
expect_file_list "$(dpkg-deb --fsys-tarfile "$deb" | tar -t | grep -v '/$' | sed 's|^\./usr/||')"
echo "package $(basename "$deb"): ok"
echo "Depends: $depends"
