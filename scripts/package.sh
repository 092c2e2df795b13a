#!/usr/bin/env bash
# Builds the release packages into dist/:
#   Tarvelo-<version>-win64.zip     tarvelo.exe, readme.txt and LICENSE.txt
#   Tarvelo-<version>-setup.exe     the per-user installer (NSIS)
#   scripts/package.sh [--exe PATH] [--out DIR]
# --exe packs an exe that is already built instead of building the Windows preset;
# --out writes somewhere other than dist/. The version is the CMake project's, read
# from the header the exe's own version resource is made from.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)

exe=""
out="$root/dist"
while [ $# -gt 0 ]; do
  case "$1" in
    --exe) exe=${2:?--exe needs a path}; shift 2 ;;
    --out) out=${2:?--out needs a folder}; shift 2 ;;
    -h|--help) sed -n '2,8p' "$0"; exit 0 ;;
    *) echo "unknown option: $1" >&2; exit 2 ;;
  esac
done

if [ -z "$exe" ]; then
  scripts/setup.sh
  cmake --preset windows >/dev/null
  cmake --build --preset windows --target tarvelo
  exe="$root/build/windows/tarvelo.exe"
fi
for tool in makensis zip; do
  command -v "$tool" >/dev/null || { echo "package.sh: $tool is missing (scripts/setup.sh installs it)" >&2; exit 1; }
done
[ -f "$exe" ] || { echo "package.sh: no exe at $exe" >&2; exit 1; }
exe=$(cd "$(dirname "$exe")" && pwd)/$(basename "$exe")

# The build folder holding the exe: the nearest one up with a CMake cache.
build=$(dirname "$exe")
while [ "$build" != / ] && [ ! -f "$build/CMakeCache.txt" ]; do build=$(dirname "$build"); done
header="$build/generated/Version.h"
[ -f "$header" ] || { echo "package.sh: no $header beside the exe's build" >&2; exit 1; }
version=$(awk '$1 == "#define" { v[$2] = $3 }
  END { if (v["TARVELO_VERSION_MAJOR"] != "" && v["TARVELO_VERSION_MINOR"] != "" && v["TARVELO_VERSION_PATCH"] != "")
          print v["TARVELO_VERSION_MAJOR"] "." v["TARVELO_VERSION_MINOR"] "." v["TARVELO_VERSION_PATCH"] }' "$header")
[[ "$version" =~ ^[0-9]+\.[0-9]+\.[0-9]+$ ]] || { echo "package.sh: no version in $header" >&2; exit 1; }

mkdir -p "$out"
# Made beside the packages and moved into place, so a failed run leaves no half-made one.
stage=$(mktemp -d "$out/.package.XXXXXX")
trap 'rm -rf "$stage"' EXIT
# Windows' own editors want CR LF.
crlf() { sed -e 's/\r$//' -e 's/$/\r/' "$@"; }
cp "$exe" "$stage/tarvelo.exe"
sed "s/@VERSION@/$version/g" installer/readme.txt | crlf > "$stage/readme.txt"
crlf LICENSE > "$stage/LICENSE.txt"

zip_name="Tarvelo-$version-win64.zip"
setup_name="Tarvelo-$version-setup.exe"
(cd "$stage" && zip -q -X -9 "$zip_name" tarvelo.exe readme.txt LICENSE.txt)
makensis -V2 -NOCD \
  "-DVERSION=$version" "-DEXE=$stage/tarvelo.exe" "-DREADME=$stage/readme.txt" \
  "-DLICENSE=$stage/LICENSE.txt" "-DICON=$root/resources/tarvelo.ico" \
  "-DOUTFILE=$stage/$setup_name" installer/tarvelo.nsi
mv -f "$stage/$zip_name" "$out/$zip_name"
mv -f "$stage/$setup_name" "$out/$setup_name"

for f in "$out/$zip_name" "$out/$setup_name"; do
  printf '%s  %s bytes\n' "$f" "$(stat -c %s "$f")"
done
