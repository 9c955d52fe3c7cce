#!/usr/bin/env bash
# Cross-builds, from Debian 12's own source packages, every library the Windows
# build of Orvella links, into one prefix for x86_64-w64-mingw32:
#
#   Qt 6.4.2 (qtbase), OpenSSL 3.0, SQLCipher 3.4.1, libjpeg-turbo 2.1.5,
#   libpq 15, GLib 2.74 (with pcre2, libffi and a libintl stub) and libmdb 1.0.1.
#
# The prefix lives in a cache outside the checkout, in a folder named after a
# hash of the recipe (this file, the toolchain file and the patches beside
# them), so a change to the recipe builds a fresh prefix and an unchanged
# recipe finds the finished one at once. The prefix's path is the last line
# printed on standard output; progress goes to standard error:
#
#   prefix=$(bash packaging/windows/deps.sh | tail -n1)
#   cmake -DCMAKE_TOOLCHAIN_FILE=packaging/windows/mingw-w64-x86_64.cmake \
#         -DORVELLA_WINDOWS_PREFIX="$prefix" ...
#
# ORVELLA_WINDOWS_CACHE   cache root (default ${XDG_CACHE_HOME:-~/.cache}/orvella-windows)
# ORVELLA_WINDOWS_JOBS    parallel compile jobs (default 2)
# ORVELLA_WINDOWS_HASH    use this folder name instead of the recipe's hash, for
#                         work on the recipe itself without starting over at each edit
# ORVELLA_WINDOWS_NO_SMOKE=1  stamp without running smoke.sh (not for CI)
#
# deps.sh LIBRARY...  builds only those (openssl sqlcipher libjpeg_turbo libpq
#                     pcre2 libffi intl glib mdbtools qt) and does not stamp.
# deps.sh --host-only installs what the host needs (the cross compilers, Wine,
#                     the source indexes) and builds nothing.
set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
triplet=x86_64-w64-mingw32
jobs=${ORVELLA_WINDOWS_JOBS:-2}
# Builds share the machine with others' compiles: stay polite.
nice=(nice -n 5)

# Source packages, pinned to what bookworm (the point release, not -security,
# whose older versions vanish as soon as a newer one lands) serves. mdbtools is
# trixie's: bookworm's 1.0.0 source is no longer served.
declare -A version=(
    [qt6-base]=6.4.2+dfsg-10
    [openssl]=3.0.20-1~deb12u2
    [sqlcipher]=3.4.1-2
    [libjpeg-turbo]=1:2.1.5-2
    [postgresql-15]=15.18-0+deb12u1
    [pcre2]=10.42-1
    [libffi]=3.4.4-1
    [glib2.0]=2.74.6-2+deb12u9
    [mdbtools]=1.0.1-0.1
)

host_packages=(
    g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
    mingw-w64-tools libz-mingw-w64-dev libz-mingw-w64
    qt6-base-dev qt6-base-dev-tools
    cmake ninja-build meson pkgconf make perl nasm tcl libssl-dev dpkg-dev xz-utils
    bison flex autoconf automake libtool gettext
    wine64 sqlcipher poppler-utils fonts-dejavu-core
)

say() { printf '%s\n' "$*" >&2; }
die() { say "deps.sh: $*"; exit 1; }

recipe_hash() {
    (cd "$here" && find . -maxdepth 2 \( -name deps.sh -o -name 'mingw-w64-x86_64.cmake' -o -name '*.patch' \) -print \
        | LC_ALL=C sort | while read -r f; do printf '%s\n' "$f"; cat "$f"; done) | sha256sum | cut -c1-12
}

cache=${ORVELLA_WINDOWS_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/orvella-windows}
hash=${ORVELLA_WINDOWS_HASH:-$(recipe_hash)}
top=$cache/$hash
prefix=$top/prefix
work=$top/work
logs=$top/logs
sources=$cache/sources        # downloads, by version: shared by every recipe
stamp=$prefix/.orvella-deps-complete

