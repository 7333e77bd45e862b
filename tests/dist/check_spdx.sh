#!/usr/bin/env bash
# Every C++ source file of the project starts with its licence's SPDX
# identifier. Usage: check_spdx.sh SOURCE_DIR
source "$(dirname "$0")/common.sh"
source_dir="$1"
header='// SPDX-License-Identifier: MIT'
missing="$(cd "$source_dir" && find src tests bench -name '*.cpp' -o -name '*.h' | sort | while read -r file; do
  [ "$(head -n1 "$file")" = "$header" ] || echo "$file"
done)"
[ -z "$missing" ] || fail "these files do not start with '$header': $missing"
echo "SPDX headers: ok"
