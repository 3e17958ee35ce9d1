#!/bin/bash
# Builds the fuzz targets with clang and runs each for the given number of seconds
# (20 by default), starting from the seeds in fuzz/corpus/<target>/. Fails on the
# first crash, hang, leak or sanitizer finding; the input that caused it is kept
# in build-fuzz/artifacts/. The long run: fuzz/run.sh 3600
set -e
seconds=${1:-20}
here=$(cd "$(dirname "$0")" && pwd)
root=$(dirname "$here")
build=${SKIFF_FUZZ_BUILD:-$root/build-fuzz}

# A build tree made when the fuzz targets were a project of their own is made afresh.
if [ -f "$build/CMakeCache.txt" ] && ! grep -qx "CMAKE_HOME_DIRECTORY:INTERNAL=$root" "$build/CMakeCache.txt"; then
    rm -rf "$build"
fi
# Fortified calls would hide overflows from the sanitizers.
CC=clang CXX=clang++ cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DSKIFF_FUZZ=ON \
    -DSKIFF_TESTS=OFF -DSKIFF_HARDENING=OFF > /dev/null
cmake --build "$build" -j2 --target fuzz > /dev/null

mkdir -p "$build/artifacts" "$build/logs"
status=0
for target in level_description alien_defs mask_overlap datafile_check picture_check png_picture map_readers; do
    work="$build/corpus/$target"
    mkdir -p "$work"
    log="$build/logs/$target.log"
    # A level's time goes on the tiles its blocks cut, up to 256 a block. 256 bytes hold a title and up
    # to a dozen blocks and reached the same coverage in the same time as inputs grown to 1 KB, 4 KB or
    # the shipped level's 22 KB seed, which only repeat blocks and run two to four times slower.
    limit=""
    [ "$target" = level_description ] && limit=-max_len=256
    # The working corpus grows in the build tree; the seeds in the source tree stay as written.
    if SKIFF_FUZZ_WORK="$build/work-$target" ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
        "$build/fuzz/fuzz_$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 $limit \
        -print_final_stats=1 -artifact_prefix="$build/artifacts/$target-" \
        "$work" "$here/corpus/$target" > "$log" 2>&1; then
        runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
        echo "fuzz_$target: ${runs:-?} runs in ${seconds} s, no finding"
    else
        echo "fuzz_$target: FAILED, see $log"
        grep -E 'ERROR|SUMMARY|runtime error|Test unit written' "$log" | head -n 10
        status=1
    fi
done
exit $status