as_root=()
[ "$(id -u)" -eq 0 ] || as_root=(sudo)
export DEBIAN_FRONTEND=noninteractive

# ---------------------------------------------------------------- host side

# The host's apt logs, kept beside the prefixes (the prefix's own folder may not exist yet).
host_logs=$cache/host-logs
mkdir -p "$host_logs"
apt_updated=
apt_update() {
    [ -n "$apt_updated" ] && return
    say "apt-get update"
    "${as_root[@]}" apt-get update -q >"$host_logs/apt-update.log" 2>&1 || { tail -n 20 "$host_logs/apt-update.log" >&2; die "apt-get update failed"; }
    apt_updated=1
}

missing=()
for p in "${host_packages[@]}"; do
    dpkg-query -W -f='${Status}\n' "$p" 2>/dev/null | grep -q '^install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
    apt_update
    say "installing on the host: ${missing[*]}"
    "${as_root[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}" >"$host_logs/apt-install.log" 2>&1 \
        || { tail -n 30 "$host_logs/apt-install.log" >&2; die "apt-get install failed"; }
fi

# Source indexes only: nothing is ever installed from trixie.
src_list=/etc/apt/sources.list.d/orvella-windows-src.sources
src_entries='Types: deb-src
URIs: http://deb.debian.org/debian
Suites: bookworm bookworm-updates
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg

Types: deb-src
URIs: http://deb.debian.org/debian-security
Suites: bookworm-security
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg

Types: deb-src
URIs: http://deb.debian.org/debian
Suites: trixie
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg'
if [ "$(cat "$src_list" 2>/dev/null)" != "$src_entries" ]; then
    say "adding Debian source indexes ($src_list)"
    printf '%s\n' "$src_entries" | "${as_root[@]}" tee "$src_list" >/dev/null
    apt_updated=
    apt_update
fi

