#!/usr/bin/env bash
# Makes the Debian package with cpack and checks its name, its Depends and its
# files. Usage: check_package.sh BUILD_DIR VERSION
source "$(dirname "$0")/common.sh"
build="$1" version="$2"
require_package_tools
out="$(mktemp -d)"
trap 'rm -rf "$out"' EXIT
deb="$(make_package "$build" "$version" "$out")"

[ "$(dpkg-deb --field "$deb" Package)" = zarvo ] || fail "the package is not named zarvo"
depends="$(dpkg-deb --field "$deb" Depends)"
names="$(sed 's/ ([^)]*)//g; s/, */\n/g' <<<"$depends")"
# The libraries the executable links, found by dpkg-shlibdeps, and the
# platform plugins Qt loads at run time.
for package in libqt6widgets6 libqt6gui6 libqt6core6 libstdc++6 libc6 qt6-qpa-plugins; do
  grep -Fqx "$package" <<<"$names" || fail "Depends lacks $package: $depends"
done
# The program uses only Qt's public API, so it needs no exact Qt build.
abi="$(sed 's/, */\n/g' <<<"$depends" | grep '^qt6-base-abi' || true)"
[ -z "$abi" ] || fail "Depends names $abi, but the program uses no private Qt API"
expect_file_list "$(dpkg-deb --fsys-tarfile "$deb" | tar -t | grep -v '/$' | sed 's|^\./usr/||')"
echo "package $(basename "$deb"): ok"
echo "Depends: $depends"
