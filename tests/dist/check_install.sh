#!/usr/bin/env bash
# Installs the build into a temporary prefix and checks the layout and each
# file with its validator. Usage: check_install.sh BUILD_DIR SOURCE_DIR VERSION
source "$(dirname "$0")/common.sh"
build="$1" source="$2" version="$3"
require_tools desktop-file-validate appstreamcli groff update-mime-database

prefix="$(mktemp -d)"
trap 'rm -rf "$prefix"' EXIT
log="$(cmake --install "$build" --prefix "$prefix" 2>&1)" || fail "cmake --install: $log"
expect_file_list "$(cd "$prefix" && find . -type f | sed 's|^\./||')"

[ -x "$prefix/bin/zarvo" ] || fail "bin/zarvo is not executable"
cmp "$source/resources/GUI_All.txt" "$prefix/share/zarvo/GUI_All.txt" || fail "the installed sample differs"
cmp "$source/resources/zarvo.png" "$prefix/share/zarvo/zarvo.png" || fail "the sample's picture differs"

# Each PNG of the icon theme has the size its folder names (width and height
# are the big-endian words at bytes 16 and 20 of the file).
for size in 16 32 48 64 128 256; do
  png="$prefix/share/icons/hicolor/${size}x${size}/apps/zarvo.png"
  dims="$(od -An -tu1 -j16 -N8 "$png" | awk '{print $3*256+$4 "x" $7*256+$8}')"
  [ "$dims" = "${size}x${size}" ] || fail "$png is $dims"
done

desktop="$prefix/share/applications/zarvo.desktop"
out="$(desktop-file-validate "$desktop" 2>&1)" || fail "desktop-file-validate: $out"
[ -z "$out" ] || fail "desktop-file-validate: $out"
grep -qx 'Exec=zarvo %f' "$desktop" || fail "the desktop entry does not open files as 'zarvo %f'"
grep -qx 'Icon=zarvo' "$desktop" || fail "the desktop entry does not name the theme icon"
grep -qx 'MimeType=text/x-zarvo;' "$desktop" || fail "the desktop entry claims other file types than text/x-zarvo"

# The shared MIME database built from the installed file type alone.
out="$(XDG_DATA_DIRS="$prefix/share" update-mime-database "$prefix/share/mime" 2>&1)" || fail "update-mime-database: $out"
[ -z "$out" ] || fail "update-mime-database: $out"
grep -qx '50:text/x-zarvo:\*\.zarvo' "$prefix/share/mime/globs2" || fail "*.zarvo is not text/x-zarvo"
grep -qx 'text/x-zarvo text/plain' "$prefix/share/mime/subclasses" || fail "text/x-zarvo is not a kind of text/plain"

first="$(zcat "$prefix/share/doc/zarvo/changelog.gz" | head -n1)"
[[ "$first" == "zarvo ($version) "* ]] || fail "the changelog's last entry is not $version: $first"

metainfo="$prefix/share/metainfo/org.zarvo.zarvo.metainfo.xml"
out="$(appstreamcli validate --no-net --pedantic "$metainfo" 2>&1)" || fail "appstreamcli: $out"
grep -q "<release version=\"$version\"" "$metainfo" || fail "the AppStream file has no release $version"

man="$(zcat "$prefix/share/man/man1/zarvo.1.gz")" || fail "the man page is not gzip-compressed"
warnings="$(groff -man -Tutf8 -ww -z <<<"$man" 2>&1)"
[ -z "$warnings" ] || fail "groff warns about the man page: $warnings"
text="$(groff -man -Tutf8 -P-cbou <<<"$man" 2>/dev/null)"
for section in NAME SYNOPSIS OPTIONS FILES "SCRIPT LANGUAGE" "EXIT STATUS"; do
  grep -q "^$section\$" <<<"$text" || fail "the man page has no $section section"
done
grep -q "Zarvo $version" <<<"$text" || fail "the man page does not name version $version"
echo "install layout and validators: ok"