# Fetches NAME at its pinned version into $sources (once) and unpacks it into
# $2 with Debian's patches applied.
fetch_unpack() {
    local name=$1 dest=$2 v=${version[$1]}
    local upstream=${v#*:}; upstream=${upstream%-*}
    local base=${name}_${upstream}
    local dir=$sources/$name-$v
    if [ ! -f "$dir/.fetched" ]; then
        local served
        served=$(apt-cache showsrc "$name" 2>/dev/null | sed -n 's/^Version: //p')
        if ! grep -qxF "$v" <<<"$served"; then
            apt_update
            served=$(apt-cache showsrc "$name" 2>/dev/null | sed -n 's/^Version: //p')
            grep -qxF "$v" <<<"$served" \
                || die "$name $v is not served any more (served: $(echo $served)); pin another version"
        fi
        rm -rf "$dir"; mkdir -p "$dir"
        # mdbtools' .dsc answers 404 while its tarballs are served (and checked
        # against the signed index): keep going and look for the tarballs.
        (cd "$dir" && apt-get source -q --download-only "$name=$v") || true
        ls "$dir"/${base}.orig.tar.* >/dev/null 2>&1 || die "could not fetch $name $v"
        touch "$dir/.fetched"
    fi
    case "$dest" in /*) ;; *) dest=$PWD/$dest ;; esac
    rm -rf "$dest"
    if ls "$dir"/*.dsc >/dev/null 2>&1; then
        # From the download folder, so dpkg-source copies no tarball beside $dest.
        (cd "$dir" && dpkg-source --no-check -x ./*.dsc "$dest")
    else
        mkdir -p "$dest"
        tar -xf "$dir"/${base}.orig.tar.* -C "$dest" --strip-components=1
        tar -xf "$dir"/${name}_${v#*:}.debian.tar.* -C "$dest"
        if [ -f "$dest/debian/patches/series" ]; then
            grep -v '^#' "$dest/debian/patches/series" | while read -r patch _; do
                [ -n "$patch" ] && patch -d "$dest" -p1 <"$dest/debian/patches/$patch"
            done
        fi
    fi
}

# What the Windows build and its tests need on the host is there even when the
# libraries are (a warm cache on a new machine), so it is looked at first.
[ "${1:-}" = --host-only ] && exit 0

if [ -f "$stamp" ]; then
    say "Windows libraries: ready in $prefix"
    echo "$prefix"
    exit 0
fi

mkdir -p "$prefix" "$work" "$logs" "$sources"
# One build per prefix at a time; a second caller waits and then finds the stamp.
exec 9>"$top/.lock"
flock 9
if [ -f "$stamp" ]; then echo "$prefix"; exit 0; fi

# ---------------------------------------------------------------- one prefix

export PATH=/usr/bin:/bin:/usr/sbin:/sbin:$PATH
export PKG_CONFIG_LIBDIR=$prefix/lib/pkgconfig:/usr/$triplet/lib/pkgconfig
export PKG_CONFIG_PATH=
export ORVELLA_WINDOWS_PREFIX=$prefix
CC=$triplet-gcc-posix
CXX=$triplet-g++-posix
toolchain=$here/mingw-w64-x86_64.cmake
autotools_host=(--host=$triplet --build=x86_64-linux-gnu --prefix="$prefix")
cross_env=(CC=$CC CXX=$CXX AR=$triplet-ar RANLIB=$triplet-ranlib STRIP=$triplet-strip
           RC=$triplet-windres WINDRES=$triplet-windres NM=$triplet-nm
           CPPFLAGS="-I$prefix/include" LDFLAGS="-L$prefix/lib")

# Runs build_NAME with its output in logs/NAME.log, once: a stamp in work/
# marks a library done, so a failure late in the chain resumes there.
step() {
    local name=$1 done=$work/.done-$1 log=$logs/$1.log t
    if [ -f "$done" ]; then
        say "  $name: built before ($(cat "$done"))"
        return
    fi
    say "  $name: building (log: $log)"
    local TIMEFORMAT='%R %U %S'
    # Not inside an "if": bash ignores set -e in a subshell whose status is tested.
    local rc=0
    set +e
    # Each library builds in a folder of its own, new at every try.
    rm -rf "${work:?}/$name"
    mkdir -p "$work/$name"
    { time { ( set -euo pipefail; cd "$work/$name"; "build_$name" ) >"$log" 2>&1; } ; } 2>"$log.time"
    rc=$?
    set -e
    if [ "$rc" -ne 0 ]; then
        say "  $name: FAILED; the end of $log:"
        tail -n 40 "$log" >&2
        exit 1
    fi
    read -r wall user sys <"$log.time"
    local line
    line=$(awk -v w="$wall" -v u="$user" -v s="$sys" 'BEGIN { printf "wall %.0f s, user+sys %.0f s", w, u + s }')
    say "  $name: done, $line"
    printf '%s %s\n' "$name" "$line" >>"$logs/times.txt"
    echo "$line" >"$done"
}

# Relative prefixes in .pc files keep the prefix usable after it is moved.
relocatable_pc() {
    local f
    for f in "$prefix"/lib/pkgconfig/*.pc; do
        sed -i -e "s|^prefix=.*|prefix=\${pcfiledir}/../..|" -e "s|$prefix|\${prefix}|g" "$f"
    done
}

build_openssl() {
    fetch_unpack openssl openssl
    cd openssl
    # The mingw64 target makes libcrypto-3-x64.dll and libssl-3-x64.dll with
    # import libraries. build_libs leaves out the command-line tool and the
    # manuals (3.0 has no no-apps or no-docs yet); no-tests skips the tests.
    # What neither TLS to a PostgreSQL server nor SQLCipher's page cipher
    # (AES-256-CBC, HMAC-SHA1/SHA512, PBKDF2, RAND_bytes) uses is left out: a
    # third less to compile on a cold cache.
    ./Configure mingw64 shared no-tests --prefix="$prefix" --libdir=lib \
        no-legacy no-engine no-comp no-ssl3 no-dtls no-srtp no-sctp no-srp no-ts no-ocsp no-ct \
        no-cms no-rfc3779 no-aria no-bf no-camellia no-cast no-idea no-md4 no-mdc2 \
        no-rc2 no-rc4 no-rc5 no-seed no-sm2 no-sm3 no-sm4 no-whirlpool no-siphash \
        CC=$CC AR=$triplet-ar RANLIB=$triplet-ranlib RC=$triplet-windres
    "${nice[@]}" make -j"$jobs" build_libs
    make install_dev install_runtime_libs
    # Only the DLLs' import libraries: nothing links a second OpenSSL by accident.
    rm -f "$prefix/lib/libcrypto.a" "$prefix/lib/libssl.a"
}

# The same compile-time options as Debian's libsqlcipher0 (debian/rules and its
# configure flags --enable-threadsafe --enable-tempstore --enable-load-extension,
# OpenSSL's libcrypto as the crypto provider), so that a book moves between
# the Linux and the Windows program unchanged. smoke.sh compares the two
# builds' compile_options and cipher settings.
sqlcipher_defs=(
    -DSQLITE_SECURE_DELETE -DSQLITE_ENABLE_COLUMN_METADATA
    -DSQLITE_ENABLE_FTS3 -DSQLITE_ENABLE_RTREE=1 -DSQLITE_SOUNDEX=1
    -DSQLITE_ENABLE_UNLOCK_NOTIFY -DSQLITE_OMIT_LOOKASIDE=1
    -DSQLITE_ENABLE_UPDATE_DELETE_LIMIT=1 -DSQLITE_MAX_SCHEMA_RETRY=25
    -DSQLITE_HAS_CODEC -DHAVE_USLEEP=1
    -DSQLITE_THREADSAFE=1 -DSQLITE_TEMP_STORE=2 -DSQLCIPHER_CRYPTO_OPENSSL
    -DHAVE_ISNAN    # Debian's configure finds isnan; it shows in compile_options
)
build_sqlcipher() {
    fetch_unpack sqlcipher sqlcipher
    cd sqlcipher
    # The amalgamation is generated on the host (tclsh, lemon); the feature
    # flags go to the generator too, since the parser is built with them.
    ./configure --disable-tcl --enable-threadsafe --enable-tempstore --enable-load-extension \
        CFLAGS="-O2 ${sqlcipher_defs[*]}" LIBS=-lcrypto
    "${nice[@]}" make sqlite3.c
    "${nice[@]}" $CC -O2 -fno-strict-aliasing "${sqlcipher_defs[@]}" -I"$prefix/include" \
        -shared -o libsqlcipher-0.dll sqlite3.c \
        -Wl,--out-implib,libsqlcipher.dll.a -L"$prefix/lib" -lcrypto
    install -d "$prefix/bin" "$prefix/lib/pkgconfig" "$prefix/include/sqlcipher"
    install -m 644 libsqlcipher-0.dll "$prefix/bin/"
    install -m 644 libsqlcipher.dll.a "$prefix/lib/"
    install -m 644 sqlite3.h sqlite3ext.h "$prefix/include/sqlcipher/"
    # As Debian's sqlcipher.pc, so the program builds alike on both: no
    # SQLITE_HAS_CODEC in Cflags (a program that calls sqlite3_key defines
    # it), and <sqlite3.h> as well as <sqlcipher/sqlite3.h> found (Linux has
    # the second through /usr/include).
    cat >"$prefix/lib/pkgconfig/sqlcipher.pc" <<EOF
prefix=$prefix
libdir=\${prefix}/lib
includedir=\${prefix}/include

Name: SQLCipher
Description: SQL database engine (SQLCipher, Debian's compile-time options)
Version: ${version[sqlcipher]%-*}
Requires.private: libcrypto
Libs: -L\${libdir} -lsqlcipher
Cflags: -I\${includedir}/sqlcipher -I\${includedir}
EOF
}

build_libjpeg_turbo() {
    fetch_unpack libjpeg-turbo libjpeg-turbo
    cmake -S libjpeg-turbo -B libjpeg-turbo-build -G Ninja \
        -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_INSTALL_PREFIX="$prefix" \
        -DENABLE_SHARED=ON -DENABLE_STATIC=OFF -DWITH_TURBOJPEG=OFF -DWITH_JPEG8=OFF \
        -DCMAKE_ASM_NASM_COMPILER=nasm
    "${nice[@]}" cmake --build libjpeg-turbo-build -j"$jobs"
    cmake --install libjpeg-turbo-build
}

build_libpq() {
    fetch_unpack postgresql-15 postgresql
    cd postgresql
    # Only the client library: src/common and src/port are what it links.
    env "${cross_env[@]}" ./configure "${autotools_host[@]}" \
        --with-openssl --without-readline --without-zlib --without-icu --without-gssapi --without-ldap
    "${nice[@]}" make -j"$jobs" -C src/include
    "${nice[@]}" make -j"$jobs" -C src/common
    "${nice[@]}" make -j"$jobs" -C src/port
    "${nice[@]}" make -j"$jobs" -C src/interfaces/libpq
    make -C src/interfaces/libpq install
    install -m 644 src/include/postgres_ext.h src/include/pg_config_ext.h "$prefix/include/"
}

build_pcre2() {
    fetch_unpack pcre2 pcre2
    cd pcre2
    env "${cross_env[@]}" ./configure "${autotools_host[@]}" --enable-shared --disable-static \
        --disable-pcre2grep-jit --enable-jit=no
    "${nice[@]}" make -j"$jobs"
    make install
}

build_libffi() {
    fetch_unpack libffi libffi
    cd libffi
    env "${cross_env[@]}" ./configure "${autotools_host[@]}" --enable-shared --disable-static --disable-docs
    "${nice[@]}" make -j"$jobs"
    make install
}

# GLib wants gettext's libintl; Orvella never translates through GLib, so a
# library whose calls hand the text back as it came is enough.
build_intl() {
    mkdir -p intl && cd intl
    cat >libintl.h <<'EOF'
#ifndef ORVELLA_LIBINTL_STUB_H
#define ORVELLA_LIBINTL_STUB_H
/* Messages are never translated: every call returns the text it was given. */
#include <locale.h>
#ifndef LC_MESSAGES
/* What gettext's own header gives Windows, whose C library has no LC_MESSAGES. */
#define LC_MESSAGES 1729
#endif
/* As gettext's header does: the compiler checks a format passed through
   these against its arguments (GLib builds with -Werror=format=2). */
#define ORVELLA_FMT(n) __attribute__((format_arg(n)))
#ifdef __cplusplus
extern "C" {
#endif
char *gettext(const char *msgid) ORVELLA_FMT(1);
char *dgettext(const char *domain, const char *msgid) ORVELLA_FMT(2);
char *dcgettext(const char *domain, const char *msgid, int category) ORVELLA_FMT(2);
char *ngettext(const char *msgid, const char *plural, unsigned long n) ORVELLA_FMT(1) ORVELLA_FMT(2);
char *dngettext(const char *domain, const char *msgid, const char *plural, unsigned long n) ORVELLA_FMT(2) ORVELLA_FMT(3);
char *dcngettext(const char *domain, const char *msgid, const char *plural, unsigned long n, int category) ORVELLA_FMT(2) ORVELLA_FMT(3);
char *textdomain(const char *domain);
char *bindtextdomain(const char *domain, const char *dir);
char *bind_textdomain_codeset(const char *domain, const char *codeset);
#ifdef __cplusplus
}
#endif
#endif
EOF
    cat >intl.c <<'EOF'
#include "libintl.h"
char *gettext(const char *m) { return (char *)m; }
char *dgettext(const char *d, const char *m) { (void)d; return (char *)m; }
char *dcgettext(const char *d, const char *m, int c) { (void)d; (void)c; return (char *)m; }
char *ngettext(const char *m, const char *p, unsigned long n) { return (char *)(n == 1 ? m : p); }
char *dngettext(const char *d, const char *m, const char *p, unsigned long n) { (void)d; return (char *)(n == 1 ? m : p); }
char *dcngettext(const char *d, const char *m, const char *p, unsigned long n, int c) { (void)d; (void)c; return (char *)(n == 1 ? m : p); }
char *textdomain(const char *d) { return (char *)(d ? d : "messages"); }
char *bindtextdomain(const char *d, const char *dir) { (void)d; return (char *)dir; }
char *bind_textdomain_codeset(const char *d, const char *c) { (void)d; return (char *)c; }
EOF
    # A DLL, not a static library: libtool will not link a static library
    # into libmdb's DLL (it then builds libmdb static only).
    $CC -O2 -shared -o libintl-8.dll intl.c -Wl,--out-implib,libintl.dll.a
    install -d "$prefix/bin" "$prefix/lib" "$prefix/include"
    install -m 644 libintl.h "$prefix/include/"
    install -m 644 libintl.dll.a "$prefix/lib/"
    install -m 644 libintl-8.dll "$prefix/bin/"
}

meson_cross_file() {
    cat >meson-cross.ini <<EOF
[binaries]
c = '$CC'
cpp = '$CXX'
ar = '$triplet-ar'
strip = '$triplet-strip'
windres = '$triplet-windres'
pkgconfig = 'pkg-config'

[built-in options]
c_args = ['-I$prefix/include']
cpp_args = ['-I$prefix/include']
c_link_args = ['-L$prefix/lib']
cpp_link_args = ['-L$prefix/lib']

[properties]
pkg_config_libdir = '$PKG_CONFIG_LIBDIR'

[host_machine]
system = 'windows'
cpu_family = 'x86_64'
cpu = 'x86_64'
endian = 'little'
EOF
}

build_glib() {
    fetch_unpack glib2.0 glib
    meson_cross_file
    # Only the library libmdb links; no downloads of missing pieces.
    meson setup glib-build glib --cross-file meson-cross.ini --prefix="$prefix" --libdir=lib \
        --buildtype=release --wrap-mode=nodownload \
        -Dtests=false -Dinstalled_tests=false -Dman=false -Dgtk_doc=false \
        -Dlibmount=disabled -Dselinux=disabled -Dxattr=false -Dlibelf=disabled \
        -Ddtrace=false -Dsystemtap=false -Dsysprof=disabled -Dnls=disabled
    "${nice[@]}" ninja -C glib-build -j"$jobs"
    ninja -C glib-build install
    # gio links Debian's mingw zlib: keep its DLL with the others.
    install -m 644 /usr/$triplet/lib/zlib1.dll "$prefix/bin/"
}

build_mdbtools() {
    fetch_unpack mdbtools mdbtools
    cd mdbtools
    patch -p1 <"$here/patches/mdbtools-mingw.patch"
    autoreconf -fi
    # No --without-unixodbc: its configure takes "no" for a path and looks for
    # unixODBC all the same. Windows has no iconv: libmdb then converts text
    # through the C library's UTF-8 locale.
    env "${cross_env[@]}" ./configure "${autotools_host[@]}" --enable-shared --disable-static \
        --disable-man --disable-iconv
    "${nice[@]}" make -j"$jobs" -C include
    "${nice[@]}" make -j"$jobs" -C src/libmdb
    make -C include install
    make -C src/libmdb install
    install -m 644 libmdb.pc "$prefix/lib/pkgconfig/"
}

build_qt() {
    fetch_unpack qt6-base qtbase
    patch -d qtbase -p1 <"$here/patches/qtbase-no-direct2d.patch"
    # What Orvella uses: Core, Gui, Widgets, PrintSupport (through Windows'
    # print system) and Test; the windows and offscreen platforms; PNG and
    # JPEG. Moc, rcc and uic are Debian's on the host. dynamicgl stays on by
    # itself with opengl off, and 6.4.2's windows platform plugin then calls
    # OpenGL classes that are not there (QOpenGLStaticContext). Left out to
    # fit a cold CI run: the direct2d platform plugin (the windows one paints;
    # its DirectWrite font engine goes with it, and a patch keeps the print
    # engine from calling that engine) and the graphics view (Orvella has
    # none; Qt's print preview dialog goes with it, and Orvella's preview is
    # its own window).
    cmake -S qtbase -B qtbase-build -G Ninja \
        -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DORVELLA_WINDOWS_PREFIX="$prefix" \
        -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$prefix" \
        -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
        -DBUILD_SHARED_LIBS=ON \
        -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF -DQT_BUILD_BENCHMARKS=OFF \
        -DFEATURE_sql=OFF -DFEATURE_network=OFF -DFEATURE_dbus=OFF -DFEATURE_xml=OFF \
        -DFEATURE_concurrent=OFF -DFEATURE_opengl=OFF -DFEATURE_vulkan=OFF \
        -DFEATURE_dynamicgl=OFF \
        -DFEATURE_direct2d=OFF -DFEATURE_direct2d1_1=OFF \
        -DFEATURE_graphicsview=OFF \
        -DFEATURE_androiddeployqt=OFF \
        -DFEATURE_tabletevent=OFF \
        -DFEATURE_zstd=OFF -DFEATURE_icu=OFF -DFEATURE_glib=OFF \
        -DFEATURE_system_zlib=OFF -DFEATURE_system_pcre2=OFF -DFEATURE_system_harfbuzz=OFF \
        -DFEATURE_system_png=OFF -DFEATURE_system_jpeg=OFF -DFEATURE_system_freetype=OFF \
        -DFEATURE_system_doubleconversion=OFF
    "${nice[@]}" cmake --build qtbase-build -j"$jobs"
    cmake --install qtbase-build
}

lib_steps=(openssl sqlcipher libjpeg_turbo libpq pcre2 libffi intl glib mdbtools)
if [ $# -gt 0 ]; then
    # Named libraries only (after removing work/.done-NAME to build one again);
    # the prefix is stamped by a run of the whole chain.
    say "Windows libraries: building $* into $prefix"
    for s in "$@"; do step "$s"; done
    relocatable_pc
    echo "$prefix"
    exit 0
fi

say "Windows libraries: building into $prefix"
started=$SECONDS
# Qt needs nothing from the other libraries and is two thirds of the work:
# it builds beside them, so that the cores are busy while a library's
# configure script runs on one. Its -j$jobs and theirs -j1 keep the machine at
# about one job more than it has cores. Job control gives Qt's build a process
# group of its own, so a failure on either side ends the other at once.
set -m
step qt &
qt_job=$!
set +m
trap 'kill -TERM -- -"$qt_job" 2>/dev/null' EXIT
lib_jobs=$jobs
[ -f "$work/.done-qt" ] || lib_jobs=1
for s in "${lib_steps[@]}"; do jobs=$lib_jobs step "$s"; done
wait "$qt_job" || exit 1
trap - EXIT
relocatable_pc
# This run's libraries together (those built before are not counted).
cpu=$(times | awk 'NR == 2 { for (i = 1; i <= 2; i++) { split($i, t, /[ms]/); s += t[1] * 60 + t[2] } printf "%.0f", s }')
printf 'all (this run) wall %d s, user+sys %s s\n' $((SECONDS - started)) "$cpu" | tee -a "$logs/times.txt" | sed 's/^/  /' >&2

if [ "${ORVELLA_WINDOWS_NO_SMOKE:-}" != 1 ]; then
    say "  smoke check (log: $logs/smoke.log)"
    if ! bash "$here/smoke.sh" "$prefix" >"$logs/smoke.log" 2>&1; then
        say "  smoke check FAILED; the end of $logs/smoke.log:"
        tail -n 40 "$logs/smoke.log" >&2
        exit 1
    fi
    grep '^smoke:' "$logs/smoke.log" >&2 || true
fi

date -u +%FT%TZ >"$stamp"
say "Windows libraries: ready in $prefix"
echo "$prefix"
