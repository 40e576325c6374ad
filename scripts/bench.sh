#!/usr/bin/env bash
# Builds the benchmarks in release mode in their own build folder, runs every bench_*
# program and prints one table: each figure beside the reference it is compared to,
# both measured in the same run. A bench program that is missing or fails gets a row
# saying so; the others still run. Raw outputs stay in $BUILD_DIR/bench-results/.
# Exit code 1 when a benchmark failed (the soak fails when memory grows past its limit).
#
# Settings (environment):
#   BUILD_DIR     build folder (default: <project>/build-bench)
#   JOBS          parallel compile jobs (default 2)
#   WEBENGINE     ON|OFF, build the browser panel's web-engine module (default ON); the
#                 start-up bench then also shows a web page loaded in it
#   RUNS          start-up runs per variant, the median is shown (default 5)
#   SOAK_EXPORTS  exports in the soak run (default 1000)
#   SKIP          space-separated bench names not to run, e.g. "soak"
#   NO_BUILD=1    run what is built, do not configure or build
#   VERBOSE=1     print every program's raw output after the table
set -uo pipefail

SRC="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
BUILD_DIR="${BUILD_DIR:-$SRC/build-bench}"
JOBS="${JOBS:-2}"
WEBENGINE="${WEBENGINE:-ON}"
RUNS="${RUNS:-5}"
SOAK_EXPORTS="${SOAK_EXPORTS:-1000}"
SKIP="${SKIP:-}"
BIN="$BUILD_DIR/bin"
RESULTS="$BUILD_DIR/bench-results"
TABLE="$RESULTS/table.tsv"
BENCH_TIMEOUT=3600
# The benchmarks every run should show, in table order; others found in bin/ follow.
EXPECTED=(startup export encode catalogue preview render icons soak hostile kit)

if [[ -z "${NO_BUILD:-}" ]]; then
    generator=()
    [[ -f "$BUILD_DIR/CMakeCache.txt" ]] || generator=(-G Ninja)
    build_start=$(date +%s)
    cmake -S "$SRC" -B "$BUILD_DIR" "${generator[@]}" -DCMAKE_BUILD_TYPE=Release \
        -DQUILLET_BENCH=ON -DQUILLET_TESTS=OFF -DQUILLET_FUZZ=OFF -DQUILLET_SANITIZE=OFF \
        -DQUILLET_WEBENGINE="$WEBENGINE" >/dev/null || exit 1
    # Keep going past a bench that does not compile: the table reports it as missing.
    keep_going=()
    grep -q '^CMAKE_GENERATOR:INTERNAL=Ninja$' "$BUILD_DIR/CMakeCache.txt" && keep_going=(-- -k 0)
    cmake --build "$BUILD_DIR" -j "$JOBS" "${keep_going[@]}" >"$BUILD_DIR/bench-build.log" 2>&1 ||
        echo "build: some targets failed, see $BUILD_DIR/bench-build.log" >&2
    echo "build: $(($(date +%s) - build_start)) s" >&2
fi

mkdir -p "$RESULTS"
: >"$TABLE"

# As the test suite runs them: a program that loads the web-engine module needs the
# sandbox off as root and no GPU under Xvfb or offscreen.
export QTWEBENGINE_DISABLE_SANDBOX=1
export QTWEBENGINE_CHROMIUM_FLAGS="${QTWEBENGINE_CHROMIUM_FLAGS:---disable-gpu}"
export QT_FONT_DPI="${QT_FONT_DPI:-96}"

# The start-up reference: a bare window linked with Qt Widgets alone, since bench_startup
# itself carries the whole program's libraries. It speaks bench_startup's child protocol.
BARE="$BUILD_DIR/bare-window/bare_window"
build_bare_window() {
    mkdir -p "${BARE%/*}"
    cat >"$BARE.cpp" <<'EOF'
#include <QApplication>
#include <QSocketNotifier>
#include <QTimer>
#include <QWidget>
#include <chrono>
#include <cstdio>
#include <unistd.h>

static void say(const char *what)
{
    const auto now = std::chrono::steady_clock::now().time_since_epoch();
    std::printf("%s %lld\n", what, static_cast<long long>(std::chrono::nanoseconds(now).count()));
    std::fflush(stdout);
}

class Window : public QWidget
{
protected:
    bool event(QEvent *event) override
    {
        if (event->type() == QEvent::Paint && !m_shown) {
            m_shown = true;
            say("shown");
            QTimer::singleShot(1500, this, [] { say("ready"); });
        }
        return QWidget::event(event);
    }

private:
    bool m_shown = false;
};

int main(int argc, char **argv)
{
    QApplication application(argc, argv);
    Window window;
    window.resize(800, 570);
    QSocketNotifier input(STDIN_FILENO, QSocketNotifier::Read);
    QObject::connect(&input, &QSocketNotifier::activated, &application, [&input] {
        input.setEnabled(false);
        QCoreApplication::quit();
    });
    QTimer::singleShot(90000, &application, [] { QCoreApplication::exit(2); });
    window.show();
    return QApplication::exec();
}
EOF
    "${CXX:-c++}" -std=c++20 -O2 -fPIC "$BARE.cpp" -o "$BARE" $(pkg-config --cflags --libs Qt6Widgets) \
        2>"$BARE.log"
}

