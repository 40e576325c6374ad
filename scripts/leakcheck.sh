#!/usr/bin/env bash
# Leak check: builds the light variant (QTextBrowser panel) with AddressSanitizer and
# UndefinedBehaviorSanitizer in its own build folder and runs the whole CTest suite with
# leak detection on. Leaks that the libraries below us keep for the life of the process
# (Qt's caches, fontconfig, glib, X and Mesa) are suppressed by tests/lsan.supp; a canary
# that leaks from inside a Qt slot proves first that the suppressions do not also hide
# leaks of our own code. Prints the build and run times and every leak report frame
# that lies in our sources.
#
# Settings (environment):
#   BUILD_DIR   build folder (default: <project>/build-leak)
#   BUILD_TYPE  CMake build type (default Debug)
#   JOBS        parallel compile jobs and tests (default 2)
#   CC, CXX     compiler for a fresh build folder (gcc or clang)
#   NO_BUILD=1  run the suite on what is built
#   CTEST_ARGS  extra ctest arguments, e.g. "-R tst_exporter"
set -uo pipefail

SRC="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
BUILD_DIR="${BUILD_DIR:-$SRC/build-leak}"
BUILD_TYPE="${BUILD_TYPE:-Debug}"
JOBS="${JOBS:-2}"
SUPPRESSIONS="$SRC/tests/lsan.supp"
LOG="$BUILD_DIR/leakcheck.log"

build_seconds=0
build_failed=0
if [[ -z "${NO_BUILD:-}" ]]; then
    started=$(date +%s)
    generator=()
    [[ -f "$BUILD_DIR/CMakeCache.txt" ]] || generator=(-G Ninja)
    cmake -S "$SRC" -B "$BUILD_DIR" "${generator[@]}" -DCMAKE_BUILD_TYPE="$BUILD_TYPE" \
        -DQUILLET_WEBENGINE=OFF -DQUILLET_SANITIZE=ON -DQUILLET_TESTS=ON -DQUILLET_BENCH=OFF \
        -DQUILLET_FUZZ=OFF >/dev/null || exit 1
    # Keep going past a target that does not link: CTest reports its tests as not run.
    keep_going=()
    grep -q '^CMAKE_GENERATOR:INTERNAL=Ninja$' "$BUILD_DIR/CMakeCache.txt" && keep_going=(-- -k 0)
    if ! cmake --build "$BUILD_DIR" -j "$JOBS" "${keep_going[@]}" >"$BUILD_DIR/leakcheck-build.log" 2>&1; then
        grep -A3 '^FAILED' "$BUILD_DIR/leakcheck-build.log" | head -n 20
        echo "leakcheck: some targets did not build, see $BUILD_DIR/leakcheck-build.log"
        build_failed=1
    fi
    build_seconds=$(($(date +%s) - started))
fi

# Full stacks: Qt and the system libraries have no frame pointers, and a leak report cut
# short names neither its owner nor a place in our code.
export ASAN_OPTIONS="detect_leaks=1:fast_unwind_on_malloc=0:abort_on_error=0"
export LSAN_OPTIONS="suppressions=$SUPPRESSIONS:print_suppressions=1"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"

# The canary: a leak made by "our" code inside a slot, under the event loop, next to fonts
# and a painted widget, must still be reported with the suppressions in force.
canary_dir="$BUILD_DIR/leak-canary"
mkdir -p "$canary_dir"
cat >"$canary_dir/canary.cpp" <<'EOF'
#include <QApplication>
#include <QLabel>
#include <QTimer>
static int *volatile kept;
void ourLeakyHandler() { kept = new int[7]; kept = nullptr; }
int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QLabel label(QStringLiteral("canary"));
    label.show();
    QTimer::singleShot(0, &app, [] { ourLeakyHandler(); QCoreApplication::quit(); });
    return QApplication::exec();
}
EOF
compiler="${CXX:-c++}"
if ! "$compiler" -std=c++20 -g -fPIC -fsanitize=address -fno-omit-frame-pointer "$canary_dir/canary.cpp" \
    -o "$canary_dir/canary" $(pkg-config --cflags --libs Qt6Widgets) 2>"$canary_dir/build.log"; then
    echo "leakcheck: the canary did not build, see $canary_dir/build.log"
    exit 1
fi
QT_QPA_PLATFORM=offscreen "$canary_dir/canary" >"$canary_dir/run.log" 2>&1
if ! grep -q 'ourLeakyHandler' "$canary_dir/run.log"; then
    echo "leakcheck: tests/lsan.supp hides a leak of our own code (the canary was not reported)"
    cat "$canary_dir/run.log"
    exit 1
fi
echo "canary: reported, the suppressions leave our code visible"

started=$(date +%s)
# shellcheck disable=SC2086
ctest --test-dir "$BUILD_DIR" --output-on-failure -j "$JOBS" --timeout 900 ${CTEST_ARGS:-} >"$LOG" 2>&1
ctest_code=$?
run_seconds=$(($(date +%s) - started))

leaking_tests=$(awk '
    /^ *[0-9]+\/[0-9]+ Test +#[0-9]+: / { test = $4 }
    /Start +[0-9]+: / { }
    /ERROR: LeakSanitizer: detected memory leaks/ { leaks[test] = 1 }
    END { for (t in leaks) print t }' "$LOG" | sort)
# For each leaked object, the innermost stack frame in our sources (generated code in the
# build tree aside): the place that made the allocation, or the nearest caller of ours.
our_frames=$(awk -v src="$SRC/" -v build="$BUILD_DIR/" '
    /^(Direct|Indirect) leak of / { inleak = 1; found = 0; next }
    /^ *$/ || /^SUMMARY: / { inleak = 0 }
    inleak && !found && / #[0-9]+ 0x/ && index($0, src) && !index($0, build) {
        found = 1; sub(/^.* in /, ""); print
    }' "$LOG" | sort | uniq -c | sort -rn)

echo "build: ${build_seconds} s (${BUILD_TYPE}, ${JOBS} jobs); suite: ${run_seconds} s; ctest exit ${ctest_code}"
grep -E '^[0-9]+% tests passed|^The following tests FAILED' -A 40 "$LOG" | grep -vE '^(Errors while running|$)'
if [[ -z "$leaking_tests" ]]; then
    echo "leaks: none reported"
else
    echo "leaks reported by: $(echo $leaking_tests)"
    if [[ -n "$our_frames" ]]; then
        echo "innermost frames in our sources (leaked objects, function and place):"
        echo "$our_frames"
    else
        echo "no frame of those reports lies in our sources"
    fi
fi
echo "full log: $LOG"
[[ $build_failed -eq 1 ]] && echo "build: incomplete, see $BUILD_DIR/leakcheck-build.log"
[[ $ctest_code -eq 0 && $build_failed -eq 0 ]]
