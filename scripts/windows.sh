#!/usr/bin/env bash
# Cross-builds the third-party libraries for 64-bit Windows with mingw-w64 from
# Debian's own source packages, and (with "smoke") a program that links all of
# them statically and runs under Wine.
#   bash scripts/windows.sh          install tools, fetch and build what changed
#   bash scripts/windows.sh smoke    the same, then build and run the smoke test
#   bash scripts/windows.sh build    the same, then cross-build the player
#                                    (build-win/w64/kxcsaver.exe), the tool
#                                    (kxtool.exe) and the unit suites into
#                                    build-win/w64
#   bash scripts/windows.sh tests    the same, then run the suites under Wine
#                                    on a virtual X screen
set -euo pipefail

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
WIN="$ROOT/build-win"
SRC="$WIN/src"
PREFIX="$WIN/deps"
STAMPS="$PREFIX/stamps"
HOST=x86_64-w64-mingw32
JOBS=2
# Other work shares the machine's two cores.
NICE=(nice -n 5)

CC_WIN="$HOST-gcc-posix"
CXX_WIN="$HOST-g++-posix"

log() { printf '== %s\n' "$*" >&2; }

require_root() {
  if [ "$(id -u)" -ne 0 ]; then
    echo "run as root (apt-get installs the cross toolchain)" >&2
    exit 1
  fi
}

# apt-get source needs deb-src entries; mirror every binary stanza of Debian's
# deb822 list so the sources come from the same archive and snapshot as the
# installed packages.
enable_sources() {
  local list=/etc/apt/sources.list.d/debian.sources
  local out=/etc/apt/sources.list.d/kx-sources.sources
  local want
  if [ -f "$list" ]; then
    want="$(awk '
      /^#/ { next }
      /^Types:/ { print "Types: deb-src"; next }
      { print }
    ' "$list")"
  else
    want="Types: deb-src
URIs: http://deb.debian.org/debian
Suites: bookworm bookworm-updates
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg

Types: deb-src
URIs: http://deb.debian.org/debian-security
Suites: bookworm-security
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg"
  fi
  if [ ! -f "$out" ] || [ "$(cat "$out")" != "$want" ]; then
    printf '%s\n' "$want" > "$out"
  fi
}

install_tools() {
  export DEBIAN_FRONTEND=noninteractive
  enable_sources
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends \
    g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix libz-mingw-w64-dev \
    binutils-mingw-w64-x86-64 dpkg-dev patch xz-utils cmake ninja-build meson \
    nasm pkg-config wine64 xvfb googletest > /dev/null
}