row() { # figure, value with unit, reference
    printf '%s\t%s\t%s\n' "$1" "$2" "$3" >>"$TABLE"
}

skipped() {
    [[ " $SKIP " == *" $1 "* ]]
}

# Runs one bench program; its stdout goes to $RESULTS/<name>.txt. Returns its exit code.
run_bench() {
    local name="$1"
    shift
    local started
    started=$(date +%s)
    echo "running bench_$name ..." >&2
    timeout "$BENCH_TIMEOUT" "$@" >"$RESULTS/$name.txt" 2>"$RESULTS/$name.err"
    local code=$?
    echo "bench_$name: exit $code after $(($(date +%s) - started)) s" >&2
    return $code
}

# Rows a program printed itself as "figure<TAB>value<TAB>unit<TAB>reference".
take_rows() {
    awk -F'\t' 'NF == 4 { printf "%s\t%s %s\t%s\n", $1, $2, $3, $4 }' "$RESULTS/$1.txt" >>"$TABLE"
}

parse_export() {
    awk '
        /capture alone/ { for (i = 1; i <= NF; ++i) if ($i == "alone") capture = $(i + 1) }
        ($1 == "BMP" || $1 == "JPG" || $1 == "GIF" || $1 == "PNG") && NF >= 7 {
            qt = ($4 == "-") ? "Qt has no writer" : "Qt save " $4 " ms"
            printf "full export, %s (11 images)\t%s ms\tencode+write alone %s ms, %s; capture alone %s ms\n",
                $1, $2, $3, qt, capture
            if ($1 == "GIF" || $1 == "PNG") {
                tool = ($1 == "GIF") ? "gifsicle -O3" : "zopflipng"
                if ($7 != "-" && $7 > 0)
                    ref = sprintf("%s %s B (ours %+.1f%%)", tool, $7, ($5 - $7) * 100 / $7)
                else
                    ref = tool " not available"
                printf "exported bytes, %s (11 images)\t%s B\t%s\n", $1, $5, ref
            }
        }' "$RESULTS/export.txt" >>"$TABLE"
}

parse_encode() {
    awk '
        ($3 == "png" || $3 == "gif") && NF >= 9 {
            tool = ($3 == "gif") ? "gifsicle -O3" : "zopflipng -m"
            timing = ($3 == "png") ? sprintf("; encode %s ms, Qt %s ms", $5, $6) : sprintf("; encode %s ms", $5)
            if ($9 > 0)
                ref = sprintf("%s %s B (ours %+.1f%%)", tool, $9, ($7 - $9) * 100 / $9)
            else
                ref = tool " not available"
            printf "encoded bytes, %s, %s %s\t%s B\t%s%s\n", toupper($3), $1, $2, $7, ref, timing
        }' "$RESULTS/encode.txt" >>"$TABLE"
}

parse_catalogue() {
    awk '
        /skin files/ { count = $1 }
        ($1 == "ascending" || $1 == "descending" || $1 == "shuffled") && NF >= 5 {
            printf "catalogue fill+sort, %s skins, %s\t%s ms\tsort alone %s ms; target under 1000 ms\n",
                count, $1, $3, $2
        }' "$RESULTS/catalogue.txt" >>"$TABLE"
}

