# Shared by the install and package checks; sourced, not run.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"

# CTest counts exit status 77 as skipped: the check needs tools this machine lacks.
require_tools() {
  local tool
  for tool in "$@"; do
    if ! command -v "$tool" >/dev/null; then
      echo "skipped: $tool not found (bash scripts/deps installs it)"
      exit 77
    fi
  done
}

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

# The files an installation must hold, relative to the prefix, and nothing else.
expect_file_list() {
  local actual="$1"
  diff -u "$here/installed-files.txt" <(LC_ALL=C sort <<<"$actual") || fail "installed files differ from installed-files.txt"
}

# cpack finds the executables to hand to dpkg-shlibdeps with file.
require_package_tools() {
  require_tools cpack dpkg-deb dpkg-shlibdeps file
}

# Makes the package into the folder; prints the package's path.
make_package() {
  local build="$1" version="$2" folder="$3" log
  log="$(cpack --config "$build/CPackConfig.cmake" -G DEB -B "$folder" 2>&1)" || fail "cpack: $log"
  ls "$folder"/zarvo_"$version"_*.deb || fail "cpack made no zarvo_${version}_*.deb"
}
