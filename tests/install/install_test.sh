#!/bin/sh
# Installs the build into a scratch prefix, checks the layout, builds the C
# consumer against it through pkg-config and through find_package(Korvex),
# and converts a drawing with each and with the installed korvexcmd.
# Usage: install_test.sh <build dir> <source dir>
set -eu
build=$(cd "$1" && pwd)
source=$(cd "$2" && pwd)
scratch=$(mktemp -d "${TMPDIR:-/tmp}/kxinstall-XXXXXX")
trap 'rm -rf "$scratch"' EXIT
prefix=$scratch/prefix
drawing=$source/examples/plan.dxf

fail() { echo "install test: $*" >&2; exit 1; }

cmake --install "$build" --prefix "$prefix" >/dev/null
libdir=$(cd "$prefix" && ls -d lib*/libkxcore.so.1 | sed 's,/libkxcore.so.1$,,')
[ -n "$libdir" ] || fail "no libkxcore.so.1 in a library directory"
for f in bin/korvexcmd bin/kxrender bin/kxpdbinfo "$libdir/libkxcore.so" \
         "$libdir/libkxplatform.so" "$libdir/korvex/libdxfin.so" include/korvex/kxcore.h \
         "$libdir/pkgconfig/korvex.pc" "$libdir/cmake/Korvex/KorvexConfig.cmake"; do
    [ -e "$prefix/$f" ] || fail "$f is not installed"
done
[ -d "$prefix/share/korvex/Resources" ] || fail "share/korvex/Resources is not installed"
readelf -d "$prefix/$libdir/libkxcore.so.1" | grep -q 'SONAME.*libkxcore.so.1' ||
    fail "libkxcore.so.1 has no SONAME libkxcore.so.1"

flags="-std=c99 -Wall -Wextra -pedantic -Werror"
PKG_CONFIG_PATH=$prefix/$libdir/pkgconfig
export PKG_CONFIG_PATH
# shellcheck disable=SC2046,SC2086
cc $flags "$source/tests/install/consumer.c" -o "$scratch/consumer-pc" \
    $(pkg-config --cflags --libs korvex) -Wl,-rpath,"$prefix/$libdir"
"$scratch/consumer-pc" "$drawing" "$scratch/pc.pdb" || fail "pkg-config consumer did not convert"
[ -s "$scratch/pc.pdb" ] || fail "pkg-config consumer wrote nothing"

# Every public header stands alone in C and C++ and leaves the Windows names
# free for the including program.
for header in "$prefix"/include/korvex/*.h; do
    name=$(basename "$header")
    printf '#include <korvex/%s>\ntypedef char BOOL; typedef char DWORD; typedef char HANDLE;\ntypedef char COLORREF; typedef char RECT; typedef char HDC; typedef char HWND;\n#define TRUE 7\n#define FALSE 8\n#define RGB 9\nint main(void) { return 0; }\n' \
        "$name" >"$scratch/alone.c"
    cc $flags -I"$prefix/include" -c "$scratch/alone.c" -o "$scratch/alone.o" ||
        fail "$name does not stand alone in C"
    c++ -std=c++17 -Wall -Wextra -pedantic -Werror -x c++ -I"$prefix/include" -c "$scratch/alone.c" \
        -o "$scratch/alone.o" || fail "$name does not stand alone in C++"
done

mkdir "$scratch/cmake"
cat >"$scratch/cmake/CMakeLists.txt" <<CMAKE
cmake_minimum_required(VERSION 3.20)
project(consumer C)
find_package(Korvex 1.0 REQUIRED)
add_executable(consumer "$source/tests/install/consumer.c")
set_target_properties(consumer PROPERTIES C_STANDARD 99 C_EXTENSIONS OFF)
target_compile_options(consumer PRIVATE -Wall -Wextra -pedantic -Werror)
target_link_libraries(consumer PRIVATE Korvex::kxcore)
CMAKE
env -u CMAKE_C_COMPILER_LAUNCHER cmake -S "$scratch/cmake" -B "$scratch/cmake/build" \
    -DCMAKE_PREFIX_PATH="$prefix" >/dev/null
cmake --build "$scratch/cmake/build" >/dev/null
"$scratch/cmake/build/consumer" "$drawing" "$scratch/cm.pdb" || fail "CMake consumer did not convert"
[ -s "$scratch/cm.pdb" ] || fail "CMake consumer wrote nothing"

mkdir "$scratch/work"
(cd "$scratch/work" && "$prefix/bin/korvexcmd" -nologo -o:"$scratch/out" "$drawing" >/dev/null) ||
    fail "installed korvexcmd failed"
[ -s "$scratch/out/plan(p0).pdb" ] || fail "installed korvexcmd wrote nothing into -o:"
# The installed engine finds its font in share/korvex/Resources: the text of
# the drawing is there as text lines with a glyph table.
"$prefix/bin/kxpdbinfo" "$scratch/out/plan(p0).pdb" | grep -q "text line:" ||
    fail "the installed engine drew no text (font not found)"
"$prefix/bin/korvexcmd" --version >/dev/null || fail "installed korvexcmd --version failed"
# An ordinary user, who cannot write bin/: settings and log in the XDG
# directory, drawings into ./cnvrt and into -o:. Root arranges it with setpriv.
as_user=
if [ "$(id -u)" = 0 ]; then
    command -v setpriv >/dev/null && as_user="setpriv --reuid=65534 --regid=65534 --clear-groups"
fi
if [ "$(id -u)" != 0 ] || [ -n "$as_user" ]; then
    chmod 755 "$scratch"
    chmod -R a+rX "$prefix" && chmod -R a-w "$prefix"
    user=$scratch/user
    mkdir -p "$user/config" && cp "$drawing" "$user/plan.dxf" && chmod -R 777 "$user"
    (cd "$user" && XDG_CONFIG_HOME="$user/config" $as_user "$prefix/bin/korvexcmd" -nologo plan.dxf \
        >"$user/console.txt") || fail "installed korvexcmd as a user: $(cat "$user/console.txt")"
    grep -q "^Settings and log: $user/config/korvex/\$" "$user/console.txt" ||
        fail "the settings' place is not reported"
    [ -s "$user/cnvrt/plan(p0).pdb" ] || fail "nothing converted into ./cnvrt"
    [ -f "$user/config/korvex/korvex.ini" ] || fail "no settings in the XDG directory"
    (cd "$user" && XDG_CONFIG_HOME="$user/config" $as_user "$prefix/bin/korvexcmd" -nologo \
        -o:"$user/out" plan.dxf >/dev/null) || fail "installed korvexcmd -o: as a user"
    [ -s "$user/out/plan(p0).pdb" ] || fail "nothing converted into -o:"
    chmod -R u+w "$prefix"
else
    echo "install test: root without setpriv, the ordinary user's run is left out"
fi

for tool in korvexcmd kxrender kxpdbinfo; do
    "$prefix/bin/$tool" --version | grep -q "^$tool (Korvex) " || fail "$tool --version"
    "$prefix/bin/$tool" --help >/dev/null || fail "$tool --help"
done
json=$("$prefix/bin/kxpdbinfo" --json "$scratch/out/plan(p0).pdb") || fail "kxpdbinfo --json failed"
case $json in
    '{"file":'*'"layers":['*'"entitiesByKind":{'*'}}') ;;
    *) fail "kxpdbinfo --json: $json" ;;
esac
status=0
"$prefix/bin/kxpdbinfo" --bogus x.pdb 2>/dev/null || status=$?
[ "$status" = 2 ] || fail "kxpdbinfo with an unknown option exits $status, not 2"
echo "install test: passed"
