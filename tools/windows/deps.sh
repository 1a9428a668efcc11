#!/usr/bin/env bash
# Builds the platform libraries of the Windows build (GLFW, libsndfile, OpenAL Soft, libepoxy and
# stb_image) with the MinGW-w64 cross compiler, from Debian's source packages, into a prefix
# outside the source tree (default ~/.cache/halvex-windows-deps, or $HALVEX_WINDOWS_DEPS).
# A library already in the prefix is kept, so a second run costs nothing.
#
# The sources come through apt from the archive this machine is already configured for: its
# entries are copied as source entries into a private apt configuration in the prefix, so the
# machine's own apt setup is left as it was. Only each package's original (upstream) tarball is
# used: some Debian parts do not download. OpenAL Soft comes from the next release's index, as
# bookworm's source package does not download.
set -euo pipefail

prefix=${HALVEX_WINDOWS_DEPS:-$HOME/.cache/halvex-windows-deps}
host=x86_64-w64-mingw32
jobs=${JOBS:-2}
here=$(cd "$(dirname "$0")" && pwd)
mkdir -p "$prefix"
prefix=$(cd "$prefix" && pwd)
work=$prefix/work
apt_dir=$prefix/apt
mkdir -p "$work" "$apt_dir/lists/partial" "$apt_dir/archives/partial" "$apt_dir/sources.list.d"

log() { echo "windows-deps: $*" >&2; }
stamp() { [ -f "$prefix/.done-$1" ]; }
done_stamp() { touch "$prefix/.done-$1"; }

# Source entries for every archive the machine's own (binary) entries name, in deb822 form,
# for the given suites.
write_source_entries() {
    local out=$apt_dir/sources.list.d/halvex.sources
    : > "$out"
    local uri
    for uri in $(machine_archive_uris); do
        printf 'Types: deb-src\nURIs: %s\nSuites: %s\nComponents: main\nSigned-By: /usr/share/keyrings/debian-archive-keyring.gpg\n\n' \
            "$uri" "$*" >> "$out"
    done
    [ -s "$out" ] || { log "no Debian archive found in the machine's apt sources"; exit 1; }
}