# Newest first, in Debian's version order.
source_versions() {
  local v sorted=()
  for v in $(apt-cache showsrc "$1" | sed -n 's/^Version: //p' | sort -u); do
    local i=0
    while [ $i -lt ${#sorted[@]} ] && dpkg --compare-versions "${sorted[$i]}" gt "$v"; do
      i=$((i + 1))
    done
    sorted=("${sorted[@]:0:$i}" "$v" "${sorted[@]:$i}")
  done
  printf '%s\n' "${sorted[@]}"
}

# Downloads the files of one source version that the archive still serves,
# each checked against the hash in apt's signed Sources index.
download_available() {
  local pkg=$1 ver=$2 uri name size hash
  apt-get source --print-uris -qq "$pkg=$ver" | tr -d "'" |
    while read -r uri name size hash; do
      [ -s "$name" ] && continue
      /usr/lib/apt/apt-helper -qq download-file "$uri" "$name" "$hash" > /dev/null 2>&1 ||
        { rm -f "$name"; log "$pkg: the archive does not serve $name"; }
    done
}

apply_series() {
  local dir=$1 p
  [ -f "$dir/debian/patches/series" ] || return 0
  while read -r p _; do
    case "$p" in ''|'#'*) continue ;; esac
    patch -d "$dir" -p1 -N -s < "$dir/debian/patches/$p"
  done < "$dir/debian/patches/series"
}

# Unpacks source package $1 into $SRC/$1/tree and sets NOTE to what was used.
# apt-get source is the normal path. The archive mirror here does not serve
# every file of every version, so when it fails the tree is assembled from
# the upstream tarball plus the newest Debian packaging of the same upstream
# version that can be had; failing that, the upstream tarball alone.
fetch_source() {
  local pkg=$1 ver=$2 dir="$SRC/$1" upstream v orig deb
  rm -rf "$dir"
  mkdir -p "$dir"
  NOTE="$pkg $ver"
  if (cd "$dir" && apt-get source -qq "$pkg=$ver" > /dev/null 2>&1); then
    local unpacked=("$dir"/*/)
    mv "${unpacked[0]}" "$dir/tree"
    return 0
  fi
  log "$pkg: apt-get source $pkg=$ver failed, assembling it from the files the archive serves"
  upstream=${ver#*:}
  upstream=${upstream%-*}
  (cd "$dir" && download_available "$pkg" "$ver")
  orig=$(ls "$dir"/*_"$upstream".orig.tar.* 2>/dev/null | head -1 || true)
  if [ -z "$orig" ]; then
    log "$pkg: no upstream tarball for $upstream can be fetched"
    return 1
  fi
  mkdir "$dir/tree"
  tar -xf "$orig" -C "$dir/tree" --strip-components=1
  for v in $(source_versions "$pkg"); do
    case "$v" in *"$upstream"-*) ;; *) continue ;; esac
    [ "$v" = "$ver" ] || (cd "$dir" && download_available "$pkg" "$v")
    deb=$(ls "$dir"/*_"${v#*:}".debian.tar.* "$dir"/*_"${v#*:}".diff.gz 2>/dev/null | head -1 || true)
    [ -n "$deb" ] || continue
    case "$deb" in
      *.diff.gz) zcat "$deb" | patch -d "$dir/tree" -p1 -s ;;
      *) tar -xf "$deb" -C "$dir/tree"; apply_series "$dir/tree" ;;
    esac
    NOTE="$pkg $ver built from the upstream tarball with the Debian packaging of $v"
    return 0
  done
  NOTE="$pkg $ver built from the upstream tarball without Debian's patches (not served)"
}

# Runs "build_<name>" when the candidate source version differs from the one
# recorded in the stamp; the stamp's first line is that version, the second
# says what was actually built.
build_pkg() {
  local pkg=$1 fn=$2 ver stamp="$STAMPS/$1"
  ver=$(source_versions "$pkg")
  ver=${ver%%$'\n'*}
  if [ -z "$ver" ]; then
    log "$pkg: apt knows no source package of that name"
    FAILED+=("$pkg")
    return 0
  fi
  if [ -f "$stamp" ] && [ "$(head -1 "$stamp")" = "$ver" ]; then
    log "$pkg $ver: up to date"
    return 0
  fi
  log "$pkg $ver: building"
  if ! fetch_source "$pkg" "$ver"; then
    FAILED+=("$pkg")
    return 0
  fi
  rm -rf "$WIN/build/$pkg"
  mkdir -p "$WIN/build/$pkg"
  # Started in the background and waited for, so that set -e still stops the
  # build at its first failing step (it would not inside an "if").
  (cd "$SRC/$pkg/tree" && "$fn" "$SRC/$pkg/tree" "$WIN/build/$pkg") > "$WIN/build/$pkg.log" 2>&1 &
  if ! wait $!; then
    log "$pkg: build failed, see $WIN/build/$pkg.log"
    tail -20 "$WIN/build/$pkg.log" >&2
    FAILED+=("$pkg")
    return 0
  fi
  mkdir -p "$STAMPS"
  printf '%s\n%s\n' "$ver" "$NOTE" > "$stamp"
  log "$NOTE: installed"
}

cmake_build() {
  local src=$1 build=$2
  shift 2
  cmake -G Ninja -S "$src" -B "$build" \
    -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw-w64.cmake" \
    -DWIN_DEPS_PREFIX="$PREFIX" \
    -DCMAKE_INSTALL_PREFIX="$PREFIX" \
    -DCMAKE_BUILD_TYPE=Release \
    -DBUILD_SHARED_LIBS=OFF "$@"
  "${NICE[@]}" ninja -C "$build" -j"$JOBS"
  ninja -C "$build" install
}

build_libjpeg_turbo() {
  # SIMD kept: nasm is in Debian and the decoder is twice as fast with it.
  cmake_build "$1" "$2" -DENABLE_SHARED=OFF -DENABLE_STATIC=ON \
    -DWITH_TURBOJPEG=OFF -DREQUIRE_SIMD=ON -DCMAKE_ASM_NASM_COMPILER=nasm
}

build_libpng() {
  cmake_build "$1" "$2" -DPNG_SHARED=OFF -DPNG_STATIC=ON -DPNG_TESTS=OFF \
    -DPNG_EXECUTABLES=OFF -DSKIP_INSTALL_PROGRAMS=ON
}

# giflib ships only a Unix Makefile that builds a shared library; the library
# is eight C files, so they are compiled directly.
build_giflib() {
  local src=$1 build=$2 f
  for f in dgif_lib egif_lib gifalloc gif_err gif_font gif_hash openbsd-reallocarray quantize; do
    "${NICE[@]}" "$CC_WIN" -O2 -Wall -c "$src/$f.c" -o "$build/$f.o"
  done
  rm -f "$build/libgif.a"
  "$HOST-ar" rcs "$build/libgif.a" "$build"/*.o
  install -D -m 644 "$build/libgif.a" "$PREFIX/lib/libgif.a"
  install -D -m 644 "$src/gif_lib.h" "$PREFIX/include/gif_lib.h"
}

build_pixman() {
  local src=$1 build=$2 cross="$2/cross.ini"
  cat > "$cross" <<INI
[binaries]
c = '$CC_WIN'
cpp = '$CXX_WIN'
ar = '$HOST-gcc-ar-posix'
strip = '$HOST-strip'
windres = '$HOST-windres'
pkgconfig = 'pkg-config'

[properties]
pkg_config_libdir = ['$PREFIX/lib/pkgconfig', '/usr/$HOST/lib/pkgconfig']

[host_machine]
system = 'windows'
cpu_family = 'x86_64'
cpu = 'x86_64'
endian = 'little'
INI
  meson setup "$build/b" "$src" --cross-file "$cross" --prefix "$PREFIX" \
    --libdir lib --buildtype release -Ddefault_library=static \
    -Dtests=disabled -Dgtk=disabled -Dlibpng=disabled -Dopenmp=disabled
  "${NICE[@]}" ninja -C "$build/b" -j"$JOBS"
  meson install -C "$build/b" --no-rebuild
}

build_sdl2() {
  cmake_build "$1" "$2" -DSDL_SHARED=OFF -DSDL_STATIC=ON -DSDL_TEST=OFF
}

# Ogg/Vorbis, MP3 and FLAC through the single-file decoders the source
# carries (stb_vorbis, dr_mp3, dr_flac): no further libraries to cross-build.
build_sdl2_mixer() {
  cmake_build "$1" "$2" -DSDL2MIXER_VENDORED=OFF -DSDL2MIXER_SAMPLES=OFF \
    -DSDL2MIXER_DEPS_SHARED=OFF \
    -DSDL2MIXER_VORBIS=STB -DSDL2MIXER_OPUS=OFF \
    -DSDL2MIXER_MP3=ON -DSDL2MIXER_MP3_DRMP3=ON -DSDL2MIXER_MP3_MPG123=OFF \
    -DSDL2MIXER_FLAC=ON -DSDL2MIXER_FLAC_DRFLAC=ON -DSDL2MIXER_FLAC_LIBFLAC=OFF \
    -DSDL2MIXER_MOD=OFF -DSDL2MIXER_MIDI=OFF
  write_sdl2_mixer_pc "$1"
}

# SDL2_mixer's CMake writes a .pc file only for a shared build, and users of
# the library find it through pkg-config.
write_sdl2_mixer_pc() {
  local h="$1/include/SDL_mixer.h" major minor patch
  major=$(sed -n 's/^#define SDL_MIXER_MAJOR_VERSION *//p' "$h")
  minor=$(sed -n 's/^#define SDL_MIXER_MINOR_VERSION *//p' "$h")
  patch=$(sed -n 's/^#define SDL_MIXER_PATCHLEVEL *//p' "$h")
  cat > "$PREFIX/lib/pkgconfig/SDL2_mixer.pc" <<PC
prefix=$PREFIX
libdir=\${prefix}/lib
includedir=\${prefix}/include

Name: SDL2_mixer
Description: mixer library for Simple DirectMedia Layer
Version: $major.$minor.$patch
Requires: sdl2
Libs: -L\${libdir} -lSDL2_mixer
Cflags: -I\${includedir}/SDL2
PC
}

# FLTK's header and function probes run without the prefix's include folder
# and libraries, so on their own they miss the libpng built above; its
# answers are given instead (png.h at the top, libpng 1.6 has both calls).
build_fltk() {
  cmake_build "$1" "$2" -DOPTION_BUILD_SHARED_LIBS=OFF -DFLTK_BUILD_TEST=OFF \
    -DFLTK_BUILD_EXAMPLES=OFF -DOPTION_BUILD_HTML_DOCUMENTATION=OFF \
    -DOPTION_BUILD_PDF_DOCUMENTATION=OFF -DOPTION_USE_GL=OFF \
    -DOPTION_USE_SYSTEM_ZLIB=ON -DOPTION_USE_SYSTEM_LIBJPEG=ON \
    -DOPTION_USE_SYSTEM_LIBPNG=ON -DHAVE_PNG_H=1 -DHAVE_PNG_GET_VALID=1 \
    -DHAVE_PNG_SET_TRNS_TO_ALPHA=1
}

# FLTK from Debian's source package when the mirror serves it; otherwise from
# the upstream archive that KX_FLTK_SOURCE names (by default the project's
# copy in ../shared/third_party), checked against the SHA256SUMS beside it
# before use. The stamp's first line is the Debian version or the archive's
# name and checksum, so an unchanged source is not built again.
# A clone made elsewhere (a CI checkout in a temporary folder) looks beside
# the repository it was cloned from when that is a local folder.
fltk_archive_default() {
  local archive="$ROOT/../shared/third_party/fltk-1.3.8.tar.gz" origin
  if [ ! -f "$archive" ]; then
    origin=$(git -C "$ROOT" remote get-url origin 2> /dev/null || true)
    origin=${origin#file://}
    if [ -n "$origin" ] && [ -d "$origin" ] && [ -f "$origin/../shared/third_party/fltk-1.3.8.tar.gz" ]; then
      archive="$origin/../shared/third_party/fltk-1.3.8.tar.gz"
    fi
  fi
  echo "$archive"
}

fltk_archive_missing() {
  log "fltk1.3: $1"
  log "fltk1.3: the package mirror serves no FLTK source; put fltk-1.3.8.tar.gz with its line" \
    "in SHA256SUMS into ../shared/third_party/ (beside this repository or the one it was cloned" \
    "from), or point KX_FLTK_SOURCE" \
    "at an archive that has a SHA256SUMS file beside it"
  FAILED+=(fltk1.3)
}

build_fltk_pkg() {
  local ver stamp="$STAMPS/fltk1.3" archive sums name want have key t0
  ver=$(source_versions fltk1.3)
  ver=${ver%%$'\n'*}
  if [ -n "$ver" ] && [ -f "$stamp" ] && [ "$(head -1 "$stamp")" = "$ver" ]; then
    log "fltk1.3 $ver: up to date"
    return 0
  fi
  t0=$(date +%s)
  if [ -n "$ver" ] && fetch_source fltk1.3 "$ver"; then
    key=$ver
  else
    archive=${KX_FLTK_SOURCE:-$(fltk_archive_default)}
    if [ ! -f "$archive" ]; then
      fltk_archive_missing "no source archive at $archive"
      return 0
    fi
    archive=$(cd "$(dirname "$archive")" && pwd)/$(basename "$archive")
    name=$(basename "$archive")
    sums=$(dirname "$archive")/SHA256SUMS
    want=$(awk -v n="$name" '$2 == n || $2 == "*" n { print $1; exit }' "$sums" 2> /dev/null || true)
    if [ -z "$want" ]; then
      fltk_archive_missing "no checksum for $name in $sums"
      return 0
    fi
    have=$(sha256sum "$archive" | cut -d' ' -f1)
    if [ "$have" != "$want" ]; then
      fltk_archive_missing "$archive has checksum $have, SHA256SUMS says $want"
      return 0
    fi
    key="$name sha256:$have"
    if [ -f "$stamp" ] && [ "$(head -1 "$stamp")" = "$key" ]; then
      log "fltk1.3 from $name: up to date"
      return 0
    fi
    rm -rf "$SRC/fltk1.3"
    mkdir -p "$SRC/fltk1.3/tree"
    tar -xf "$archive" -C "$SRC/fltk1.3/tree" --strip-components=1
    NOTE="fltk1.3 built from $archive (the mirror serves no Debian source of it)"
  fi
  log "fltk1.3: building ($NOTE)"
  rm -rf "$WIN/build/fltk1.3"
  mkdir -p "$WIN/build/fltk1.3"
  (cd "$SRC/fltk1.3/tree" && build_fltk "$SRC/fltk1.3/tree" "$WIN/build/fltk1.3") > "$WIN/build/fltk1.3.log" 2>&1 &
  if ! wait $!; then
    log "fltk1.3: build failed, see $WIN/build/fltk1.3.log"
    tail -20 "$WIN/build/fltk1.3.log" >&2
    FAILED+=(fltk1.3)
    return 0
  fi
  mkdir -p "$STAMPS"
  printf '%s\n%s\n' "$key" "$NOTE" > "$stamp"
  log "$NOTE: installed in $(($(date +%s) - t0)) s"
}

# GoogleTest from the machine's own source package (googletest puts it in
# /usr/src/googletest), stamped with that package's version.
build_googletest() {
  local ver stamp="$STAMPS/googletest" build="$WIN/build/googletest"
  ver=$(dpkg-query -W -f='${Version}' googletest)
  if [ -f "$stamp" ] && [ "$(head -1 "$stamp")" = "$ver" ]; then
    log "googletest $ver: up to date"
    return 0
  fi
  log "googletest $ver: building"
  rm -rf "$build"
  mkdir -p "$build"
  (cmake_build /usr/src/googletest "$build" -DBUILD_GMOCK=OFF -DINSTALL_GTEST=ON \
    -Dgtest_force_shared_crt=OFF) > "$build.log" 2>&1 &
  if ! wait $!; then
    log "googletest: build failed, see $build.log"
    tail -20 "$build.log" >&2
    FAILED+=(googletest)
    return 0
  fi
  mkdir -p "$STAMPS"
  printf '%s\n%s\n' "$ver" "googletest $ver from /usr/src/googletest" > "$stamp"
  log "googletest $ver: installed"
}

build_all() {
  FAILED=()
  mkdir -p "$SRC" "$PREFIX"
  build_pkg libjpeg-turbo build_libjpeg_turbo
  build_pkg libpng1.6 build_libpng
  build_pkg giflib build_giflib
  build_pkg pixman build_pixman
  build_pkg libsdl2 build_sdl2
  build_pkg libsdl2-mixer build_sdl2_mixer
  build_fltk_pkg
  build_googletest
}

# wine64 is not on PATH in Debian 12; its loader lives under /usr/lib/wine.
find_wine() {
  WINE=$(command -v wine64 || echo /usr/lib/wine/wine64)
  WINESERVER=$(command -v wineserver || echo /usr/lib/wine/wineserver)
}

smoke_cleanup() {
  if [ -n "${XVFB_PID:-}" ]; then
    WINEPREFIX="$WIN/wineprefix" "$WINESERVER" -k 2> /dev/null || true
    kill "$XVFB_PID" 2> /dev/null || true
    wait "$XVFB_PID" 2> /dev/null || true
    XVFB_PID=
  fi
}

# Xvfb picks a free display itself and writes its number to fd 3.
start_xvfb() {
  local out="$WIN/xvfb.display" i
  rm -f "$out"
  Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3> "$out" 2> "$WIN/xvfb.log" &
  XVFB_PID=$!
  trap smoke_cleanup EXIT
  for i in $(seq 100); do
    [ -s "$out" ] && break
    sleep 0.1
  done
  [ -s "$out" ] || { log "Xvfb did not start, see $WIN/xvfb.log"; return 1; }
  export DISPLAY=":$(head -1 "$out")"
}

smoke() {
  local build="$WIN/smoke" exe out dlls
  # Configured afresh: a cache from an older toolchain file could keep stale
  # library paths.
  rm -rf "$build"
  cmake -G Ninja -S "$ROOT/scripts/windows" -B "$build" \
    -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw-w64.cmake" \
    -DWIN_DEPS_PREFIX="$PREFIX" -DCMAKE_BUILD_TYPE=Release > "$build.log" 2>&1 ||
    { tail -30 "$build.log" >&2; return 1; }
  "${NICE[@]}" ninja -C "$build" -j"$JOBS" >> "$build.log" 2>&1 ||
    { tail -30 "$build.log" >&2; return 1; }
  exe="$build/smoke.exe"
  echo "smoke.exe: $(stat -c %s "$exe") bytes"
  dlls=$("$HOST-objdump" -p "$exe" | sed -n 's/.*DLL Name: //p' | sort -f)
  echo "imports: $(echo $dlls)"
  # Only DLLs that every Windows installation has; a mingw runtime DLL here
  # would mean the program does not run on its own.
  local system='(kernel32|user32|gdi32|advapi32|shell32|ole32|oleaut32|imm32|winmm|version|setupapi|comctl32|comdlg32|ws2_32|gdiplus|msvcrt|ucrtbase|api-ms-win-.*|cfgmgr32|hid|dinput8|shlwapi)\.dll|winspool\.drv'
  if grep -viqE "^($system)\$" <<< "$dlls"; then
    log "smoke.exe imports a DLL that Windows does not ship"
    return 1
  fi

  find_wine
  start_xvfb
  # Wine keeps its server socket under TMPDIR; inside build-win it is removed
  # with everything else.
  mkdir -p "$WIN/tmp"
  export WINEPREFIX="$WIN/wineprefix" WINEDEBUG=-all TMPDIR="$WIN/tmp"
  # No Mono/Gecko installer prompts and no desktop menu entries in $HOME; no
  # ALSA or PulseAudio driver either, as the build machine has no sound card
  # and they only print errors (the program falls back to SDL's dummy audio).
  export WINEDLLOVERRIDES="mscoree,mshtml,winemenubuilder.exe,winealsa.drv,winepulse.drv=d"
  out=$(timeout 300 "$WINE" "$exe" 2>&1) || true
  echo "$out"
  smoke_cleanup
  trap - EXIT
  if [ "$(grep -c ': ok ' <<< "$out")" -ne 8 ] || ! grep -qx '0 failed\r\?' <<< "$out"; then
    log "smoke test failed"
    return 1
  fi
  log "smoke test passed under Wine"
}

# The player and the unit suites, cross-built into build-win/w64.
cross_build() {
  local build="$WIN/w64" log="$WIN/w64.log" t0 t1
  t0=$(date +%s)
  cmake -G Ninja -S "$ROOT" -B "$build" \
    -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw-w64.cmake" \
    -DWIN_DEPS_PREFIX="$PREFIX" -DCMAKE_BUILD_TYPE=Release \
    -DKX_TESTS=ON -DKX_SANITIZE=OFF > "$log" 2>&1 ||
    { tail -30 "$log" >&2; return 1; }
  "${NICE[@]}" ninja -C "$build" -j"$JOBS" >> "$log" 2>&1 ||
    { grep -B2 -A12 -m5 'error' "$log" >&2 || tail -30 "$log" >&2; return 1; }
  t1=$(date +%s)
  echo "cross-built in $((t1 - t0)) s: $build/kxcsaver.exe ($(stat -c %s "$build/kxcsaver.exe") bytes), $build/kxtool.exe"
  # The demo as a Windows screensaver, packed by the Linux kxtool when one
  # is built (scripts/demo.sh builds it).
  if [ -x "$ROOT/build/kxtool" ]; then
    "$ROOT/build/kxtool" pack "$ROOT/demo" -o "$WIN/Demo.scr" --player "$build/kxcsaver.exe" > /dev/null &&
      echo "packed: $WIN/Demo.scr"
  else
    echo "pack a screensaver with: build/kxtool pack DIR -o NAME.scr --player $build/kxcsaver.exe"
  fi
}

wine_tests() {
  KX_WINDOWS_TESTS=1 bash "$ROOT/tests/windows/wine_suites.sh" "$WIN/w64" "$WIN/wineprefix"
}

main() {
  require_root
  install_tools
  build_all
  if [ "${1:-}" = smoke ] && ! smoke; then
    FAILED+=(smoke)
  fi
  if [ "${1:-}" = build ] || [ "${1:-}" = tests ]; then
    if [ ${#FAILED[@]} -eq 0 ] && ! cross_build; then
      FAILED+=(cross-build)
    elif [ ${#FAILED[@]} -eq 0 ] && [ "${1:-}" = tests ] && ! wine_tests; then
      FAILED+=(tests)
    fi
  fi
  if [ ${#FAILED[@]} -gt 0 ]; then
    log "not built: ${FAILED[*]}"
    exit 1
  fi
}

main "$@"