parse_preview() {
    awk '
        /fixed waits/ { for (i = 1; i <= NF; ++i) if ($i == "waits") { off = $(i + 1); on = $(i + 3) } }
        $1 == "mean" && $2 == "of" && $3 == "skins" { meanOff = $4; meanOn = $5 }
        $1 == "best" && $2 == "of" && $3 == "all" { bestOff = $4; bestOn = $5 }
        END {
            if (meanOff == "") exit
            gsub(/[^0-9.]/, "", off); gsub(/[^0-9.]/, "", on)
            printf "ComposePreview beyond its fixed waits, border removal off\t%s ms\tmean over the shipped skins; best %s ms; fixed waits %s ms\n",
                meanOff, bestOff, off
            printf "ComposePreview beyond its fixed waits, border removal on\t%s ms\tmean over the shipped skins; best %s ms; fixed waits %s ms\n",
                meanOn, bestOn, on
        }' "$RESULTS/preview.txt" >>"$TABLE"
}

# Runs and reports one benchmark by name.
bench() {
    local name="$1"
    local program="$BIN/bench_$name"
    if skipped "$name"; then
        row "bench_$name" "skipped" "SKIP=\"$SKIP\""
        return
    fi
    if [[ ! -x "$program" ]]; then
        row "bench_$name" "missing" "not built (no bench/bench_$name.cpp, or it did not compile)"
        return
    fi
    local code=0
    case "$name" in
    startup)
        local bare=()
        if build_bare_window; then
            bare=(--bare-program "$BARE")
        else
            row "bare Qt window (reference)" "not built" "see $BARE.log; the same-binary bare window is used"
        fi
        if command -v xvfb-run >/dev/null; then
            run_bench "$name" env QT_QPA_PLATFORM=xcb xvfb-run -a -s "-screen 0 1280x1024x24" \
                "$program" --runs "$RUNS" "${bare[@]}" || code=$?
        else
            run_bench "$name" "$program" --runs "$RUNS" "${bare[@]}" || code=$?
        fi
        ;;
    soak)
        run_bench "$name" env QT_QPA_PLATFORM=offscreen "$program" --exports "$SOAK_EXPORTS" || code=$?
        ;;
    *)
        run_bench "$name" env QT_QPA_PLATFORM=offscreen "$program" || code=$?
        ;;
    esac
    local before
    before=$(wc -l <"$TABLE")
    case "$name" in
    startup | soak | render | hostile | kit) take_rows "$name" ;;
    export) parse_export ;;
    encode) parse_encode ;;
    catalogue) parse_catalogue ;;
    preview) parse_preview ;;
    *) row "bench_$name" "ran" "output not summarised: $RESULTS/$name.txt" ;;
    esac
    if [[ $code -ne 0 ]]; then
        local why="exit code $code"
        [[ $code -eq 124 ]] && why="timed out after $BENCH_TIMEOUT s"
        row "bench_$name" "FAILED" "$why; see $RESULTS/$name.err"
        failures=$((failures + 1))
    elif [[ $(wc -l <"$TABLE") -eq $before ]]; then
        row "bench_$name" "no figures" "output not recognised: $RESULTS/$name.txt"
    fi
}

failures=0
for name in "${EXPECTED[@]}"; do
    bench "$name"
done
shopt -s nullglob
for program in "$BIN"/bench_*; do
    name="${program##*/bench_}"
    [[ " ${EXPECTED[*]} " == *" $name "* ]] || bench "$name"
done

echo
webengine=$(sed -n 's/^QUILLET_WEBENGINE:BOOL=//p' "$BUILD_DIR/CMakeCache.txt" 2>/dev/null)
echo "Quillet benchmarks, $(date '+%Y-%m-%d %H:%M'), $(uname -m), WebEngine build: ${webengine:-unknown}"
awk -F'\t' '
    { figure[NR] = $1; value[NR] = $2; reference[NR] = $3
      if (length($1) > w1) w1 = length($1); if (length($2) > w2) w2 = length($2) }
    END {
        printf "%-*s  %*s  %s\n", w1, "figure", w2, "value", "reference (same run)"
        line = ""; for (i = 0; i < w1 + w2 + 24; ++i) line = line "-"
        print line
        for (i = 1; i <= NR; ++i) printf "%-*s  %*s  %s\n", w1, figure[i], w2, value[i], reference[i]
    }' "$TABLE"
echo
echo "raw outputs: $RESULTS/"

if [[ -n "${VERBOSE:-}" ]]; then
    for file in "$RESULTS"/*.txt; do
        echo
        echo "== ${file##*/}"
        cat "$file"
    done
fi
[[ $failures -eq 0 ]]
