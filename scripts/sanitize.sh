#!/bin/bash
# Runs the logic tests and the level tool's tests under AddressSanitizer (leaks included) and
# UndefinedBehaviorSanitizer in build-asan, then the timer tests under
# ThreadSanitizer in build-tsan. Any finding fails the run.
#   scripts/sanitize.sh            both
#   scripts/sanitize.sh asan|tsan  one of them
# SKIFF_SOAK_STEPS lengthens the soak game played in the AddressSanitizer run.
set -e
root=$(cd "$(dirname "$0")/.." && pwd)
which=${1:-all}

common="-fno-omit-frame-pointer -fno-sanitize-recover=all"

build() {
    local dir=$1 flags=$2
    shift 2
    # Fortified calls would hide overflows from the sanitizers.
    cmake -S "$root" -B "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DSKIFF_TESTS=ON -DSKIFF_HARDENING=OFF \
        -DCMAKE_CXX_FLAGS="$flags $common" -DCMAKE_EXE_LINKER_FLAGS="$flags" > /dev/null
    cmake --build "$dir" -j2 --target skiff_tests "$@" > "$dir/build.log" 2>&1 || { tail -n 30 "$dir/build.log"; return 1; }
}

if [ "$which" = all ] || [ "$which" = asan ]; then
    build "$root/build-asan" "-fsanitize=address,undefined" --target skiff_level_tests
    # allocator_may_return_null: Allegro asks malloc for absurd sizes on pictures whose
    # headers lie and copes with null, as it gets it outside the sanitizer.
    (cd "$root/build-asan/tests" &&
        ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:strict_string_checks=1:allocator_may_return_null=1 \
        UBSAN_OPTIONS=print_stacktrace=1 \
        ./skiff_tests --gtest_brief=1 && ./skiff_level_tests --gtest_brief=1)
    echo "sanitize: AddressSanitizer and UndefinedBehaviorSanitizer found nothing"
fi

if [ "$which" = all ] || [ "$which" = tsan ]; then
    build "$root/build-tsan" "-fsanitize=thread"
    (cd "$root/build-tsan/tests" &&
        TSAN_OPTIONS=halt_on_error=1:second_deadlock_stack=1 \
        ./skiff_tests --gtest_brief=1 --gtest_filter='TimerCounters.*')
    echo "sanitize: ThreadSanitizer found nothing"
fi
