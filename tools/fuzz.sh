#!/bin/sh
# Builds the libFuzzer targets (the fuzz preset, clang), makes their seed corpora
# and runs each target for SECONDS (default 60). Exits non-zero when a target
# finds anything: a crash, an out-of-bounds access, undefined behaviour, a leak,
# a time-out or running out of memory. The corpus grows in the build folder from
# run to run; findings are written to its findings/ folder.
#   tools/fuzz.sh [SECONDS]
# TESSAROO_FUZZ_BUILD names another build folder (default build/fuzz).
set -eu
cd "$(dirname "$0")/.."

seconds=${1:-60}
build=${TESSAROO_FUZZ_BUILD:-build/fuzz}

cmake --preset fuzz -B "$build" >/dev/null
cmake --build "$build" --target fuzz_picture fuzz_wav
python3 fuzz/make-seeds.py "$build/seeds"
mkdir -p "$build/corpus/picture" "$build/corpus/wav" "$build/findings"

# Undefined behaviour stops the run like a crash does; the dummy audio driver
# lets the WAV target load sounds without a sound card.
export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
export ASAN_OPTIONS=detect_leaks=1
export SDL_AUDIODRIVER=dummy

# A tiny header may declare the largest picture the readers accept (128
# megapixels); decoding it whole and scaling it under the sanitizers takes up to
# about a minute and 1 GiB, so the time-out and memory limit sit above that and
# slow inputs are scheduled less often. Inputs stay small: a header is enough to
# declare any size.
run_target() {
    name=$1
    shift
    echo "fuzzing $name for $seconds s"
    # New inputs go to the first folder; the seeds and past findings are read only.
    set -- "$@" "$build/corpus/$name" "$build/seeds/$name"
    [ -d "tests/fixtures/fuzz/$name" ] && set -- "$@" "tests/fixtures/fuzz/$name"
    status=0
    "$build/fuzz/fuzz_$name" -max_total_time="$seconds" -print_final_stats=1 \
        -dict="fuzz/$name.dict" -artifact_prefix="$build/findings/$name-" "$@" \
        >"$build/$name.log" 2>&1 || status=$?
    grep -E '^#[0-9]+[[:space:]]+DONE|^stat::' "$build/$name.log" || true
    if [ "$status" -ne 0 ]; then
        tail -n 60 "$build/$name.log"
        echo "fuzz_$name found a fault (exit $status); the input is in $build/findings/"
        return 1
    fi
}

failed=0
run_target picture -max_len=131072 -rss_limit_mb=3072 -timeout=120 -entropic_scale_per_exec_time=1 || failed=1
run_target wav -max_len=16384 -rss_limit_mb=2048 -timeout=20 || failed=1
exit $failed
