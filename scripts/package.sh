#!/usr/bin/env bash
# Makes the Debian package tovren_<version>_<arch>.deb from the build in
# build-dir, with CPack's DEB generator: what `cmake --install` lays out
# under /usr, stripped, its Depends computed by dpkg-shlibdeps. Only what
# changed since the last build is built again.
#   scripts/package.sh [build-dir]      (default: build; prints the path)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(realpath -m "${1:-$root/build}")

[[ -f $build/CMakeCache.txt ]] || "$root/scripts/setup.sh" "$build" >&2
prefix=$(sed -n 's/^CMAKE_INSTALL_PREFIX:PATH=//p' "$build/CMakeCache.txt")
if [[ $prefix != /usr ]]; then
  # The programs tell an installed copy by the bin folder the build names.
  echo "package: $build installs under $prefix; configuring it for /usr" >&2
  cmake -S "$root" -B "$build" -DCMAKE_INSTALL_PREFIX=/usr >/dev/null
fi

out=$build/package
rm -f "$out"/tovren_*.deb
cpack --config "$build/CPackConfig.cmake" -B "$out" >&2
deb=("$out"/tovren_*.deb)
[[ -f ${deb[0]} ]] || { echo "package: cpack made no package" >&2; exit 1; }
echo "${deb[0]}"
