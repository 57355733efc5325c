#!/usr/bin/env bash
# Builds Horlomat from scratch and packs Horlomat-<version>-win64.zip with the exe
# and a short German and English readme; prints the archive's SHA-256.
# The build is reproducible: no timestamps or build paths in the binary, and
# fixed dates and modes in the archive.
source "$(dirname "$0")/common.sh"

ensure_packages build
version=$(sed -n 's/^project(Horlomat VERSION \([0-9.]*\).*/\1/p' "$ROOT/CMakeLists.txt")
out=$ROOT/build-release
rm -rf "$out"
log "Building the release in $out"
cmake -S "$ROOT" -B "$out" -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw-w64-x86_64.cmake" \
      -DCMAKE_BUILD_TYPE=MinSizeRel -DHORLOMAT_BUILD_TESTS=OFF >/dev/null
cmake --build "$out" -j"$(nproc)" --target Horlomat >/dev/null

stage=$out/stage
mkdir -p "$stage"
cp "$out/Horlomat.exe" "$stage/Horlomat.exe"
# Windows readers expect CRLF line ends.
sed -e "s/@VERSION@/$version/" -e 's/$/\r/' "$ROOT/scripts/release/README.txt" >"$stage/README.txt"

zip=Horlomat-$version-win64.zip
# Fixed entry dates and modes, no extra fields: the same input gives the same bytes.
python3 - "$out/$zip" "$stage/Horlomat.exe" "$stage/README.txt" <<'PY'
import sys, zipfile
with zipfile.ZipFile(sys.argv[1], "w") as archive:
    for path in sys.argv[2:]:
        entry = zipfile.ZipInfo(path.rsplit("/", 1)[-1], date_time=(2026, 1, 1, 0, 0, 0))
        entry.compress_type = zipfile.ZIP_DEFLATED
        entry.external_attr = 0o644 << 16
        with open(path, "rb") as data:
            archive.writestr(entry, data.read(), compresslevel=9)
PY
log "Release: $out/$zip"
ls -l "$out/$zip" | awk '{print $5 " bytes"}'
(cd "$out" && sha256sum "$zip" Horlomat.exe)
