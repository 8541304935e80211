#!/usr/bin/env bash
# Compiles the module's sources for Windows, syntax only, with MinGW-w64 GCC and with clang
# targeting MinGW, as many at once as there are cores. Fails on any error.
#   compile_check.sh <folder> <list> <mingw g++> <clang++>
# <list> (in <folder>) has one "<response file><tab><source>" line per source; the response
# file holds the source's include folders and definitions.
set -uo pipefail
dir=$1 list=$2
export mingw=$3 clang=$4
for compiler in "$mingw" "$clang"; do
    case "$compiler" in
    "" | *-NOTFOUND)
        echo "No compiler for Windows found (MinGW-w64 g++ and clang++): run scripts/bootstrap" >&2
        exit 1
        ;;
    esac
done
cd "$dir" || exit 1

# Clang does not find the C++ library of Debian's MinGW-w64 GCC by itself (its folder is named
# "12-posix", no version clang recognises) and would search the host's /usr/include: it gets
# GCC's C++ and Windows folders, with its own built-in headers between them.
cxx_dirs=() windows_dirs=()
while read -r folder; do
    folder=$(readlink -f "$folder")
    case "$folder" in
    */include/c++*) cxx_dirs+=(-isystem "$folder") ;;
    */lib/gcc/*) ;;   # GCC's own built-in headers
    *) windows_dirs+=(-isystem "$folder") ;;
    esac
done < <("$mingw" -xc++ -E -v /dev/null 2>&1 | sed -n '/<\.\.\.> search starts/,/End of search/{/^ /p}')
export clang_flags="--target=x86_64-w64-windows-gnu -nostdinc ${cxx_dirs[*]} -isystem $("$clang" -print-resource-dir)/include ${windows_dirs[*]}"
rm -rf logs && mkdir logs

compile() {
    local name=$1 rsp=$2 source=$3 log=logs/$1-${2%.rsp}-${3##*/}.log
    local command=("$mingw")
    # shellcheck disable=SC2206 # folders without spaces, split on purpose
    [ "$name" = clang ] && command=("$clang" $clang_flags)
    # UNICODE and friends as Qt's own build for MinGW defines them.
    if ! "${command[@]}" -std=c++17 -fsyntax-only -Wall -Wextra -DUNICODE -D_UNICODE -DWIN32 \
            -DMINGW_HAS_SECURE_API=1 "@$rsp" "$source" >"$log" 2>&1; then
        printf 'FAILED with %s: %s\n%s\n' "$name" "$source" "$(cat "$log")"
        return 1
    fi
    [ -s "$log" ] && printf 'warnings from %s: %s\n%s\n' "$name" "$source" "$(cat "$log")"
    return 0
}
export -f compile

start=$SECONDS
count=0
while IFS=$'\t' read -r rsp source; do
    [ -n "$source" ] || continue
    count=$((count + 1))
    printf '%s\0' mingw-gcc "$rsp" "$source" clang "$rsp" "$source"
done <"$list" >jobs
# xargs exits non-zero when any compile failed.
xargs -0 -n 3 -P "$(nproc)" bash -c 'compile "$@"' _ <jobs
status=$?
echo "$count sources, each with MinGW-w64 g++ $("$mingw" -dumpversion) and clang $("$clang" -dumpversion), in $((SECONDS - start)) s"
[ "$status" -eq 0 ] || { echo "Windows compile check failed" >&2; exit 1; }
[ "$count" -gt 0 ] || { echo "No sources listed in $list" >&2; exit 1; }
echo "Windows compile check passed"
