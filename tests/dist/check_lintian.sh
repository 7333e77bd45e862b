#!/usr/bin/env bash
# Runs lintian on the Debian package: no errors, and every warning it gives
# is listed in the README with its reason. Usage: check_lintian.sh BUILD_DIR
# VERSION SOURCE_DIR
source "$(dirname "$0")/common.sh"
build="$1" version="$2" source="$3"
require_package_tools
require_tools lintian
out="$(mktemp -d)"
trap 'rm -rf "$out"' EXIT
deb="$(make_package "$build" "$version" "$out")"

# lintian refuses to run as root unless told that it may.
as_root=()
[ "$(id -u)" -ne 0 ] || as_root=(--allow-root)
report="$(lintian "${as_root[@]}" "$deb" 2>&1)" && status=0 || status=$?
echo "$report"
grep -q '^E: ' <<<"$report" && fail "lintian reports errors"
[ "$status" -eq 0 ] || fail "lintian ended with status $status"
for tag in $(sed -n 's/^W: [^:]*: \([^ ]*\).*/\1/p' <<<"$report" | sort -u); do
  grep -q "\`$tag\`" "$source/README.md" || fail "the README does not say why lintian warns $tag"
done
echo "lintian: no errors"
