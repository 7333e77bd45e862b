#!/usr/bin/env bash
# Keeps the user documentation in step with the program: every command of the
# keyword table has its section in the script reference and a line in the man
# page, every error number of the toolkit layer is explained, and every
# picture the README shows exists. Usage: check_docs.sh SOURCE_DIR
source "$(dirname "$0")/common.sh"
source="$1"
reference="$source/docs/script-reference.md"

keywords="$(grep -oE '(\{|creation\()"[A-Za-z]+"_L1' "$source/src/interpreter/commandtable.cpp" | sed 's/^[^"]*"//; s/"_L1$//')"
[ "$(wc -l <<<"$keywords")" -ge 18 ] || fail "found only these commands: $keywords"
for keyword in $keywords; do
  grep -qx "## $keyword" "$reference" || fail "the script reference has no section for $keyword"
  grep -q "$keyword" "$source/dist/zarvo.1.in" || fail "the man page does not list $keyword"
done

numbers="$(grep -oE '= [0-9]+,' "$source/src/platform/error.h" | tr -dc '0-9\n')"
for number in $numbers; do
  grep -q "^| $number | " "$reference" || fail "the script reference does not explain error $number"
done

for picture in $(grep -o '](docs/images/[^)]*)' "$source/README.md" | sed 's/^](//; s/)$//'); do
  [ -s "$source/$picture" ] || fail "the README shows $picture, which does not exist"
done
echo "documentation: ok"