# The Debian archive URIs the machine is configured with (deb822 .sources and one-line .list
# files), without the security archive, whose suites differ.
machine_archive_uris() {
    {
        cat /etc/apt/sources.list.d/*.sources 2>/dev/null | awk '/^URIs:/ {for (i = 2; i <= NF; i++) print $i}'
        cat /etc/apt/sources.list /etc/apt/sources.list.d/*.list 2>/dev/null |
            awk '$1 == "deb" { for (i = 2; i <= NF; i++) if ($i !~ /^\[/ && $i !~ /\]$/) { print $i; break } }'
    } | grep -v -- '-security' | grep -E '/debian/?$' | sort -u
}

apt_opts=(
    -o "Dir::Etc::SourceList=/dev/null"
    -o "Dir::Etc::SourceParts=$apt_dir/sources.list.d"
    -o "Dir::State::Lists=$apt_dir/lists"
    -o "Dir::Cache::Archives=$apt_dir/archives"
    -o "Dir::Cache::pkgcache=" -o "Dir::Cache::srcpkgcache="
    -o "APT::Get::List-Cleanup=0"
    -o "APT::Sandbox::User=root"
)

# Once a run (the callers are in subshells, so a file marks it).
apt_update() {
    local marker=$apt_dir/updated.$$
    [ -f "$marker" ] && return
    write_source_entries bookworm trixie
    log "reading the source indexes"
    apt-get "${apt_opts[@]}" update -qq
    rm -f "$apt_dir"/updated.*
    touch "$marker"
}

# fetch_source PACKAGE SUITE: unpacks the upstream source of PACKAGE from SUITE's index into
# $work/PACKAGE and prints that folder. Only the original tarball is needed: the builds here
# are plain upstream builds, with none of Debian's packaging.
fetch_source() {
    local package=$1 suite=$2 folder=$work/$1
    if [ ! -d "$folder/src" ]; then
        apt_update
        local version
        version=$(apt-get "${apt_opts[@]}" source --print-uris -t "$suite" "$package/$suite" 2>/dev/null |
            awk '/\.dsc/ {print $2}' | sed -E "s/^${package}_//; s/\.dsc$//")
        [ -n "$version" ] || { log "no source of $package in $suite"; exit 1; }
        log "downloading $package $version"
        rm -rf "$folder" && mkdir -p "$folder"
        # The Debian part does not always download; the original tarball is what counts.
        (cd "$folder" && apt-get "${apt_opts[@]}" source --download-only "$package/$suite" >/dev/null 2>&1) || true
        local tarball
        tarball=$(ls "$folder"/"${package}"_*.orig.tar.* 2>/dev/null | grep -v '\.asc$' | head -1)
        [ -n "$tarball" ] || { log "the original tarball of $package did not download"; exit 1; }
        mkdir -p "$folder/src"
        tar -xf "$tarball" -C "$folder/src" --strip-components=1
    fi
    echo "$folder/src"
}

cmake_cross() {
    local source=$1 build=$2
    shift 2
    cmake -S "$source" -B "$build" -G Ninja \
        -DCMAKE_TOOLCHAIN_FILE="$here/../../cmake/MinGW-w64.cmake" \
        -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$prefix" \
        -DCMAKE_PREFIX_PATH="$prefix" -DBUILD_SHARED_LIBS=ON "$@" >/dev/null
    cmake --build "$build" -j"$jobs" >/dev/null
    cmake --install "$build" >/dev/null
}

build_glfw() {
    stamp glfw && return
    local src
    src=$(fetch_source glfw3 bookworm)
    log "building GLFW"
    cmake_cross "$src" "$work/glfw3/build" -DGLFW_BUILD_EXAMPLES=OFF -DGLFW_BUILD_TESTS=OFF \
        -DGLFW_BUILD_DOCS=OFF
    # Its pkg-config file names -lglfw3, but the DLL's import library is libglfw3dll.a.
    cp "$prefix/lib/libglfw3dll.a" "$prefix/lib/libglfw3.dll.a"
    done_stamp glfw
}

build_sndfile() {
    stamp sndfile && return
    local src
    src=$(fetch_source libsndfile bookworm)
    log "building libsndfile"
    # The sound banks are WAV files: no external codecs, no programs.
    cmake_cross "$src" "$work/libsndfile/build" -DENABLE_EXTERNAL_LIBS=OFF -DENABLE_MPEG=OFF \
        -DBUILD_PROGRAMS=OFF -DBUILD_EXAMPLES=OFF -DBUILD_TESTING=OFF -DENABLE_CPACK=OFF \
        -DINSTALL_MANPAGES=OFF -DENABLE_PACKAGE_CONFIG=ON
    done_stamp sndfile
}

build_openal() {
    stamp openal && return
    local src
    src=$(fetch_source openal-soft trixie)
    log "building OpenAL Soft"
    cmake_cross "$src" "$work/openal-soft/build" -DALSOFT_UTILS=OFF -DALSOFT_EXAMPLES=OFF \
        -DALSOFT_TESTS=OFF -DALSOFT_INSTALL_CONFIG=OFF -DALSOFT_INSTALL_HRTF_DATA=OFF \
        -DALSOFT_INSTALL_AMBDEC_PRESETS=OFF -DALSOFT_INSTALL_EXAMPLES=OFF \
        -DALSOFT_INSTALL_UTILS=OFF -DALSOFT_EMBED_HRTF_DATA=OFF
    done_stamp openal
}

build_epoxy() {
    stamp epoxy && return
    local src
    src=$(fetch_source libepoxy bookworm)
    log "building libepoxy"
    cat > "$work/meson-cross.ini" <<INI
[binaries]
c = '$host-gcc-posix'
cpp = '$host-g++-posix'
ar = '$host-ar'
strip = '$host-strip'
windres = '$host-windres'
pkg-config = 'pkg-config'

[host_machine]
system = 'windows'
cpu_family = 'x86_64'
cpu = 'x86_64'
endian = 'little'
INI
    rm -rf "$work/libepoxy/build"
    meson setup "$work/libepoxy/build" "$src" --cross-file "$work/meson-cross.ini" \
        --prefix "$prefix" --libdir lib --buildtype release -Dtests=false -Ddocs=false \
        -Degl=no -Dglx=no -Dx11=false >/dev/null
    ninja -C "$work/libepoxy/build" -j"$jobs" >/dev/null
    ninja -C "$work/libepoxy/build" install >/dev/null
    done_stamp epoxy
}

# stb_image is a header with its implementation behind a macro: Debian's libstb-dev headers,
# compiled once here into a static library with the pkg-config file the build looks for.
build_stb() {
    stamp stb && return
    [ -f /usr/include/stb/stb_image.h ] || { log "libstb-dev is not installed"; exit 1; }
    log "building stb_image"
    mkdir -p "$prefix/include/stb" "$prefix/lib/pkgconfig" "$work/stb"
    cp /usr/include/stb/*.h "$prefix/include/stb/"
    printf '#define STB_IMAGE_IMPLEMENTATION\n#include <stb_image.h>\n' > "$work/stb/stb_image.c"
    "$host-gcc-posix" -O2 -I"$prefix/include/stb" -c "$work/stb/stb_image.c" -o "$work/stb/stb_image.o"
    rm -f "$prefix/lib/libstb.a"
    "$host-ar" rcs "$prefix/lib/libstb.a" "$work/stb/stb_image.o"
    cat > "$prefix/lib/pkgconfig/stb.pc" <<PC
prefix=$prefix
Name: stb
Description: stb headers, with stb_image compiled
Version: 0.0
Libs: -L\${prefix}/lib -lstb
Cflags: -I\${prefix}/include/stb
PC
    done_stamp stb
}

# JSON and glm are headers only: Debian's copies, with their package configurations, go into the
# prefix, as the build machine's include folder must not reach the cross compiler.
copy_header_libraries() {
    stamp headers && return
    local name
    for name in nlohmann glm; do
        [ -d /usr/include/$name ] || { log "/usr/include/$name is missing: run tools/setup.sh"; exit 1; }
        rm -rf "$prefix/include/$name" && cp -r /usr/include/$name "$prefix/include/"
    done
    mkdir -p "$prefix/share/cmake"
    for name in nlohmann_json glm; do
        rm -rf "$prefix/share/cmake/$name" && cp -r /usr/share/cmake/$name "$prefix/share/cmake/"
    done
    done_stamp headers
}

command -v "$host-g++-posix" >/dev/null || { log "the cross compiler is missing: run tools/windows/setup.sh"; exit 1; }
mkdir -p "$prefix/include"
copy_header_libraries
build_stb
build_glfw
build_sndfile
build_epoxy
build_openal
log "ready in $prefix"
