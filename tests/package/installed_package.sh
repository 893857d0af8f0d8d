#!/usr/bin/env bash
# The Debian package as a person gets it: made from this build by
# scripts/package.sh, checked with Debian's own tools, unpacked into a
# scratch root with dpkg -x and run from there, away from the build tree.
#   installed_package.sh SOURCE_DIR BUILD_DIR VERSION
# Exits 77 (skipped) only where Debian's packaging tools are missing.
set -euo pipefail
source_dir=$1 build=$2 version=$3

for tool in dpkg-deb dpkg-shlibdeps dpkg-architecture lintian desktop-file-validate appstreamcli \
            man sqlite3 timeout; do
  command -v "$tool" >/dev/null || { echo "SKIP: $tool is not installed"; exit 77; }
done

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }

deb=$("$source_dir/scripts/package.sh" "$build")
arch=$(dpkg --print-architecture)
[[ $(basename "$deb") == "tovren_${version}_${arch}.deb" ]] || fail "the package is $(basename "$deb")"
[[ $(dpkg-deb -f "$deb" Version) == "$version" ]] || fail "the package's version is not $version"
echo "Depends: $(dpkg-deb -f "$deb" Depends)"
lintian --fail-on error --info "$deb" || fail "lintian reports errors"

root=$scratch/root
dpkg -x "$deb" "$root"

# Exactly the layout the README gives: no headers, static libraries, tests
# or tovren-bench.
triplet=$(dpkg-architecture -qDEB_HOST_MULTIARCH)
icons=usr/share/icons/hicolor
expected=(
  usr/bin/tovren usr/bin/tovren-book usr/bin/tovren-mkdb
  "usr/lib/$triplet/tovren/libtovrenplatform.so" "usr/lib/$triplet/tovren/libvostrel.so"
  "usr/lib/$triplet/tovren/tovren-book-records"
  usr/share/tovren/TN.html usr/share/tovren/TND.dbx
  usr/share/applications/org.belvane.Tovren.desktop
  usr/share/metainfo/org.belvane.Tovren.metainfo.xml
  "$icons/scalable/apps/org.belvane.Tovren.svg" "$icons/48x48/apps/org.belvane.Tovren.png"
  "$icons/256x256/apps/org.belvane.Tovren.png"
  usr/share/man/man1/tovren.1.gz usr/share/man/man1/tovren-book.1.gz
  usr/share/man/man1/tovren-mkdb.1.gz
  usr/share/doc/tovren/changelog.gz usr/share/doc/tovren/copyright
)
diff <(printf '%s\n' "${expected[@]}" | sort) <(cd "$root" && find . -type f -printf '%P\n' | sort) ||
  fail "the package's files differ from the layout (< expected, > packaged)"

desktop-file-validate "$root/usr/share/applications/org.belvane.Tovren.desktop" ||
  fail "desktop-file-validate"
metainfo=$root/usr/share/metainfo/org.belvane.Tovren.metainfo.xml
appstreamcli validate --no-net "$metainfo" || fail "appstreamcli validate"
newest=$(grep -o -m1 '<release version="[^"]*"' "$metainfo" | cut -d'"' -f2)
[[ $newest == "$version" ]] || fail "the metainfo's newest release is $newest"
[[ $(zcat "$root/usr/share/doc/tovren/changelog.gz" | head -1) == "tovren ($version) "* ]] ||
  fail "the changelog's newest entry is not $version"
for page in "$root"/usr/share/man/man1/*.gz; do
  warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -E UTF-8 -l -Tutf8 -Z "$page" 2>&1 >/dev/null)
  [[ -z $warnings ]] || fail "$(basename "$page"): $warnings"
  # Every installed path a page names was filled in by the build.
  ! zgrep -E '^\.IR? /' "$page" | grep -v -E "^\.IR? /usr/(bin|lib/$triplet/tovren|share/tovren)/?" ||
    fail "$(basename "$page") names a path outside the layout"
done

# Each program finds its libraries by its RPATH alone.
for elf in "$root"/usr/bin/* "$root/usr/lib/$triplet/tovren"/*; do
  ! env -u LD_LIBRARY_PATH ldd "$elf" | grep 'not found' || fail "$elf misses a library"
done

# Run from the scratch root as a person would: their own HOME, the XDG
# folders at their defaults, no program folder named.
home=$scratch/home
mkdir "$home" "$scratch/made"
run=(env -u LD_LIBRARY_PATH -u TOVREN_HOME -u XDG_CONFIG_HOME -u XDG_DATA_HOME -u XDG_STATE_HOME
     HOME="$home" QT_QPA_PLATFORM=offscreen)
before=$(cd "$root" && find . -printf '%P %s %T@\n' | sort)

"${run[@]}" "$root/usr/bin/tovren-book" --help >/dev/null || fail "tovren-book --help"
"${run[@]}" "$root/usr/bin/tovren-mkdb" "$scratch/made/TND.dbx" || fail "tovren-mkdb"
[[ $(sqlite3 "$scratch/made/TND.dbx" 'SELECT COUNT(*) FROM Address') == 0 ]] ||
  fail "tovren-mkdb wrote no empty book"

book=$home/.local/share/tovren/TND.dbx
"${run[@]}" timeout -k 5 30 "$root/usr/bin/tovren" &
tovren=$!
for _ in $(seq 100); do
  [[ -s $book ]] && break
  kill -0 $tovren 2>/dev/null || break
  sleep 0.2
done
sleep 1 # the program settles on the book it found
if kill -0 $tovren 2>/dev/null; then
  kill $tovren
  wait $tovren || true
else
  wait $tovren || true
  fail "tovren ended by itself at start-up"
fi
[[ -s $book ]] || fail "tovren made no book in $home/.local/share/tovren"
[[ -s $book && $(sqlite3 "$book" 'SELECT COUNT(*) FROM Address') == 0 &&
   $(sqlite3 "$book" 'SELECT COUNT(*) FROM Salutation') -gt 0 ]] ||
  fail "the book in $home/.local/share/tovren is not a fresh one"
[[ $before == "$(cd "$root" && find . -printf '%P %s %T@\n' | sort)" ]] ||
  fail "running the programs changed the scratch root's usr/"

((failures == 0)) || { echo "$failures failure(s)" >&2; exit 1; }
echo "The package installs and runs."
